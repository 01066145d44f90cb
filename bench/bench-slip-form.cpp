// The slip form on a large table: opening the form until it shows its first
// slip, and Page Down, on 100,000 stored slips against the same form on a
// table of 1 (opening) and of 10 slips (Page Down), measured in the same run.
//
//   bench-slip-form [--size N]   (default 100000 slips)

#include "TambrelForm.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/SchemaSetup.h"
#include "db/Transaction.h"
#include "settings/Settings.h"
#include "ui/DBEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
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

// A slip database of the given size, filled inside the engine.
struct Table
{
    QTemporaryDir dir;
    QString path;

    explicit Table(int size)
    {
        path = dir.filePath(QStringLiteral("TAMBREL.FDB"));
        SchemaSetup::createDatabase(path, QStringLiteral(TAMBREL_DATA_DIR));
        Database db;
        Transaction tr;
        ConnectDatabaseTo(db, tr, path);
        Transaction fill(&db);
        db.executeImmediate(
            fill, QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN "
                                 "WHILE (I < %1) DO BEGIN "
                                 "INSERT INTO TAMBREL (ID, PRINTOUT, CONAME, TENPONAME, DENNO_1, "
                                 "DENNO_2, HINMEI_11, CODE_11, KAZU_11, GENKA_11) VALUES (0, "
                                 "MOD(:I, 3), '株式会社テスト商店' || :I, '本店', "
                                 "LPAD(CAST(:I AS VARCHAR(10)), 6, '0'), MOD(:I, 10), "
                                 "'品名・規格 サンプル', '4901234567890', MOD(:I, 50), 1200); "
                                 "I = I + 1; END END")
                      .arg(size));
        fill.commit();
        db.disconnect();
    }
};

void useDatabase(const QString &path)
{
    TambrelSettings s;
    s.F_DbPath = path;
    s.SettingsFilePath = QFileInfo(path).dir().filePath(QStringLiteral("TAMBREL.ini"));
    ReplaceSettings(s);
}

std::unique_ptr<TambrelForm> openForm(const QString &path, double *ms, long *rssGrowth)
{
    useDatabase(path);
    const long before = residentKiB();
    QElapsedTimer t;
    t.start();
    auto form = std::make_unique<TambrelForm>(SlipType::Type22, QString());
    form->show();
    QCoreApplication::processEvents();
    (void)form->slipEdit(QStringLiteral("CONA"))->text();
    if (ms)
        *ms = t.nsecsElapsed() / 1e6;
    if (rssGrowth)
        *rssGrowth = residentKiB() - before;
    return form;
}

// Presses Page Down on the slip form as the keyboard does, count times from
// the first slip.
double pageDown(TambrelForm &form, int count)
{
    form.IBQueryTambrel().First();
    QWidget *target = form.slipEdit(QStringLiteral("CONA"));
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < count; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QCoreApplication::processEvents();
    }
    return t.nsecsElapsed() / 1e6 / count;
}

} // namespace

int main(int argc, char **argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int size = 100000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0)
            size = std::max(20, std::atoi(argv[i + 1]));
    }
    const int runs = 7;
    {
        QElapsedTimer fillTime;
        fillTime.start();
        Table one(1);
        Table ten(10);
        Table large(size);
        std::printf("slips: %d\n", size);
        std::printf("fill: %.0f ms\n", fillTime.nsecsElapsed() / 1e6);

        // Opening: warm both, then alternate.
        openForm(one.path, nullptr, nullptr);
        openForm(large.path, nullptr, nullptr);
        std::vector<double> openOne;
        std::vector<double> openLarge;
        for (int r = 0; r < runs; ++r) {
            double ms = 0;
            openForm(one.path, &ms, nullptr);
            openOne.push_back(ms);
            openForm(large.path, &ms, nullptr);
            openLarge.push_back(ms);
        }
        long growthOne = 0;
        long growthLarge = 0;
        openForm(one.path, nullptr, &growthOne);
        openForm(large.path, nullptr, &growthLarge);

        // Page Down: nine presses on each, the whole of the small table.
        const int presses = 9;
        std::vector<double> nextTen;
        std::vector<double> nextLarge;
        {
            auto small = openForm(ten.path, nullptr, nullptr);
            pageDown(*small, presses);
            for (int r = 0; r < runs; ++r)
                nextTen.push_back(pageDown(*small, presses));
        }
        {
            auto big = openForm(large.path, nullptr, nullptr);
            pageDown(*big, presses);
            for (int r = 0; r < runs; ++r)
                nextLarge.push_back(pageDown(*big, presses));
        }

        const double o1 = median(openOne);
        const double oL = median(openLarge);
        const double n10 = median(nextTen);
        const double nL = median(nextLarge);
        std::printf("open-1: %.3f ms\n", o1);
        std::printf("open-%d: %.3f ms\n", size, oL);
        std::printf("rss-growth-open-1: %ld KiB\n", growthOne);
        std::printf("rss-growth-open-%d: %ld KiB\n", size, growthLarge);
        std::printf("next-10: %.3f ms\n", n10);
        std::printf("next-%d: %.3f ms\n", size, nL);
        std::printf("ratio open-100k: %.2f\n", o1 > 0 ? oL / o1 : -1.0);
        std::printf("ratio next-100k: %.2f\n", n10 > 0 ? nL / n10 : -1.0);
    }
    Database::shutdownEngine();
    return 0;
}
