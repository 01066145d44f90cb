// The company and item pickers on a large master: time from creating the
// dialog to its first screen painted (positioned on a code that no row has),
// and the rows read meanwhile, against the same lists on 10 rows in the same
// run. A list that read every row would grow with the table.
//
//   bench-pickers [--size N]   (default 10000 rows per master)

#include "SelCompanyForm.h"
#include "SelItemForm.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/SchemaSetup.h"
#include "db/Transaction.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Masters
{
    QTemporaryDir dir;
    QString path;

    explicit Masters(int size)
    {
        path = dir.filePath(QStringLiteral("TAMBREL.FDB"));
        SchemaSetup::createDatabase(path, QStringLiteral(TAMBREL_DATA_DIR));
        Database db;
        Transaction tr;
        ConnectDatabaseTo(db, tr, path);
        Transaction fill(&db);
        db.executeImmediate(
            fill, QStringLiteral(
                      "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < %1) DO BEGIN "
                      "INSERT INTO COMPANY (ID, KUBUN, CONAME1, CONAME2, CODE1) VALUES (0, 0, "
                      "'株式会社テスト商店' || :I, '本店', LPAD(CAST(:I AS VARCHAR(10)), 8, '0')); "
                      "INSERT INTO CSITEM (ID, HINMEI1, HINMEI2, CODE1, IRO, KAZU1, GENKA1, "
                      "URITANKA, COCODE) VALUES (0, '品名・規格 サンプル' || :I, '規格', "
                      "LPAD(CAST(:I AS VARCHAR(13)), 13, '0'), '赤', 1, 1200, 1500, 'C1'); "
                      "I = I + 1; END END")
                      .arg(size));
        fill.commit();
    }
};

void useDatabase(const QString &path, const QString &ini)
{
    TambrelSettings s = settings();
    s.F_DbPath = path;
    s.SettingsFilePath = ini;
    ReplaceSettings(s);
}

// Creates the dialog, positions it and paints its first screen.
template <typename Form>
double firstScreen(const std::function<Form *()> &make, const char *column, int *rowsRead)
{
    QElapsedTimer t;
    t.start();
    Form *form = make();
    form->positionOn(QString::fromLatin1(column), QStringLiteral("no such value"));
    form->show();
    // The grid asks for the rows of its first screen from a zero timer.
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    const double ms = t.nsecsElapsed() / 1e6;
    if (rowsRead)
        *rowsRead = form->query().recordCount();
    delete form;
    QApplication::processEvents();
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int size = 10000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0)
            size = std::max(10, std::atoi(argv[i + 1]));
    }
    const int runs = 9;
    {
        QTemporaryDir iniDir;
        const QString ini = iniDir.filePath(QStringLiteral("TAMBREL.ini"));
        QElapsedTimer fillTime;
        fillTime.start();
        Masters small(10);
        Masters large(size);
        std::printf("rows: %d\n", size);
        std::printf("fill: %.0f ms\n", fillTime.nsecsElapsed() / 1e6);

        const std::function<TSelCompanyForm *()> company = [] { return new TSelCompanyForm(0); };
        const std::function<TSelItemForm *()> item = [] { return new TSelItemForm(QString()); };
        struct Target
        {
            const char *name;
            std::function<double(int *)> run;
        };
        const Target targets[] = {
            {"company", [&](int *r) { return firstScreen(company, "CODE1", r); }},
            {"item", [&](int *r) { return firstScreen(item, "HINMEI1", r); }},
        };
        double worst = 0;
        for (const Target &target : targets) {
            // Warm both, then alternate so neither profits from order.
            std::vector<double> floor, ours;
            int readSmall = 0, readLarge = 0;
            for (int r = -1; r < runs; ++r) {
                useDatabase(small.path, ini);
                const double f = target.run(&readSmall);
                useDatabase(large.path, ini);
                const double o = target.run(&readLarge);
                if (r >= 0) {
                    floor.push_back(f);
                    ours.push_back(o);
                }
            }
            const double f = median(floor), o = median(ours);
            std::printf("%s-picker-10: %.3f ms\n", target.name, f);
            std::printf("%s-picker-%d: %.3f ms\n", target.name, size, o);
            std::printf("%s-picker-%d-rows-read: %d rows\n", target.name, size, readLarge);
            std::printf("%s-picker-10-rows-read: %d rows\n", target.name, readSmall);
            worst = std::max(worst, f > 0 ? o / f : -1.0);
        }
        // The slower of the two lists against its own 10-row run.
        std::printf("ratio picker-10k: %.2f\n", worst);
    }
    Database::shutdownEngine();
    return 0;
}
