#include "SlipComposition.h"
#include "CommandFile.h"
#include "ImageDispForm.h"
#include "PrintTool.h"
#include "Printout.h"
#include "ScriptedMessages.h"
#include "SlipPrintData.h"
#include "StartPrintDlg.h"
#include "TestDatabase.h"
#include "VDBPrint.h"
#include "app/ConnectDatabase.h"
#include "db/DbError.h"
#include "db/EditableResultSet.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString TypeName = QStringLiteral("ターンアラウンド用２型（２行印字）");

QString text(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

// right(w) of an ASCII text, written out here for the expectations.
QString right(const QString &t, int w)
{
    return (QString(w, QLatin1Char(' ')) + t).right(w);
}

// The printed elements of a slip, in their order: the source column, how it
// is cut ('s' as stored, 'r' right(w) in one record, 'b' blocks of 3, 'c'
// single characters), the x column(s), the y column and the font group.
struct Part
{
    QString source; // "#" stands for the item line
    char cut;
    int width;
    QStringList xs;
    QString y;
};
struct Element
{
    QString group;
    QList<Part> parts;
    bool item = false;
};

QList<Element> elementTable(bool nine)
{
    const QString t = nine ? QStringLiteral("9") : QStringLiteral("6");
    const auto own = [](const QString &c) {
        return Element{c, {{c, 's', 0, {c + "_X"}, c + "_Y"}}};
    };
    QList<Element> e;
    for (const char *c : {"A_F1", "B_F1", "C_F1", "D_F1"})
        e << own(c);
    e << Element{"TEISEI",
                 {{"TEISEI_1", 's', 0, {"TEISEI_1_X"}, "TEISEI_Y"},
                  {"TEISEI_2", 's', 0, {"TEISEI_2_X"}, "TEISEI_Y"}}};
    e << Element{"NOUHIN_1",
                 {{"NOUHIN_Y1", 's', 0, {"NOUHIN_Y1_X"}, "NOUHIN_1_Y"},
                  {"NOUHIN_M1", 's', 0, {"NOUHIN_M1_X"}, "NOUHIN_1_Y"},
                  {"NOUHIN_D1", 's', 0, {"NOUHIN_D1_X"}, "NOUHIN_1_Y"}}};
    e << own("E_F1");
    for (const char *c : {"CONAME", "TENPONAME", "COCODE", "BUNRUICODE", "DENKUBUN"})
        e << own(c);
    e << Element{"DENNO",
                 {{"DENNO_1", 's', 0, {"DENNO_1_X"}, "DENNO_Y"},
                  {"DENNO_2", 's', 0, {"DENNO_2_X"}, "DENNO_Y"}}};
    e << Element{"TORIHIKICODE",
                 {{"TORIHIKICODE_1", 's', 0, {"TORIHIKICODE_1_X"}, "TORIHIKICODE_Y"},
                  {"TORIHIKICODE_2", 's', 0, {"TORIHIKICODE_2_X"}, "TORIHIKICODE_Y"}}};
    e << Element{"TORIHIKINAME",
                 {{"TORIHIKINAME_1", 's', 0, {"TORIHIKINAME_1_X"}, "TORIHIKINAME_1_Y"},
                  {"TORIHIKINAME_2", 's', 0, {"TORIHIKINAME_2_X"}, "TORIHIKINAME_2_Y"}}};
    e << Element{"HACYU",
                 {{"HACYU_Y", 's', 0, {"HACYU_Y_X"}, "HACYU_Y"},
                  {"HACYU_M", 's', 0, {"HACYU_M_X"}, "HACYU_Y"},
                  {"HACYU_D", 's', 0, {"HACYU_D_X"}, "HACYU_Y"}}};
    e << Element{"NOUHIN_2",
                 {{"NOUHIN_Y2", 's', 0, {"NOUHIN_Y2_X"}, "NOUHIN_2_Y"},
                  {"NOUHIN_M2", 's', 0, {"NOUHIN_M2_X"}, "NOUHIN_2_Y"},
                  {"NOUHIN_D2", 's', 0, {"NOUHIN_D2_X"}, "NOUHIN_2_Y"}}};
    e << Element{"BINN", {{"BINN", 'c', 3, {"BINN1_X", "BINN2_X", "BINN3_X"}, "BINN_Y"}}};
    // Item lines.
    e << Element{"HINMEI",
                 {{"HINMEI_#1", 's', 0, {"HINMEI_1_X"}, "HINMEI_1_Y"},
                  {"HINMEI_#2", 's', 0, {"HINMEI_2_X"}, "HINMEI_2_Y"}},
                 true};
    e << Element{"CODE",
                 {{"CODE_#1", 's', 0, {"CODE_1_X"}, "CODE_1_Y"},
                  {"CODE_#2", 's', 0, {"CODE_2_X"}, "CODE_2_Y"}},
                 true};
    for (const char *c : {"COLOR", "IRIKAZU", "SIZE", "CASEE"})
        e << Element{
            c, {{QString(c) + "_#", 's', 0, {QString(c) + "_X"}, QString(c) + "_Y"}}, true};
    e << Element{"TANI", {{"TANI_#", 'r', 4, {"TANI_X"}, "TANI_Y"}}, true};
    e << Element{
        "KAZU",
        {{"KAZU_#1", 'r', 5, {"KAZU_1_X"}, "KAZU_Y"}, {"KAZU_#2", 's', 0, {"KAZU_2_X"}, "KAZU_Y"}},
        true};
    e << Element{"TKAZU",
                 {{"KAZU_T_#1", 'r', 6, {"TKAZU_1_X"}, "TKAZU_Y"},
                  {"KAZU_T_#2", 's', 0, {"TKAZU_2_X"}, "TKAZU_Y"}},
                 true};
    e << Element{"HIKIAI", {{"HIKIAI_#", 's', 0, {"HIKIAI_X"}, "HIKIAI_Y"}}, true};
    e << Element{"KUBUN", {{"KUBUN_#", 's', 0, {"KUBUN_X"}, "KUBUN_Y"}}, true};
    e << Element{"GENKA",
                 {{"GENKA_#1", 'b', 6, {"GENKA_1_X", "GENKA_2_X"}, "GENKA_Y"},
                  {"GENKA_#2", 'r', 2, {"GENKA_3_X"}, "GENKA_Y"}},
                 true};
    e << Element{
        "GENKAKEI",
        {{"GENKAKEI_#", 'b', 9, {"GENKAKEI_1_X", "GENKAKEI_2_X", "GENKAKEI_3_X"}, "GENKAKEI_Y"}},
        true};
    e << Element{
        "URITANKA", {{"URITANKA_#", 'b', 6, {"URITANKA_1_X", "URITANKA_2_X"}, "URITANKA_Y"}}, true};
    e << Element{
        "BIKOU", {{"BIKOU_#", 'b', 9, {"BIKOU_1_X", "BIKOU_2_X", "BIKOU_3_X"}, "BIKOU_Y"}}, true};
    // Totals.
    e << Element{"GOUKEI_KAZU",
                 {{"GOUKEI_KAZU" + t + "_1", 'r', 5, {"GOUKEI_KAZU_1_X"}, "GOUKEI_KAZU_Y"},
                  {"GOUKEI_KAZU" + t + "_2", 's', 0, {"GOUKEI_KAZU_2_X"}, "GOUKEI_KAZU_Y"}}};
    e << Element{"GOUKEI_KAZU_T",
                 {{"GOUKEI_KAZU" + t + "_T1", 'r', 6, {"GOUKEI_KAZU_T_1_X"}, "GOUKEI_KAZU_T_Y"},
                  {"GOUKEI_KAZU" + t + "_T2", 's', 0, {"GOUKEI_KAZU_T_2_X"}, "GOUKEI_KAZU_T_Y"}}};
    e << Element{"GOUKEI_GENKA",
                 {{"GOUKEI_GENKA" + t,
                   'b',
                   9,
                   {"GOUKEI_GENKA_1_X", "GOUKEI_GENKA_2_X", "GOUKEI_GENKA_3_X"},
                   "GOUKEI_GENKA_Y"}}};
    e << Element{"GOUKEI_URI",
                 {{"GOUKEI_URI" + t,
                   'b',
                   9,
                   {"GOUKEI_URI_1_X", "GOUKEI_URI_2_X", "GOUKEI_URI_3_X"},
                   "GOUKEI_URI_Y"}}};
    for (const char *c : {"F_F1", "G_F1", "H_F1", "I_F1", "J_F1", "K_F1", "L_F1"})
        e << own(c);
    e << Element{"GOUKEI_GENKA_T",
                 {{"GOUKEI_GENKA" + t + "_T", 'c', 9, {"GOUKEI_GENKA_T_X"}, "GOUKEI_GENKA_T_Y"}}};
    e << Element{"GOUKEI_URI_T",
                 {{"GOUKEI_URI" + t + "_T", 'c', 9, {"GOUKEI_URI_T_X"}, "GOUKEI_URI_T_Y"}}};
    return e;
}

struct Record
{
    int x = 0;
    int y = 0;
    QString text;
    QString font;
    int size = 0;
};

// The records a slip must give, from the table above.
QList<Record> expectedRecords(const QMap<QString, QVariant> &layout,
                              const QMap<QString, QVariant> &slip)
{
    const bool nine = layout.value("HINMEI_GYOU").toInt() == 9;
    const int skip = layout.value("HINMEI_Y_SKIP").toInt();
    const auto L = [&](const QString &c) { return layout.value(c).toInt(); };
    QList<Record> out;
    for (const Element &e : elementTable(nine)) {
        const QString font = layout.value(e.group + "_F").toString();
        const int size = L(e.group + "_S");
        const int lines = e.item ? (nine ? 9 : 6) : 1;
        for (int n = 1; n <= lines; ++n) {
            const int off = e.item ? (n - 1) * skip : 0;
            for (const Part &p : e.parts) {
                const QString value = text(
                    slip.value(QString(p.source).replace(QLatin1Char('#'), QString::number(n))));
                const int y = L(p.y) + off;
                switch (p.cut) {
                case 's':
                    out << Record{L(p.xs.at(0)), y, value, font, size};
                    break;
                case 'r':
                    out << Record{L(p.xs.at(0)), y, right(value, p.width), font, size};
                    break;
                case 'b':
                    for (int i = 0; i < p.xs.size(); ++i)
                        out << Record{L(p.xs.at(i)), y, right(value, p.width).mid(3 * i, 3), font,
                                      size};
                    break;
                case 'c': {
                    const QString r = right(value, p.width);
                    const int tskip = p.xs.size() == 1 ? L(e.group + "_SKIP_X") : 0;
                    for (int k = 0; k < p.width; ++k) {
                        const int x = p.xs.size() == 1 ? L(p.xs.at(0)) + k * tskip : L(p.xs.at(k));
                        out << Record{x, y, r.mid(k, 1), font, size};
                    }
                    break;
                }
                }
            }
        }
    }
    return out;
}

QByteArray recordBytes(const QList<Record> &records)
{
    QByteArray out;
    for (const Record &r : records)
        out += TPrintTool::TextRecord(r.x, r.y, r.text, r.font, r.size, {}, {}, "1");
    return out;
}

// The records of a command file; E records as letter-only entries.
struct FileRecord
{
    QChar letter;
    Record record;
};
QList<FileRecord> readRecords(const QString &path)
{
    QList<FileRecord> out;
    CommandFile file(path);
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.isEmpty())
            continue;
        CommandRecord rec(line);
        FileRecord r{rec.letter(), {}};
        if (r.letter == QLatin1Char('T')) {
            r.record.x = rec.number();
            r.record.y = rec.number();
            r.record.text = rec.text();
            r.record.font = rec.text();
            r.record.size = rec.number();
        }
        out << r;
    }
    return out;
}

class SlipCompositionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ConnectDatabaseTo(db, tr, file.path());
        dataFile = dir.filePath("Prntmpp.tmp");
        TPrintTool::resetSettings();
        ResetPrintoutState();
        // No overlay: these runs are about the slip records.
        SlipPrintData::updateLayout(db, TypeName, {{"FORMNAME", QString()}});
    }
    void TearDown() override
    {
        TPrintTool::resetSettings();
        TStartPrintDlg::setExecutor(nullptr);
    }

    void openSets(const QString &slipSql =
                      QStringLiteral("SELECT * FROM TAMBREL WHERE (PRINTOUT = 1) ORDER BY ID"))
    {
        rows.close();
        slips.close();
        // A new snapshot: what the test wrote since is seen.
        if (tr.active())
            tr.commit();
        rows.setTransaction(&tr);
        rows.setReadOnly(true);
        rows.setSql(QStringLiteral("SELECT * FROM TAMBRELSET"));
        rows.open();
        ASSERT_TRUE(rows.Locate("DENNAME", TypeName));
        slips.close();
        slips.setTransaction(&tr);
        slips.setReadOnly(true);
        slips.setSql(slipSql);
        slips.open();
    }

    void execute(const QString &sql)
    {
        Transaction t(&db);
        db.executeImmediate(t, sql);
        t.commit();
    }

    // The marked slips written through the writer; the file's bytes.
    QByteArray compose()
    {
        openSets();
        const SlipLayout layout = SlipLayout::read(rows);
        TPrintTool tool;
        tool.SetDataFile(dataFile);
        tool.OpenFile();
        WriteSlipPages(layout, slips, tool);
        tool.CloseFile();
        QFile f(dataFile);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    TestDatabase file;
    Database db;
    Transaction tr;
    EditableResultSet rows;
    EditableResultSet slips;
    QTemporaryDir dir;
    QString dataFile;
    ScriptedMessages messages;
};

