#include "ExportSql.h"
#include "ExportColumns.h"
#include "ExportTexts.h"
#include "app/AppError.h"

#include <gtest/gtest.h>

namespace {

using Params = QList<QPair<QString, QVariant>>;

ExportConditions dates(int format, int kind, const QStringList &from, const QStringList &to)
{
    ExportConditions c;
    c.format = format;
    c.dateKind = kind;
    c.startYear = from.value(0);
    c.startMonth = from.value(1);
    c.startDay = from.value(2);
    c.endYear = to.value(0);
    c.endMonth = to.value(1);
    c.endDay = to.value(2);
    return c;
}

// The lines after the column list.
QStringList tail(const ExportSql &sql)
{
    const qsizetype from = sql.lines.indexOf(QStringLiteral("FROM TAMBREL"));
    return from < 0 ? QStringList{} : sql.lines.mid(from);
}

} // namespace

TEST(ExportSql, ConditionLinesAndParametersInTheOrderTheyAreAdded)
{
    const QStringList july1{"06", "07", "01"};
    const QStringList july31{"06", "07", "31"};
    auto withNames = [](ExportConditions c, const QString &company, const QString &store) {
        c.companyName = company;
        c.storeName = store;
        return c;
    };
    const struct
    {
        const char *what;
        ExportConditions conditions;
        QStringList tail;
        Params params;
    } cases[] = {
        {"actual delivery date, no names",
         dates(0, 1, july1, july31),
         {"FROM TAMBREL", "WHERE (NOUHIN_DATE1 >= :P00 AND NOUHIN_DATE1 <= :P01)"},
         {{"P00", "060701"}, {"P01", "060731"}}},
        {"no date condition, only a store",
         withNames(dates(0, 0, july1, july31), "", u"渋谷店"_qs),
         {"FROM TAMBREL", "WHERE (TENPONAME = :P00)"},
         {{"P00", u"渋谷店"_qs}}},
        {"typewriter format, year month day",
         dates(1, 1, july1, july31),
         {"FROM TAMBREL", "WHERE (NOUHIN_DATE2 >= :P00 AND NOUHIN_DATE2 <= :P01)"},
         {{"P00", "060701"}, {"P01", "060731"}}},
        {"order date with company and store",
         withNames(dates(0, 2, july1, july31), u"丸井"_qs, u"本店"_qs),
         {"FROM TAMBREL", "WHERE (HACYU_DATE >= :P00 AND HACYU_DATE <= :P01)",
          "AND (CONAME = :P02)", "AND (TENPONAME = :P03)"},
         {{"P00", "060701"}, {"P01", "060731"}, {"P02", u"丸井"_qs}, {"P03", u"本店"_qs}}},
        {"delivery date with only a store",
         withNames(dates(0, 3, july1, july31), "", u"本店"_qs),
         {"FROM TAMBREL", "WHERE (NOUHIN_DATE2 >= :P00 AND NOUHIN_DATE2 <= :P01)",
          "AND (TENPONAME = :P02)"},
         {{"P00", "060701"}, {"P01", "060731"}, {"P02", u"本店"_qs}}},
        {"no date condition, company and store",
         withNames(dates(0, 0, {}, {}), u"丸井"_qs, u"本店"_qs),
         {"FROM TAMBREL", "WHERE (CONAME = :P00)", "AND (TENPONAME = :P01)"},
         {{"P00", u"丸井"_qs}, {"P01", u"本店"_qs}}},
        {"no condition at all", dates(1, 0, july1, july31), {"FROM TAMBREL"}, {}},
        {"one-digit and padded parts",
         dates(0, 1, {" 6", "7", "1 "}, {"06", "7", "31"}),
         {"FROM TAMBREL", "WHERE (NOUHIN_DATE1 >= :P00 AND NOUHIN_DATE1 <= :P01)"},
         {{"P00", "060701"}, {"P01", "060731"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const ExportSql sql = BuildExportSql(c.conditions);
        EXPECT_EQ(tail(sql), c.tail);
        EXPECT_EQ(sql.params, c.params);
    }
}

TEST(ExportSql, ColumnListIsOneNamePerLineWithCommaLinesBetween)
{
    for (int format : {kFormatTurnaround, kFormatTypewriter}) {
        const ExportSql sql = BuildExportSql(dates(format, 0, {}, {}));
        const QStringList names = ExportColumnNames(format);
        ASSERT_EQ(sql.lines.size(), 1 + 2 * names.size() - 1 + 1) << format;
        EXPECT_EQ(sql.lines.first(), "SELECT");
        for (int i = 0; i < names.size(); ++i) {
            EXPECT_EQ(sql.lines.at(1 + 2 * i), names.at(i));
            if (i + 1 < names.size()) {
                EXPECT_EQ(sql.lines.at(2 + 2 * i), ",");
            }
        }
        EXPECT_EQ(sql.lines.at(sql.lines.size() - 2), "PRINTOUT");
    }
}

TEST(ExportSql, AFormatOrDateKindOutsideTheListsIsCreateSqlError)
{
    const ExportConditions bad[] = {dates(2, 0, {}, {}), dates(1, 2, {}, {}), dates(0, 4, {}, {}),
                                    dates(0, -1, {}, {})};
    for (const ExportConditions &c : bad) {
        try {
            BuildExportSql(c);
            ADD_FAILURE() << c.format << " " << c.dateKind;
        } catch (const AppError &e) {
            EXPECT_EQ(e.message(), "Err...Create SQL");
        }
    }
}

TEST(ExportColumns, SlipColumnsAndHeadersAtTheirPositions)
{
    const QStringList names = ExportColumnNames(kFormatTurnaround);
    const QStringList headers = ExportHeaders(kFormatTurnaround);
    ASSERT_EQ(names.size(), 198);
    ASSERT_EQ(headers.size(), 198);
    const struct
    {
        int position;
        const char *name;
        QString header;
    } cases[] = {
        {0, "CONAME", u"社名"_qs},
        {2, "COCODE", u"社・店コード"_qs},
        {6, "DENNO_2", u"チェックデジット"_qs},
        {8, "TORIHIKICODE_2", u"取引先コード２"_qs},
        {10, "TORIHIKINAME_2", u"取引先名２"_qs},
        {11, "TEISEI_1", u"訂正区分（有）"_qs},
        {13, "NOUHIN_Y1", u"実納品日（年）"_qs},
        {18, "NOUHIN_D2", u"納品日（日）"_qs},
        {20, "HACYU_M", u"発注日（月）"_qs},
        {22, "BINN", u"便"_qs},
        {23, "HINMEI_11", u"品名・規格（１行目上段）"_qs},
        {24, "HINMEI_12", u"品名・規格（１行目下段）"_qs},
        {25, "HINMEI_21", u"品名・規格（２行目上段）"_qs},
        {40, "HINMEI_92", u"品名・規格（９行目下段）"_qs},
        {41, "CODE_11", u"商品コード（１行目上段）"_qs},
        {58, "CODE_92", u"商品コード（９行目下段）"_qs},
        {59, "COLOR_1", u"色１行目"_qs},
        {68, "IRIKAZU_1", u"入数１行目"_qs},
        {85, "SIZE_9", u"サイズ９行目"_qs},
        {86, "CASEE_1", u"ケース１行目"_qs},
        {103, "TANI_9", u"単位９行目"_qs},
        {104, "KAZU_11", u"数量１行目"_qs},
        {105, "KAZU_12", u"小数部"_qs},
        {106, "KAZU_21", u"数量２行目"_qs},
        {122, "KAZU_T_11", u"訂正後数量１行目"_qs},
        {139, "KAZU_T_92", u"小数部"_qs},
        {141, "HIKIAI_2", u"引合２行目"_qs},
        {149, "KUBUN_1", u"区分１行目"_qs},
        {157, "KUBUN_9", u"区分９行目"_qs},
        {158, "GENKA_11", u"原単価１行目"_qs},
        {175, "GENKA_92", u"小数部"_qs},
        {176, "URITANKA_1", u"売単価１行目"_qs},
        {184, "URITANKA_9", u"売単価９行目"_qs},
        {185, "A_F1", u"A"_qs},
        {196, "L_F1", u"L"_qs},
        {197, "PRINTOUT", u"印刷対象(0=印刷しない、1=印刷）"_qs},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(names.at(c.position), QLatin1String(c.name)) << c.position;
        EXPECT_EQ(headers.at(c.position), c.header) << c.position;
    }
    QStringList unique = names;
    EXPECT_EQ(unique.removeDuplicates(), 0);
}

TEST(ExportColumns, TypewriterFormatLeavesSevenOutAndHeadsTheDateYearMonthDay)
{
    const QStringList all = ExportColumnNames(kFormatTurnaround);
    const QStringList names = ExportColumnNames(kFormatTypewriter);
    const QStringList headers = ExportHeaders(kFormatTypewriter);
    ASSERT_EQ(names.size(), 191);
    ASSERT_EQ(headers.size(), 191);
    for (const char *gone :
         {"TORIHIKICODE_2", "NOUHIN_Y1", "NOUHIN_M1", "NOUHIN_D1", "HACYU_Y", "HACYU_M", "HACYU_D"})
        EXPECT_FALSE(names.contains(QLatin1String(gone))) << gone;
    const qsizetype y = names.indexOf(QStringLiteral("NOUHIN_Y2"));
    ASSERT_EQ(y, 12);
    EXPECT_EQ(headers.mid(y, 3), (QStringList{u"年"_qs, u"月"_qs, u"日"_qs}));
    EXPECT_EQ(headers.at(8), u"取引先名"_qs);
    EXPECT_EQ(names.at(15), "BINN");
    // The rest keeps the turnaround order.
    EXPECT_EQ(names.mid(15), all.mid(22));
}

TEST(ExportColumns, DateKindsAndTheirColumns)
{
    EXPECT_EQ(ExportDateKinds(0),
              (QStringList{u"条件から除外"_qs, u"実納品日"_qs, u"発注日"_qs, u"納品日"_qs}));
    EXPECT_EQ(ExportDateKinds(1), (QStringList{u"条件から除外"_qs, u"年月日"_qs}));
    const struct
    {
        int format, kind;
        const char *column;
    } cases[] = {{0, 0, ""}, {0, 1, "NOUHIN_DATE1"}, {0, 2, "HACYU_DATE"}, {0, 3, "NOUHIN_DATE2"},
                 {1, 0, ""}, {1, 1, "NOUHIN_DATE2"}, {1, 3, ""},           {0, 9, ""}};
    for (const auto &c : cases)
        EXPECT_EQ(ExportDateColumn(c.format, c.kind), QLatin1String(c.column))
            << c.format << " " << c.kind;
}
