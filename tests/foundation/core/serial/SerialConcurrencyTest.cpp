#include "SerialTestSupport.h"
#include "TestDatabase.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// One call of a client: what it did, to which number, and the monotonic
// clock (shared by every process of the machine) when it began and returned.
struct Step
{
    char kind = 0;
    qint64 number = 0;
    qint64 began = 0;
    qint64 ended = 0;
};

struct ClientLog
{
    QList<qint64> reserved, saved, cancelled;
    QList<Step> steps;
    QStringList failures;
    int retries = 0;
    int exitCode = -1;
};

ClientLog parse(const QByteArray &output)
{
    ClientLog log;
    for (const QByteArray &line : output.split('\n')) {
        if (line.size() < 2)
            continue;
        if (line.startsWith("retries ")) {
            log.retries = line.mid(8).trimmed().toInt();
            continue;
        }
        const QList<QByteArray> parts = line.split(' ');
        const qint64 n = parts.value(1).toLongLong();
        if (parts.size() == 4)
            log.steps << Step{line.at(0), n, parts[2].toLongLong(), parts[3].toLongLong()};
        switch (line.at(0)) {
        case 'R':
            log.reserved << n;
            break;
        case 'S':
            log.saved << n;
            break;
        case 'C':
            log.cancelled << n;
            break;
        default:
            log.failures << QString::fromUtf8(line);
            break;
        }
    }
    return log;
}

} // namespace

// Several programs drawing numbers from one counter at the same moment,
// through the server: every saved slip has a number of its own, the counter
// accounts for every number and nobody sees a failure because another drew.
TEST(SerialCounterConcurrency, ClientsDrawingAtOnceNeverShareASavedNumber)
{
    ServerTestDatabase db;
    if (!db.available())
        GTEST_SKIP() << "no Firebird server on loopback (TAMBREL_TEST_FB_PORT unset)";
    const QString helper =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("serial-draw-helper"));
    ASSERT_TRUE(QFileInfo::exists(helper)) << qPrintable(helper);

    constexpr int kClients = 4;
    constexpr int kReservations = 200;
    // Different choices each run; the seed is printed so a failing run can
    // be replayed with TAMBREL_SERIAL_SEED.
    const QByteArray fixed = qgetenv("TAMBREL_SERIAL_SEED");
    const quint32 seed = fixed.isEmpty() ? QRandomGenerator::system()->generate() : fixed.toUInt();
    std::printf("seed %u (replay with TAMBREL_SERIAL_SEED=%u)\n", seed, seed);
    RecordProperty("seed", std::to_string(seed));
    std::vector<std::unique_ptr<QProcess>> clients;
    for (int i = 0; i < kClients; ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Clients 0 and 1 keep one slip open at a time like a slip form;
        // the others several, so cancels below the highest number happen.
        p->start(helper,
                 {db.path(), QString::number(kReservations), QString::number(seed + quint32(i)),
                  QString::number(i < 2 ? 1 : 3), QStringLiteral("25")});
        clients.push_back(std::move(p));
    }
    QList<ClientLog> logs;
    for (auto &p : clients) {
        ASSERT_TRUE(p->waitForFinished(120000)) << "a client did not finish";
        ClientLog log = parse(p->readAllStandardOutput());
        log.exitCode = p->exitCode();
        logs << log;
    }

    QMap<qint64, int> savedCount;
    QSet<qint64> cancelledNumbers, handedOut;
    int saves = 0, cancels = 0, retries = 0;
    for (int i = 0; i < logs.size(); ++i) {
        const ClientLog &log = logs[i];
        EXPECT_EQ(log.exitCode, 0) << "client " << i;
        EXPECT_TRUE(log.failures.isEmpty()) << qPrintable(log.failures.join(QLatin1Char('\n')));
        EXPECT_EQ(log.reserved.size(), kReservations) << "client " << i;
        EXPECT_EQ(log.saved.size() + log.cancelled.size(), log.reserved.size());
        for (qint64 n : log.saved)
            ++savedCount[n];
        for (qint64 n : log.cancelled)
            cancelledNumbers.insert(n);
        for (qint64 n : log.reserved)
            handedOut.insert(n);
        saves += log.saved.size();
        cancels += log.cancelled.size();
        retries += log.retries;
    }
    ASSERT_GT(saves, 0);
    ASSERT_GT(cancels, 0);
    for (auto it = savedCount.cbegin(); it != savedCount.cend(); ++it)
        EXPECT_EQ(it.value(), 1) << "number " << it.key() << " saved on several slips";

    // Nothing is left open; RENBAN is the number of saves plus the numbers
    // that were cancelled below a later one and so recorded as used. Those
    // are exactly the numbers up to RENBAN that no saved slip carries.
    const CounterRow row = readCounter(db.path());
    EXPECT_EQ(row.scount, 0);
    int holes = 0;
    QList<qint64> unexplained;
    for (qint64 n = 1; n <= row.renban; ++n) {
        if (savedCount.contains(n))
            continue;
        ++holes;
        if (!cancelledNumbers.contains(n))
            unexplained << n;
    }
    // A number skipped although no slip cancelled it is a gap in the
    // numbering.
    for (qint64 n : unexplained)
        ADD_FAILURE() << "number " << n << " skipped without a cancelled slip";
    RecordProperty("unexplained_gaps", static_cast<int>(unexplained.size()));
    EXPECT_EQ(row.renban, saves + holes);
    EXPECT_LE(holes, cancels);
    for (auto it = savedCount.cbegin(); it != savedCount.cend(); ++it)
        EXPECT_LE(it.key(), row.renban);
    for (qint64 n : handedOut) {
        if (n > row.renban) {
            EXPECT_TRUE(cancelledNumbers.contains(n)) << n;
        }
    }
    // No number is held by two slips at once: between the return of its
    // reservation and the start of its save or cancel a number is held, and
    // once a save of it returned it is never handed out again.
    struct Held
    {
        qint64 from, to;
        int client;
    };
    QMap<qint64, QList<Held>> held;
    QMap<qint64, qint64> savedAt; // number → end of its save
    for (int i = 0; i < logs.size(); ++i) {
        QMap<qint64, qint64> reservedAt;
        for (const Step &st : std::as_const(logs[i].steps)) {
            if (st.kind == 'R') {
                EXPECT_FALSE(reservedAt.contains(st.number))
                    << "client " << i << " holds " << st.number << " twice";
                reservedAt.insert(st.number, st.ended);
                continue;
            }
            held[st.number] << Held{reservedAt.take(st.number), st.began, i};
            if (st.kind == 'S')
                savedAt.insert(st.number, st.ended);
        }
    }
    int handedOutCalls = 0;
    for (auto it = held.cbegin(); it != held.cend(); ++it) {
        QList<Held> spans = it.value();
        handedOutCalls += spans.size();
        std::sort(spans.begin(), spans.end(),
                  [](const Held &a, const Held &b) { return a.from < b.from; });
        for (int k = 1; k < spans.size(); ++k) {
            EXPECT_GE(spans[k].from, spans[k - 1].to)
                << "number " << it.key() << " held by clients " << spans[k - 1].client << " and "
                << spans[k].client << " at once";
        }
        if (savedAt.contains(it.key())) {
            for (const Held &h : spans) {
                EXPECT_FALSE(h.from > savedAt.value(it.key()))
                    << "number " << it.key() << " handed out again after its save";
            }
        }
    }
    EXPECT_EQ(handedOutCalls, kClients * kReservations);
    std::printf("saves %d, cancels %d, recorded as used %d, highest %lld, retries %d\n", saves,
                cancels, holes, row.renban, retries);
}