const Record *at(const QList<FileRecord> &records, int x, int y)
{
    for (const FileRecord &r : records) {
        if (r.letter == QLatin1Char('T') && r.record.x == x && r.record.y == y)
            return &r.record;
    }
    return nullptr;
}

} // namespace

TEST(RightPiece, WidthsBlocksAndCutCharacters)
{
    const struct
    {
        const char16_t *text;
        int width, offset, length;
        const char16_t *piece;
    } cases[] = {
        {u"12345", 9, 0, 3, u"   "}, // GENKAKEI 12345 in its three boxes
        {u"12345", 9, 3, 3, u" 12"},
        {u"12345", 9, 6, 3, u"345"},
        {u"7", 3, 0, 1, u" "}, // BINN 7
        {u"7", 3, 2, 1, u"7"},
        {u"", 5, 0, 0, u"     "},               // empty: blanks all the same
        {u"1234567890", 9, 0, 0, u"234567890"}, // longer: its last characters
        {u"ab", 0, 0, 0, u"ab"},                // no width: as stored
        {u"ｱｲ", 4, 0, 0, u"  ｱｲ"},              // half-width kana: one byte each
        {u"品名", 4, 0, 0, u"品名"},
        {u"品名", 3, 0, 0, u" 名"}, // the cut lead of 品 prints as a blank
        {u"品名", 6, 0, 3, u"   "}, // ... and so does a cut at the piece's end
        {u"品名", 6, 3, 3, u" 名"},
        {u"x品", 3, 0, 2, u"x "},
    };
    for (const auto &c : cases) {
        const QString input = QString::fromUtf16(c.text);
        EXPECT_EQ(RightPiece(input, c.width, c.offset, c.length), QString::fromUtf16(c.piece))
            << input.toStdString() << " " << c.width << " " << c.offset;
    }
}

