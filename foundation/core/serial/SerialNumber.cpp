#include "SerialNumber.h"

#include "CheckDigit.h"
#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/OneShotWaitCursor.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "settings/Settings.h"
#include "text/KivFunc.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

#include <ibase.h>
#include <iberror.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>

namespace {

constexpr qint64 kSixDigitLimit = 999999;
constexpr qint64 kTenDigitLimit = 9999999999LL;
constexpr qint64 kCounterMax = std::numeric_limits<qint32>::max();
// How long a call keeps retrying while other programs hold the counter row.
constexpr int kRetryBudgetMs = 20000;

int g_retries = 0;

qint64 wrapLimit(int denKetaCD)
{
    switch (denKetaCD) {
    case 1:
    case 2:
        return kSixDigitLimit;
    case 3:
    case 4:
        return kTenDigitLimit;
    default:
        return 0;
    }
}

// A number past the width's limit starts again at 1. Counting on from 1
// (rather than setting every overflowing number to 1) keeps two open
// reservations across the limit apart.
qint64 wrap(qint64 n, int denKetaCD)
{
    const qint64 limit = wrapLimit(denKetaCD);
    if (limit > 0 && n > limit)
        return (n - 1) % limit + 1;
    return n;
}

bool isRetryable(const DbError &e)
{
    // A unique-key violation comes from two first uses of a kind creating
    // its row at the same moment; the retry then finds the row.
    return e.isLockConflict() || e.engineCode() == isc_unique_key_violation ||
           e.engineCode() == isc_no_dup;
}

void rollbackQuietly(Transaction &tr)
{
    try {
        tr.rollback();
    } catch (const DbError &) {
        // The connection is freed next; nothing was committed.
    }
}

// SQLCODE of "Table unknown".
constexpr long kTableUnknown = -204;

bool counterTableMissing(Database &db, Transaction &tr)
{
    try {
        Query q(db, tr);
        q.setSql(QStringList{QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS"),
                             QStringLiteral("WHERE (RDB$SYSTEM_FLAG = 0) AND "
                                            "(TRIM(RDB$RELATION_NAME) = :P0)")});
        q.setParam(QStringLiteral("P0"), QStringLiteral("RENBAN"));
        const bool missing = q.openFirst() && q.value(0).toLongLong() == 0;
        tr.commit();
        return missing;
    } catch (const DbError &) {
        rollbackQuietly(tr);
        return false;
    }
}

struct Draw
{
    qint64 number = 0;
    bool missing = false;
};

// One attempt inside an active transaction; the caller commits.
Draw drawOnce(Database &db, Transaction &tr, int kind, int step, bool commit,
              const QString &heldNumber, int denKetaCD)
{
    {
        Query count(db, tr);
        count.setSql(QStringList{QStringLiteral("SELECT COUNT(*) FROM RENBAN"),
                                 QStringLiteral("WHERE (KUBUN = :P0)")});
        count.setParam(QStringLiteral("P0"), kind);
        if (!count.openFirst() || count.value(0).toLongLong() < 1) {
            Query ins(db, tr);
            ins.setSql(QStringList{QStringLiteral("INSERT INTO RENBAN"),
                                   QStringLiteral("(KUBUN,RENBAN,SCOUNT) VALUES(:P0,0,0)")});
            ins.setParam(QStringLiteral("P0"), kind);
            ins.execute();
        }
    }
    {
        // Takes the row before reading it, so a program that finds it taken
        // waits here and retries at once instead of after all its work.
        Query lock(db, tr);
        lock.setSql(QStringList{QStringLiteral("UPDATE RENBAN SET SCOUNT = SCOUNT"),
                                QStringLiteral("WHERE (KUBUN = :P0)")});
        lock.setParam(QStringLiteral("P0"), kind);
        lock.execute();
    }
    qint64 r = 0;
    qint64 s = 0;
    {
        Query sel(db, tr);
        sel.setSql(QStringList{
            QStringLiteral("SELECT MAX(RENBAN) AS RENMAX,MAX(SCOUNT) AS SMAX FROM RENBAN"),
            QStringLiteral("WHERE (KUBUN = :P0)")});
        sel.setParam(QStringLiteral("P0"), kind);
        if (sel.openFirst()) {
            r = sel.value(QStringLiteral("RENMAX")).toLongLong();
            s = sel.value(QStringLiteral("SMAX")).toLongLong();
        }
    }

    Draw d;
    qint64 newR = r;
    qint64 newS = s;
    bool writeR = commit;
    if (!commit) {
        d.number = wrap(r + step + s, denKetaCD);
        newS = s + 1;
        if (step != 0 && denKetaCD == 3 &&
            IsModulus11MissingNumber(FormatSerialNumber(d.number, 3))) {
            // The missing number counts as used and the reservation takes the
            // number after it, so both stay out of every other reservation.
            d.missing = true;
            newR = wrap(r + 1, denKetaCD);
            writeR = true;
        }
    } else if (step != 0) {
        d.number = wrap(r + step, denKetaCD);
        newR = d.number;
        newS = std::max<qint64>(s - 1, 0);
    } else {
        d.number = r;
        if (s > 0 && !heldNumber.isEmpty()) {
            bool ok = false;
            const qint64 held = ExtractDigits(heldNumber, true).toLongLong(&ok);
            newS = s - 1;
            if (!ok || held != wrap(r + s, denKetaCD)) {
                // A number below the highest one handed out cannot go back:
                // the next reservation would hand out a number another slip
                // holds. It is recorded as used instead.
                newR = wrap(r + 1, denKetaCD);
            }
        }
    }
    if (newR > kCounterMax || newS > kCounterMax || d.number + (d.missing ? 1 : 0) > kCounterMax)
        throw DbError(QStringLiteral("serial number counter beyond its range"));

    Query upd(db, tr);
    if (writeR) {
        upd.setSql(QStringList{QStringLiteral("UPDATE RENBAN"),
                               QStringLiteral("SET RENBAN = :P0,SCOUNT = :P1"),
                               QStringLiteral("WHERE (KUBUN = :P2)")});
        upd.setParam(QStringLiteral("P0"), newR);
        upd.setParam(QStringLiteral("P1"), newS);
        upd.setParam(QStringLiteral("P2"), kind);
    } else {
        upd.setSql(QStringList{QStringLiteral("UPDATE RENBAN"), QStringLiteral("SET SCOUNT = :P0"),
                               QStringLiteral("WHERE (KUBUN = :P1)")});
        upd.setParam(QStringLiteral("P0"), newS);
        upd.setParam(QStringLiteral("P1"), kind);
    }
    upd.execute();
    return d;
}

} // namespace

