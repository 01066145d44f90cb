#include "ExportSession.h"
#include "ExportColumns.h"
#include "ExportFixture.h"
#include "ExportTexts.h"
#include "SheetWriter.h"
#include "XlsxContent.h"
#include "app/AppError.h"

namespace {

class ExportSessionTest : public ExportFixture
{
protected:
    SheetOptions options() const
    {
        SheetOptions o;
        o.trueText = QString::fromUtf16(ExportTexts::kTrueText);
        o.falseText = QString::fromUtf16(ExportTexts::kFalseText);
        return o;
    }

    // Opens the slips and writes them; the sheet read back.
    XlsxContent exportSlips(const ExportConditions &c, bool *hadRows = nullptr)
    {
        ExportSession session;
        const bool rows = session.openSlips(c);
        if (hadRows)
            *hadRows = rows;
        const QStringList headers = ExportHeaders(c.format);
        const QString path = m_out.filePath(QStringLiteral("slips.xlsx"));
        SheetWriter::write(session.IBQuery1(), &headers, options(), path,
                           SheetWriter::Existing::Replace);
        session.close();
        return XlsxContent(path);
    }

    // The values of one column of the sheet below its header.
    static QStringList column(const XlsxContent &x, int col)
    {
        QStringList values;
        for (int row = 2; row <= x.maxRow(); ++row)
            values.append(
                x.cell(XlsxContent::columnName(col) + QString::number(row)).value.toString());
        return values;
    }
};

ExportConditions range(int format, int kind, const QString &from, const QString &to)
{
    ExportConditions c;
    c.format = format;
    c.dateKind = kind;
    c.startYear = from.mid(0, 2);
    c.startMonth = from.mid(2, 2);
    c.startDay = from.mid(4);
    c.endYear = to.mid(0, 2);
    c.endMonth = to.mid(2, 2);
    c.endDay = to.mid(4);
    return c;
}

} // namespace

TEST_F(ExportSessionTest, TheSheetHasTheHeadersOfEachFormatAndTheSlipValues)
{
    insertSlip({{"CONAME", u"丸井"_qs},
                {"COCODE", "0012"},
                {"KAZU_11", 12},
                {"HINMEI_11", u"品名\r\n二行"_qs},
                {"NOUHIN_Y2", "06"},
                {"NOUHIN_DATE2", "060725"},
                {"PRINTOUT", 1}});
    for (int format : {kFormatTurnaround, kFormatTypewriter}) {
        SCOPED_TRACE(format);
        const XlsxContent x = exportSlips(range(format, 0, {}, {}));
        ASSERT_TRUE(x.ok()) << x.error().toStdString();
        const QStringList headers = ExportHeaders(format);
        EXPECT_EQ(x.maxColumn(), format == kFormatTurnaround ? 198 : 191);
        EXPECT_EQ(x.rowTexts(1), headers);
        EXPECT_EQ(x.freezePanes(), "B2");
        const QStringList names = ExportColumnNames(format);
        const auto cellOf = [&](const char *name) {
            return x.cell(XlsxContent::columnName(names.indexOf(QLatin1String(name)) + 1) + "2");
        };
        EXPECT_EQ(cellOf("COCODE").value.toString(), "0012");
        EXPECT_EQ(cellOf("COCODE").type, "s");
        EXPECT_EQ(cellOf("COCODE").format, "@");
        EXPECT_EQ(cellOf("KAZU_11").value.toDouble(), 12.0);
        EXPECT_EQ(cellOf("KAZU_11").type, "n");
        EXPECT_EQ(cellOf("HINMEI_11").value.toString(), u"品名 二行"_qs);
        EXPECT_EQ(cellOf("NOUHIN_Y2").value.toString(), "06");
        EXPECT_EQ(cellOf("PRINTOUT").value.toDouble(), 1.0);
    }
}

TEST_F(ExportSessionTest, DateRangesSelectOnTheirColumnAndOneDigitPartsCount)
{
    const struct
    {
        const char *company;
        const char *actual;   // NOUHIN_DATE1
        const char *ordered;  // HACYU_DATE
        const char *delivery; // NOUHIN_DATE2
    } slips[] = {{"A", "060630", "060701", "060801"},
                 {"B", "060701", "060615", "060731"},
                 {"C", "060731", "060701", "060701"},
                 {"D", "060815", "060731", "060805"}};
    for (const auto &s : slips)
        insertSlip({{"CONAME", s.company},
                    {"NOUHIN_DATE1", s.actual},
                    {"HACYU_DATE", s.ordered},
                    {"NOUHIN_DATE2", s.delivery}});
    const struct
    {
        ExportConditions conditions;
        QStringList companies;
    } cases[] = {
        {range(0, 1, "060701", "060731"), {"B", "C"}},
        {range(0, 2, "060701", "060731"), {"A", "C", "D"}},
        {range(0, 3, "060701", "060731"), {"B", "C"}},
        {range(1, 1, "060801", "060831"), {"A", "D"}},
        // Month typed as one digit: the same as "07", and August stays out.
        {[] {
             ExportConditions c = range(0, 1, "060701", "060731");
             c.startMonth = "7";
             c.endMonth = "7";
             return c;
         }(),
         {"B", "C"}},
    };
    for (const auto &c : cases) {
        const XlsxContent x = exportSlips(c.conditions);
        ASSERT_TRUE(x.ok()) << x.error().toStdString();
        QStringList companies = column(x, 1);
        companies.sort();
        EXPECT_EQ(companies, c.companies) << c.conditions.format << c.conditions.dateKind;
    }
}