TEST_F(SlipCompositionTest, EverySlipComposesToItsRecordsByteForByte)
{
    for (const int lines : {6, 9}) {
        SCOPED_TRACE(lines);
        const QMap<QString, QVariant> layout = SlipPrintData::setLayout(db, TypeName, lines, 85);
        execute("DELETE FROM TAMBREL");
        const QMap<QString, QVariant> first = SlipPrintData::insertSlip(db, 1);
        SlipPrintData::insertSlip(db, 2, {}, 0); // not marked
        const QMap<QString, QVariant> second = SlipPrintData::insertSlip(db, 3);
        const QByteArray bytes = compose();
        const QList<Record> one = expectedRecords(layout, first);
        // 30 header records, 26 per item line, 35 for totals and the free fields.
        EXPECT_EQ(one.size(), 30 + 26 * lines + 35);
        EXPECT_EQ(bytes, recordBytes(one) + "E\r\n" + recordBytes(expectedRecords(layout, second)));
        const QList<FileRecord> records = readRecords(dataFile);
        EXPECT_EQ(std::count_if(records.begin(), records.end(),
                                [](const FileRecord &r) { return r.letter == QLatin1Char('E'); }),
                  1);
    }
}

TEST_F(SlipCompositionTest, WorkedExamplesAndBlanks)
{
    const QMap<QString, QVariant> L = SlipPrintData::setLayout(db, TypeName, 6, 85, 51, 50);
    SlipPrintData::insertSlip(db, 1,
                              {{"GENKAKEI_1", 12345},
                               {"BINN", "7"},
                               {"GOUKEI_URI6_T", 9800},
                               {"GOUKEI_URI9_T", 1111},
                               {"KAZU_11", QVariant()},
                               {"KAZU_21", 42}});
    compose();
    const QList<FileRecord> r = readRecords(dataFile);
    const auto textAt = [&](const char *x, const char *y, int dx = 0, int dy = 0) {
        const Record *rec = at(r, L.value(x).toInt() + dx, L.value(y).toInt() + dy);
        return rec ? rec->text : QStringLiteral("<none>");
    };
    EXPECT_EQ(textAt("GENKAKEI_1_X", "GENKAKEI_Y"), "   ");
    EXPECT_EQ(textAt("GENKAKEI_2_X", "GENKAKEI_Y"), " 12");
    EXPECT_EQ(textAt("GENKAKEI_3_X", "GENKAKEI_Y"), "345");
    EXPECT_EQ(textAt("BINN1_X", "BINN_Y"), " ");
    EXPECT_EQ(textAt("BINN2_X", "BINN_Y"), " ");
    EXPECT_EQ(textAt("BINN3_X", "BINN_Y"), "7");
    const QStringList uri{" ", " ", " ", " ", " ", "9", "8", "0", "0"};
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(textAt("GOUKEI_URI_T_X", "GOUKEI_URI_T_Y", k * 50), uri.at(k)) << k;
    // An empty quantity is still one record of five blanks; line 2 is one pitch lower.
    EXPECT_EQ(textAt("KAZU_1_X", "KAZU_Y"), "     ");
    EXPECT_EQ(textAt("KAZU_1_X", "KAZU_Y", 0, 85), "   42");
}