// A program that holds the counter row (a transaction left open, a program
// hung in the middle of a draw) makes another program's draw fail with the
// serial number error once the retry limit of 20 seconds has passed, rather
// than wait for as long as the row is held.
TEST(SerialCounterConcurrency, DrawBlockedByAHeldRowEndsWithTheMessage)
{
    ServerTestDatabase db;
    if (!db.available())
        GTEST_SKIP() << "no Firebird server on loopback (TAMBREL_TEST_FB_PORT unset)";
    writeCounter(db.path(), 5, 0);
    Database holderDb;
    Transaction holder;
    ConnectDatabaseTo(holderDb, holder, db.path());
    Query take(holderDb, holder);
    take.setSql(QStringLiteral("UPDATE RENBAN SET SCOUNT = SCOUNT WHERE KUBUN = 1"));
    take.execute();

    QProcess client;
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    client.start(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("serial-draw-helper")),
        {db.path(), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
         QStringLiteral("0")});
    // Well past the limit; a draw without one waits until the row is freed.
    const bool ended = client.waitForFinished(45000);
    if (!ended)
        client.kill();
    holder.rollback();
    ASSERT_TRUE(ended) << "the draw still waited after 45 s";
    const QString out = QString::fromUtf8(client.readAllStandardOutput());
    EXPECT_EQ(client.exitCode(), 1) << qPrintable(out);
    EXPECT_TRUE(out.startsWith(QStringLiteral("E 連番取得エラー．．．"))) << qPrintable(out);
    EXPECT_EQ(readCounter(db.path()), (CounterRow{true, 5, 0}));
}
