// Composition of the marked slips into the command file against a bare fetch
// of the same rows plus a bare write of the same bytes; and the preview's
// first page of that file against that of a one-slip file.
#include "ImageDispForm.h"
#include "PrintTool.h"
#include "Printout.h"
#include "SlipComposition.h"
#include "VDBPrint.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/EditableResultSet.h"
#include "db/Query.h"
#include "db/SchemaSetup.h"
#include "db/Transaction.h"
#include "ui/ProgramStart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

const QString TypeName = QStringLiteral("ターンアラウンド用２型（２行印字）");

// Marked slips with every column filled, names in Japanese.
void insertSlips(Database &db, int count)
{
    Transaction tr(&db);
    QVector<ColumnInfo> columns;
    {
        Query q(db, tr);
        q.setSql(QStringLiteral("SELECT * FROM TAMBREL WHERE ID = -1"));
        q.open();
        columns = q.columns();
    }
    QStringList names;
    QStringList params;
    for (const ColumnInfo &c : columns) {
        names << c.name;
        params << QLatin1Char(':') + c.name;
    }
    Query ins(db, tr);
    ins.setSql(QStringLiteral("INSERT INTO TAMBREL (") + names.join(QLatin1Char(',')) +
               QStringLiteral(") VALUES (") + params.join(QLatin1Char(',')) + QLatin1Char(')'));
    for (int s = 1; s <= count; ++s) {
        for (int i = 0; i < columns.size(); ++i) {
            const ColumnInfo &c = columns.at(i);
            QVariant v;
            if (c.name == QLatin1String("ID"))
                v = 0;
            else if (c.name == QLatin1String("PRINTOUT"))
                v = 1;
            else if (c.isInteger())
                v = (s * 37 + i * 11) % 900000;
            else if (c.name.contains(QLatin1String("NAME")) || c.name.startsWith("HINMEI"))
                v = (QStringLiteral("品名") + QString::number(s)).left(c.charLength());
            else
                v = QString::number(s * 7 + i).right(c.charLength());
            ins.setParam(c.name, v);
        }
        ins.execute();
    }
    tr.commit();
}

double compose(Database &db, const QString &path)
{
    QElapsedTimer t;
    t.start();
    Transaction tr(&db);
    EditableResultSet rows;
    rows.setTransaction(&tr);
    rows.setReadOnly(true);
    rows.setSql(QStringLiteral("SELECT * FROM TAMBRELSET"));
    rows.open();
    rows.Locate(QStringLiteral("DENNAME"), TypeName);
    const SlipLayout layout = SlipLayout::read(rows);
    EditableResultSet slips;
    slips.setTransaction(&tr);
    slips.setReadOnly(true);
    slips.setSql(QStringList{QStringLiteral("SELECT * FROM TAMBREL"),
                             QStringLiteral("WHERE (PRINTOUT = 1)")});
    slips.open();
    TPrintTool tool;
    tool.SetDataFile(path);
    tool.OpenFile();
    WriteSlipPages(layout, slips, tool);
    tool.CloseFile();
    const double s = t.nsecsElapsed() / 1e9;
    tr.commit();
    return s;
}

// The same rows fetched with every column read, and the same bytes written.
double floorRun(Database &db, const QByteArray &bytes, const QString &path)
{
    QElapsedTimer t;
    t.start();
    Transaction tr(&db);
    Query q(db, tr);
    q.setSql(QStringLiteral("SELECT * FROM TAMBREL WHERE (PRINTOUT = 1)"));
    q.open();
    qint64 sink = 0;
    while (q.next()) {
        for (int i = 0; i < q.columnCount(); ++i)
            sink += q.value(i).isNull() ? 0 : 1;
    }
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    f.close();
    const double s = t.nsecsElapsed() / 1e9;
    tr.commit();
    if (sink < 0)
        std::printf("?\n");
    return s;
}

double firstPage(const QString &data)
{
    PrintoutState().dataPath = data;
    QElapsedTimer t;
    t.start();
    TImageDispForm form;
    form.resize(1000, 800);
    form.show(); // counts and indexes the pages, draws page 1
    QApplication::processEvents();
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ProgramStart::installFontSubstitutions();
    int size = 1000;
    const QStringList args = QApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--size"));
    if (at >= 0 && at + 1 < args.size())
        size = std::max(1, args.at(at + 1).toInt());

    QTemporaryDir dir;
    const QString many = dir.filePath(QStringLiteral("MANY.FDB"));
    const QString one = dir.filePath(QStringLiteral("ONE.FDB"));
    SchemaSetup::createDatabase(many, QStringLiteral(TAMBREL_DATA_DIR));
    SchemaSetup::createDatabase(one, QStringLiteral(TAMBREL_DATA_DIR));
    double oursBest = 1e9;
    double floorBest = 1e9;
    const QString manyFile = dir.filePath(QStringLiteral("Prntmpp.tmp"));
    const QString oneFile = dir.filePath(QStringLiteral("One.tmp"));
    {
        Database db;
        Transaction tr;
        ConnectDatabaseTo(db, tr, many);
        insertSlips(db, size);
        compose(db, manyFile); // warm the caches of both sides
        QFile f(manyFile);
        f.open(QIODevice::ReadOnly);
        const QByteArray bytes = f.readAll();
        floorRun(db, bytes, dir.filePath(QStringLiteral("floor.tmp")));
        for (int round = 0; round < 5; ++round) {
            oursBest = std::min(oursBest, compose(db, manyFile));
            floorBest = std::min(floorBest, floorRun(db, bytes, dir.filePath("floor.tmp")));
        }
        std::printf("slips: %d slips\n", size);
        std::printf("command-file: %lld bytes\n", static_cast<long long>(bytes.size()));
        db.disconnect();
    }
    {
        Database db;
        Transaction tr;
        ConnectDatabaseTo(db, tr, one);
        insertSlips(db, 1);
        compose(db, oneFile);
        db.disconnect();
    }
    std::printf("compose: %.3f ms\n", oursBest * 1000);
    std::printf("fetch-and-write: %.3f ms\n", floorBest * 1000);

    VDBPrint().selectPdf(dir.filePath(QStringLiteral("unused.pdf")));
    VDBPrint().SetPaperSize(9);
    double firstMany = 1e9;
    double firstOne = 1e9;
    firstPage(oneFile);
    for (int round = 0; round < 5; ++round) {
        firstMany = std::min(firstMany, firstPage(manyFile));
        firstOne = std::min(firstOne, firstPage(oneFile));
    }
    std::printf("preview-first-page-%d: %.3f ms\n", size, firstMany * 1000);
    std::printf("preview-first-page-1: %.3f ms\n", firstOne * 1000);
    std::printf("ratio compose-%d: %.3f\n", size, oursBest / floorBest);
    std::printf("ratio preview-first-%d: %.3f\n", size, firstMany / firstOne);
    Database::shutdownEngine();
    return 0;
}