TEST_F(ExportSessionTest, NamesWithQuotesReachTheDatabaseAsParameters)
{
    const QString company = u"O'Neil \"商事\" ' OR '1'='1"_qs;
    insertSlip({{"CONAME", company}, {"TENPONAME", u"本店"_qs}});
    insertSlip({{"CONAME", "Other"}, {"TENPONAME", u"本店"_qs}});
    ExportConditions c;
    c.companyName = company;
    c.storeName = u"本店"_qs;
    const XlsxContent x = exportSlips(c);
    ASSERT_TRUE(x.ok()) << x.error().toStdString();
    EXPECT_EQ(column(x, 1), QStringList{company});
}

TEST_F(ExportSessionTest, NoMatchingSlipOpensWithoutRows)
{
    insertSlip({{"CONAME", "A"}, {"NOUHIN_DATE1", "060701"}});
    ExportSession session;
    EXPECT_FALSE(session.openSlips(range(0, 1, "070101", "071231")));
    EXPECT_TRUE(session.openSlips(range(0, 1, "060701", "060701")));
}

TEST_F(ExportSessionTest, FailuresCarryTheTextOfTheirExport)
{
    ExportConditions bad;
    bad.format = 5;
    ExportSession session;
    try {
        session.openSlips(bad);
        FAIL() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), "Err...Table Open");
        EXPECT_TRUE(e.detail().contains("Err...Create SQL")) << e.detail().toStdString();
    }
    TambrelSettings s = settings();
    s.F_DbPath = m_out.filePath("missing.fdb");
    ScopedSettings missing(s);
    const struct
    {
        std::function<void()> call;
        const char *text;
    } cases[] = {
        {[&] { session.openSlips(ExportConditions{}); }, "Err...Table Open"},
        {[&] { session.openMaster(0); }, "Err...Excel Out"},
    };
    for (const auto &c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.text;
        } catch (const AppError &e) {
            EXPECT_EQ(e.message(), QLatin1String(c.text));
            EXPECT_TRUE(e.detail().contains("Database Connect Error")) << e.detail().toStdString();
        }
    }
}

TEST_F(ExportSessionTest, EachMasterExportWithItsHeadersAndOrder)
{
    run("INSERT INTO COMPANY (ID, KUBUN, CONAME1, CONAME2, CODE1, CODE2) VALUES "
        "(0, 0, 'Zeta', 'Z1', '0099', NULL)");
    run("INSERT INTO COMPANY (ID, KUBUN, CONAME1, CONAME2, CODE1, CODE2) VALUES "
        "(0, 0, 'Alpha', 'A1', '0012', NULL)");
    run("INSERT INTO COMPANY (ID, KUBUN, CONAME1, CONAME2, CODE1, CODE2) VALUES "
        "(0, 1, 'Partner', 'P2', '007', '0008')");
    run("INSERT INTO CSITEM (HINMEI1, HINMEI2, CODE1, CODE2, IRO, IRIKAZU, SIZEE, CASEE, TANI, "
        "KAZU1, KAZU2, GENKA1, GENKA2, URITANKA, COCODE) VALUES "
        "('Item', 'two', '000123', NULL, 'red', '12', 'M', '1', 'pc', 5, '5', 100, '05', 150, "
        "'0012')");
    const struct
    {
        int choice;
        int columns;
        QStringList row2;
        QStringList row3;
    } cases[] = {
        {0, 3, {"Alpha", "A1", "0012"}, {"Zeta", "Z1", "0099"}},
        {1, 4, {"Partner", "P2", "007", "0008"}, {}},
        {2,
         15,
         {"Item", "two", "000123", "", "red", "12", "M", "1", "pc", "5", "5", "100", "05", "150",
          "0012"},
         {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.choice);
        const MasterExport master = MasterExportOf(c.choice);
        ExportSession session;
        ASSERT_TRUE(session.openMaster(c.choice));
        const QString path = m_out.filePath(QStringLiteral("m.xlsx"));
        SheetWriter::write(session.IBQuery1(), &master.headers, options(), path,
                           SheetWriter::Existing::Replace);
        const XlsxContent x(path);
        ASSERT_TRUE(x.ok()) << x.error().toStdString();
        EXPECT_EQ(x.maxColumn(), c.columns);
        EXPECT_EQ(x.rowTexts(1), master.headers);
        EXPECT_EQ(x.rowTexts(2), c.row2);
        if (!c.row3.isEmpty())
            EXPECT_EQ(x.rowTexts(3), c.row3);
        else
            EXPECT_EQ(x.maxRow(), 2);
    }
}

TEST_F(ExportSessionTest, AnEmptyMasterTableOpensWithoutRows)
{
    run("INSERT INTO COMPANY (ID, KUBUN, CONAME1) VALUES (0, 0, 'Store only')");
    ExportSession session;
    EXPECT_FALSE(session.openMaster(1));
    EXPECT_TRUE(session.openMaster(0));
}
