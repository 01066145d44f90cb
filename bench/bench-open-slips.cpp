// Opening the slip table in the slip form's order: time to the first row and
// resident memory of the editable result set, against a bare fetch of the
// first row through the connection layer in the same run.
//
//   bench-open-slips [--size N]   (default 100000 slips)

#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/EditableResultSet.h"
#include "db/IbFunc.h"
#include "db/Query.h"
#include "db/SchemaSetup.h"
#include "db/Transaction.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Fills the table inside the engine: a loop of inserts in one statement.
void fill(Database &db, int size)
{
    Transaction tr(&db);
    db.executeImmediate(
        tr,
        QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN "
                       "WHILE (I < %1) DO BEGIN "
                       "INSERT INTO TAMBREL (ID, PRINTOUT, CONAME, TENPONAME, DENNO_1, "
                       "DENNO_2, HINMEI_11, CODE_11, KAZU_11, GENKA_11) VALUES (0, "
                       "MOD(:I, 3), '株式会社テスト商店' || :I, '本店', "
                       "LPAD(CAST(:I AS VARCHAR(10)), 6, '0'), MOD(:I, 10), '品名・規格 サンプル', "
                       "'4901234567890', MOD(:I, 50), 1200); "
                       "I = I + 1; END END")
            .arg(size));
    tr.commit();
}

const QStringList kSlipSql{QStringLiteral("SELECT * FROM TAMBREL"),
                           QStringLiteral("ORDER BY ") + QLatin1String(kSlipOrder)};

// The floor: the same statement, the first row and all its values.
double bareFirstRow(Database &db)
{
    QElapsedTimer t;
    t.start();
    Transaction tr(&db);
    Query q(db, tr);
    q.setSql(kSlipSql);
    if (!q.openFirst())
        return -1;
    for (int i = 0; i < q.columnCount(); ++i)
        (void)q.value(i);
    const double ms = t.nsecsElapsed() / 1e6;
    tr.rollback();
    return ms;
}

double oursFirstRow(Database &db, long *rssGrowth)
{
    const long before = residentKiB();
    QElapsedTimer t;
    t.start();
    Transaction tr(&db);
    EditableResultSet set;
    set.setTransaction(&tr);
    if (!OpenSlipTableOrdered(set, QLatin1String(kSlipOrder)))
        return -1;
    (void)set.value(QStringLiteral("CONAME"));
    const double ms = t.nsecsElapsed() / 1e6;
    if (rssGrowth)
        *rssGrowth = residentKiB() - before;
    set.close();
    tr.rollback();
    return ms;
}

struct Table
{
    QTemporaryDir dir;
    Database db;
    Transaction tr;

    explicit Table(int size)
    {
        const QString path = dir.filePath(QStringLiteral("TAMBREL.FDB"));
        SchemaSetup::createDatabase(path, QStringLiteral(TAMBREL_DATA_DIR));
        ConnectDatabaseTo(db, tr, path);
        fill(db, size);
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int size = 100000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0)
            size = std::max(10, std::atoi(argv[i + 1]));
    }
    const int runs = 7;
    {
        QElapsedTimer fillTime;
        fillTime.start();
        Table small(std::max(10, size / 10));
        Table large(size);
        std::printf("slips: %d\n", size);
        std::printf("fill: %.0f ms\n", fillTime.nsecsElapsed() / 1e6);

        // Warm both paths once, then alternate so neither profits from order.
        bareFirstRow(large.db);
        oursFirstRow(large.db, nullptr);
        std::vector<double> floor;
        std::vector<double> ours;
        for (int r = 0; r < runs; ++r) {
            floor.push_back(bareFirstRow(large.db));
            ours.push_back(oursFirstRow(large.db, nullptr));
        }
        const double f = median(floor);
        const double o = median(ours);

        long growthSmall = 0;
        long growthLarge = 0;
        oursFirstRow(small.db, nullptr);
        oursFirstRow(small.db, &growthSmall);
        oursFirstRow(large.db, &growthLarge);
        const long rssFloorBefore = residentKiB();
        bareFirstRow(large.db);
        const long rssFloor = residentKiB();
        oursFirstRow(large.db, nullptr);
        const long rssOurs = residentKiB();

        std::printf("first-row-floor: %.3f ms\n", f);
        std::printf("first-row: %.3f ms\n", o);
        std::printf("rss-growth-open-%d: %ld KiB\n", std::max(10, size / 10), growthSmall);
        std::printf("rss-growth-open-%d: %ld KiB\n", size, growthLarge);
        std::printf("rss-floor: %ld KiB\n", std::max(rssFloor, rssFloorBefore));
        std::printf("rss: %ld KiB\n", rssOurs);
        std::printf("ratio first-row: %.2f\n", f > 0 ? o / f : -1.0);
        std::printf("ratio memory: %.2f\n",
                    rssFloor > 0 ? double(rssOurs) / double(std::max(rssFloor, rssFloorBefore))
                                 : -1.0);
    }
    Database::shutdownEngine();
    return 0;
}