TEST_F(SlipCompositionTest, LineCountPicksLinesAndTotals)
{
    const struct
    {
        int lines;
        int records;
        const char *total;
    } cases[] = {{9, 299, "    9"}, {6, 221, "    6"}, {7, 221, "    6"}, {0, 221, "    6"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.lines);
        const QMap<QString, QVariant> L = SlipPrintData::setLayout(db, TypeName, c.lines, 85);
        execute("DELETE FROM TAMBREL");
        SlipPrintData::insertSlip(
            db, 1, {{"GOUKEI_KAZU9_1", 9}, {"GOUKEI_KAZU6_1", 6}, {"HINMEI_71", "L7"}});
        compose();
        const QList<FileRecord> r = readRecords(dataFile);
        EXPECT_EQ(r.size(), c.records);
        const Record *total =
            at(r, L.value("GOUKEI_KAZU_1_X").toInt(), L.value("GOUKEI_KAZU_Y").toInt());
        ASSERT_NE(total, nullptr);
        EXPECT_EQ(total->text, c.total);
        // Line 7 only with nine lines, even when it is filled.
        const Record *line7 =
            at(r, L.value("HINMEI_1_X").toInt(), L.value("HINMEI_1_Y").toInt() + 6 * 85);
        EXPECT_EQ(line7 != nullptr, c.lines == 9);
    }
}