int SerialNumberRetries()
{
    return g_retries;
}

QString FormatSerialNumber(qint64 number, int denKetaCD)
{
    switch (denKetaCD) {
    case 1:
    case 2:
        return QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0'));
    case 3:
    case 4:
        return QStringLiteral("%1").arg(number, 10, 10, QLatin1Char('0'));
    default:
        return QString::number(number);
    }
}

namespace {

struct CounterConnection
{
    Database db;
    Transaction tr;
};

std::mutex g_counterMutex;
// The connection of a process drawing from a server's counter; never freed,
// the engine's shutdown at the end of the program ends it.
CounterConnection *g_kept = nullptr;

void disconnectQuietly(Database &db)
{
    try {
        db.disconnect();
    } catch (const DbError &) {
        // A lost connection is freed all the same.
    }
}

} // namespace

QString GetSerialNumber(int kind, int step, bool commit, const QString &heldNumber)
{
    const int denKetaCD = settings().DenKetaCD;
    OneShotWaitCursor cursor;
    std::lock_guard guard(g_counterMutex);
    // A server's counter is drawn over a connection the process keeps, since
    // attaching costs more than the draw. A local file is attached per call:
    // the embedded engine lets one process at a time open it, and the
    // print-out program must be able to while the entry program runs.
    const QString path = settings().F_DbPath;
    const bool keep = Database::isServerPath(path);
    std::unique_ptr<CounterConnection> own;
    if (keep && !g_kept)
        g_kept = new CounterConnection;
    if (!keep)
        own = std::make_unique<CounterConnection>();
    CounterConnection &c = keep ? *g_kept : *own;
    Database &db = c.db;
    Transaction &tr = c.tr;
    if (db.connected() && db.params().path != path)
        disconnectQuietly(db);
    if (!db.connected())
        ConnectDatabaseTo(db, tr, path);
    // Only a connection of this call is closed at its end; that never fails
    // the call, the work is committed or rolled back by then.
    struct CloseOwn
    {
        bool close;
        Database &db;
        ~CloseOwn()
        {
            if (close)
                disconnectQuietly(db);
        }
    } closeOwn{!keep, db};

    std::optional<Draw> drawn;
    QElapsedTimer clock;
    clock.start();
    bool reconnected = false;
    for (int attempt = 0; !drawn; ++attempt) {
        Draw d;
        try {
            // The whole wait for a row another program holds stays within
            // the retry limit.
            const qint64 left = kRetryBudgetMs - clock.elapsed();
            tr.setLockTimeout(int(std::max<qint64>(1, (left + 999) / 1000)));
            tr.ensureStarted();
            d = drawOnce(db, tr, kind, step, commit, heldNumber, denKetaCD);
        } catch (const DbError &e) {
            rollbackQuietly(tr);
            // A database without the counter table gives no number; the
            // table is looked for only when a statement could not find it.
            if (e.sqlCode() == kTableUnknown && counterTableMissing(db, tr))
                return {};
            // A kept connection the server dropped is replaced once; nothing
            // of this draw was committed.
            if (e.isConnectionLost() && !reconnected) {
                reconnected = true;
                disconnectQuietly(db);
                ConnectDatabaseTo(db, tr, path);
                continue;
            }
            if (!isRetryable(e) || clock.elapsed() >= kRetryBudgetMs)
                throw AppError(QString::fromUtf8(kSerialNumberError), e.text());
            ++g_retries;
            // Another program held the row. The first retry follows at once
            // (the row is usually free by then); later ones wait a little,
            // longer each time and at random so the programs spread out.
            if (attempt > 0) {
                const int spread = std::min(2 * attempt, 40);
                QThread::msleep(QRandomGenerator::global()->bounded(1, spread + 1));
            }
            continue;
        }
        try {
            tr.commit();
        } catch (const DbError &e) {
            // The answer of the commit was lost: the counter may have moved.
            // Drawing again could count it twice, so the call fails instead;
            // a number lost that way leaves a gap, never a duplicate.
            rollbackQuietly(tr);
            disconnectQuietly(db);
            throw AppError(QString::fromUtf8(kSerialNumberError), e.text());
        }
        drawn = d;
    }

    qint64 n = drawn->number;
    if (drawn->missing) {
        // Told only after the commit, so the row is not held while the
        // message is open, and only once however often the draw was retried.
        QString missing = FormatSerialNumber(n, 3);
        CheckDigitModulus11(missing, true);
        n += 1;
    }
    return FormatSerialNumber(n, denKetaCD);
}