TEST_F(SlipCompositionTest, PitchZeroPutsAllLinesOnTheFirst)
{
    const QMap<QString, QVariant> L = SlipPrintData::setLayout(db, TypeName, 6, 0);
    SlipPrintData::insertSlip(db, 1);
    compose();
    int onLineOne = 0;
    for (const FileRecord &r : readRecords(dataFile)) {
        if (r.record.x == L.value("HINMEI_1_X").toInt())
            onLineOne += r.record.y == L.value("HINMEI_1_Y").toInt();
    }
    EXPECT_EQ(onLineOne, 6);
}

TEST_F(SlipCompositionTest, MissingColumnsEndTheRunAtTheirStep)
{
    SlipPrintData::setLayout(db, TypeName, 6, 85);
    SlipPrintData::insertSlip(db, 1);
    // A layout without a column: nothing is written.
    openSets();
    {
        EditableResultSet partial;
        partial.setTransaction(&tr);
        partial.setReadOnly(true);
        partial.setSql(QStringLiteral("SELECT ID, DENNAME, FORMNAME FROM TAMBRELSET"));
        partial.open();
        EXPECT_THROW(SlipLayout::read(partial), DbError);
    }
    // A slip without a column: the run ends at the first slip after the closing
    // steps printed what was written (here one empty page).
    openSets(QStringLiteral("SELECT ID, CONAME FROM TAMBREL WHERE (PRINTOUT = 1)"));
    const QString out = dir.filePath("out.pdf");
    VDBPrint().selectPdf(out);
    ComposeJob job;
    job.dataFile = dataFile;
    job.batch = true;
    ComposeOutput output = ComposeOutput::None;
    EXPECT_THROW(ComposePrintData(SlipLayout::read(rows), slips, job, &output), DbError);
    EXPECT_EQ(output, ComposeOutput::Printed);
    EXPECT_TRUE(QFile::exists(out));
    EXPECT_EQ(QFile(dataFile).size(), 0);

    // A command file that cannot be created: nothing printed or previewed.
    QFile::remove(out);
    job.dataFile = dir.filePath("no/such/folder/Prntmpp.tmp");
    openSets();
    EXPECT_ANY_THROW(ComposePrintData(SlipLayout::read(rows), slips, job, &output));
    EXPECT_EQ(output, ComposeOutput::None);
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(SlipCompositionTest, ShowPDAndPaperChoosePreviewOrPrint)
{
    SlipPrintData::setLayout(db, TypeName, 6, 85);
    SlipPrintData::insertSlip(db, 1);
    const struct
    {
        int showPD, paper;
        ComposeOutput output;
        bool dialog;
    } cases[] = {
        {1, 9, ComposeOutput::Previewed, false}, {1, 256, ComposeOutput::Previewed, false},
        {1, 1, ComposeOutput::Printed, true},    {1, 14, ComposeOutput::Printed, true},
        {0, 9, ComposeOutput::Printed, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QString("ShowPD %1 paper %2").arg(c.showPD).arg(c.paper).toStdString());
        VDBPrint().selectPdf(dir.filePath("out.pdf"));
        SlipPrintData::updateLayout(db, TypeName, {{"SHOWPD", c.showPD}, {"PR_FORM", 0}});
        openSets();
        bool dialogShown = false;
        TStartPrintDlg::setExecutor([&](QPrinter &, int, int) {
            dialogShown = true;
            return false; // cancelled: nothing printed
        });
        bool previewShown = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto *preview = qobject_cast<TImageDispForm *>(QApplication::activeModalWidget())) {
                previewShown = true;
                preview->close();
            }
        });
        closer.start(10);
        ComposeJob job;
        job.dataFile = dataFile;
        job.paperCode = c.paper;
        ComposeOutput output = ComposeOutput::None;
        ComposePrintData(SlipLayout::read(rows), slips, job, &output);
        EXPECT_EQ(output, c.output);
        EXPECT_EQ(previewShown, c.output == ComposeOutput::Previewed);
        EXPECT_EQ(dialogShown, c.dialog);
        // The writer got the layout's settings.
        EXPECT_EQ(TPrintTool::settings().paperSize, c.paper);
        EXPECT_EQ(TPrintTool::settings().title, TypeName);
        EXPECT_EQ(TPrintTool::settings().showDialog, c.showPD);
    }
}
