#include "totals/SlipTotals.h"
#include "MemorySlipRecord.h"
#include "ScopedSettings.h"
#include "TestDatabase.h"
#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/EditableResultSet.h"
#include "db/Transaction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// One item line as the clerk typed it: "12.5" style texts, split into the
// integer column and the decimal text column as the form stores them.
struct Typed
{
    const char *quantity = nullptr;
    const char *costPrice = nullptr;
    const char *sellingPrice = nullptr;
    const char *corrected = nullptr;
};

void putDecimal(MemorySlipRecord &slip, const QString &integerColumn, const QString &fractionColumn,
                const char *typed)
{
    if (!typed)
        return;
    const QStringList parts = QString::fromLatin1(typed).split(QLatin1Char('.'));
    slip.setValue(integerColumn, parts[0].toInt());
    if (parts.size() > 1)
        slip.setValue(fractionColumn, parts[1]);
}

MemorySlipRecord slipWith(std::initializer_list<std::pair<int, Typed>> lines)
{
    MemorySlipRecord slip;
    for (const auto &[n, t] : lines) {
        const QString d = QString::number(n);
        putDecimal(slip, "KAZU_" + d + "1", "KAZU_" + d + "2", t.quantity);
        putDecimal(slip, "GENKA_" + d + "1", "GENKA_" + d + "2", t.costPrice);
        putDecimal(slip, "KAZU_T_" + d + "1", "KAZU_T_" + d + "2", t.corrected);
        if (t.sellingPrice)
            slip.setValue("URITANKA_" + d, QString::fromLatin1(t.sellingPrice).toInt());
    }
    return slip;
}

class SlipTotals : public ::testing::Test
{
protected:
    void SetUp() override { use(0); }
    void use(int marume, bool autoCalc = true)
    {
        TambrelSettings s;
        s.Marume = marume;
        s.AutoCalc = autoCalc;
        m_settings.reset();
        m_settings = std::make_unique<ScopedSettings>(s);
    }
    static QVariant v(const SlipRecord &slip, const char *column)
    {
        return slip.value(QString::fromLatin1(column));
    }
    std::unique_ptr<ScopedSettings> m_settings;
};

QString messageOf(SlipRecord &slip)
{
    try {
        CalculateSlipTotals(slip);
    } catch (const AppError &e) {
        return e.message();
    }
    return QStringLiteral("(calculated)");
}

} // namespace

TEST_F(SlipTotals, RoundAmountByMarume)
{
    struct Case
    {
        int marume;
        double x;
        int expected;
    } cases[] = {
        {0, 2.5, 2},    {0, 3.5, 4},      {0, -2.5, -2},  {0, 10.4, 10}, {0, 10.6, 11},
        {1, 10.99, 10}, {1, -10.99, -10}, {2, 10.01, 11}, {2, 10.0, 10}, {2, -10.5, -10},
        {3, 10.5, 11},  {3, 10.49, 10},   {3, -2.7, -2},  {9, 10.5, 11}, {-1, 2.5, 3},
    };
    for (const Case &c : cases) {
        use(c.marume);
        EXPECT_EQ(RoundAmount(c.x), c.expected) << c.marume << " " << c.x;
    }
    use(0);
    EXPECT_THROW(RoundAmount(2147483648.0), AppError);
    EXPECT_THROW(RoundAmount(-3e9), AppError);
    EXPECT_EQ(RoundAmount(2147483647.0), 2147483647);
}

TEST_F(SlipTotals, LineCostAmountRoundedByMarume)
{
    struct Case
    {
        int marume;
        const char *price;
        int amount;
    } cases[] = {{0, "10.5", 10},  {0, "11.5", 12},  {3, "10.5", 11},
                 {1, "10.99", 10}, {2, "10.01", 11}, {2, "10.00", 10}};
    for (const Case &c : cases) {
        use(c.marume);
        MemorySlipRecord slip = slipWith({{1, {"1", c.price, nullptr}}});
        CalculateSlipTotals(slip);
        EXPECT_EQ(v(slip, "GENKAKEI_1").toInt(), c.amount) << c.marume << " " << c.price;
        EXPECT_EQ(v(slip, "GOUKEI_GENKA6").toInt(), c.amount);
    }
}

// The amounts equal the rounding of p x q computed in floating point, for
// every price with two and every quantity with one decimal, ties included.
TEST_F(SlipTotals, ExactAmountsEqualTheFloatingPointDefinition)
{
    const int quantities[] = {1, 5, 10, 15, 25, 30, 47, 99, 130, 12345}; // tenths
    int ties = 0;
    for (int marume = 0; marume <= 3; ++marume) {
        use(marume);
        for (int cents = 0; cents <= 2000; cents += 3) {
            for (int tenths : quantities) {
                MemorySlipRecord slip;
                slip.setValue("KAZU_11", tenths / 10);
                slip.setValue("KAZU_12", QString::number(tenths % 10));
                slip.setValue("GENKA_11", cents / 100);
                slip.setValue("GENKA_12", QStringLiteral("%1").arg(cents % 100, 2, 10, QChar('0')));
                CalculateSlipTotals(slip);
                const long double p = (long double)(cents)*100; // scaled by 10000
                const long double q = (long double)(tenths)*1000;
                const double x = double(p * q / 100000000.0L);
                ties += std::fabs(x - std::trunc(x)) == 0.5;
                ASSERT_EQ(v(slip, "GENKAKEI_1").toInt(), RoundAmount(x))
                    << "marume " << marume << " price " << cents << " qty " << tenths;
            }
        }
    }
    EXPECT_GT(ties, 100);
}

TEST_F(SlipTotals, DecimalDigitsCarryIntoTheQuantityTotal)
{
    struct Case
    {
        MemorySlipRecord slip;
        int total6;
        const char *digit6;
        int total9;
        const char *digit9;
    } cases[] = {
        {slipWith({{1, {"1.5"}}, {2, {"2.7"}}, {3, {"3.9"}}}), 8, "1", 8, "1"},
        {slipWith({{1, {"1.5"}}, {2, {"2.5"}}}), 4, "", 4, ""},
        {slipWith({{1, {"0.5"}}, {7, {"2.5"}}}), 0, "5", 3, ""},
        {slipWith({{4, {"10"}}, {9, {"0.3"}}}), 10, "", 10, "3"},
    };
    for (Case &c : cases) {
        CalculateSlipTotals(c.slip);
        EXPECT_EQ(v(c.slip, "GOUKEI_KAZU6_1").toInt(), c.total6);
        EXPECT_EQ(v(c.slip, "GOUKEI_KAZU6_1").isNull(), c.total6 == 0);
        EXPECT_EQ(v(c.slip, "GOUKEI_KAZU6_2").toString(), QString::fromLatin1(c.digit6));
        EXPECT_EQ(v(c.slip, "GOUKEI_KAZU9_1").toInt(), c.total9);
        EXPECT_EQ(v(c.slip, "GOUKEI_KAZU9_2").toString(), QString::fromLatin1(c.digit9));
    }
}

TEST_F(SlipTotals, SumOfDecimalDigitsIgnoresWhatIsNotADigit)
{
    MemorySlipRecord slip;
    slip.setValue("KAZU_12", QStringLiteral("7"));
    slip.setValue("KAZU_22", QStringLiteral("x"));
    slip.setValue("KAZU_32", QStringLiteral("8"));
    slip.setValue("KAZU_82", QStringLiteral("6"));
    slip.setValue("KAZU_T_12", QStringLiteral("4"));
    const QuantityDecimals six = SumQuantityDecimals(slip, false, false);
    EXPECT_EQ(six.carry, 1);
    EXPECT_EQ(six.remainder, QStringLiteral("5"));
    const QuantityDecimals nine = SumQuantityDecimals(slip, true, false);
    EXPECT_EQ(nine.carry, 2);
    EXPECT_EQ(nine.remainder, QStringLiteral("1"));
    const QuantityDecimals corrected = SumQuantityDecimals(slip, true, true);
    EXPECT_EQ(corrected.carry, 0);
    EXPECT_EQ(corrected.remainder, QStringLiteral("4"));
}

TEST_F(SlipTotals, WholeSlipAmountsAndTotals)
{
    MemorySlipRecord slip = slipWith({{1, {"2", "100.25", "150"}},
                                      {2, {"1.5", "80", "120"}},
                                      {3, {nullptr, "50", "70"}}, // price without quantity
                                      {7, {"3", "10.05", "15"}}});
    slip.setValue("BIKOU_3", QStringLiteral("メモ"));
    CalculateSlipTotals(slip);
    EXPECT_EQ(v(slip, "GENKAKEI_1").toInt(), 200); // 200.5, half to even
    EXPECT_EQ(v(slip, "GENKAKEI_2").toInt(), 120);
    EXPECT_TRUE(v(slip, "GENKAKEI_3").isNull());
    EXPECT_EQ(v(slip, "GENKAKEI_7").toInt(), 30); // 30.15
    EXPECT_EQ(v(slip, "BIKOU_1").toString(), QStringLiteral("300"));
    EXPECT_EQ(v(slip, "BIKOU_2").toString(), QStringLiteral("180"));
    EXPECT_TRUE(v(slip, "BIKOU_3").isNull());
    EXPECT_EQ(v(slip, "BIKOU_7").toString(), QStringLiteral("45"));
    EXPECT_EQ(v(slip, "GOUKEI_GENKA6").toInt(), 320);
    EXPECT_EQ(v(slip, "GOUKEI_GENKA9").toInt(), 350);
    EXPECT_EQ(v(slip, "GOUKEI_URI6").toInt(), 480);
    EXPECT_EQ(v(slip, "GOUKEI_URI9").toInt(), 525);
    EXPECT_EQ(v(slip, "GOUKEI_KAZU6_1").toInt(), 3);
    EXPECT_EQ(v(slip, "GOUKEI_KAZU6_2").toString(), QStringLiteral("5"));
    EXPECT_EQ(v(slip, "GOUKEI_KAZU9_1").toInt(), 6);
    // No corrections anywhere: no corrected totals, although the plain
    // amounts are there.
    for (const char *c : {"GOUKEI_GENKA6_T", "GOUKEI_GENKA9_T", "GOUKEI_URI6_T", "GOUKEI_URI9_T"})
        EXPECT_TRUE(v(slip, c).isNull()) << c;
}

TEST_F(SlipTotals, CorrectionOnLineSevenOnly)
{
    MemorySlipRecord slip =
        slipWith({{1, {"2", "100", "150"}}, {7, {"3", "10", "20", "1.5"}}, {8, {"1", "5", "9"}}});
    CalculateCorrectedTotals(slip);
    EXPECT_TRUE(v(slip, "GOUKEI_GENKA6_T").isNull());
    EXPECT_TRUE(v(slip, "GOUKEI_URI6_T").isNull());
    // Lines 1 and 8 from their plain quantities, line 7 from its correction.
    EXPECT_EQ(v(slip, "GOUKEI_GENKA9_T").toInt(), 200 + 15 + 5);
    EXPECT_EQ(v(slip, "GOUKEI_URI9_T").toInt(), 300 + 30 + 9);
    EXPECT_TRUE(v(slip, "GOUKEI_KAZU6_T1").isNull());
    EXPECT_EQ(v(slip, "GOUKEI_KAZU6_T2").toString(), QString());
    EXPECT_EQ(v(slip, "GOUKEI_KAZU9_T1").toInt(), 1);
    EXPECT_EQ(v(slip, "GOUKEI_KAZU9_T2").toString(), QStringLiteral("5"));
}

TEST_F(SlipTotals, CorrectedTotalsOfLinesOneToSix)
{
    MemorySlipRecord slip = slipWith(
        {{1, {"5", "10", "12", "4.5"}}, {2, {"2", "3", "4", "0.7"}}, {3, {"1", "7", "8"}}});
    CalculateCorrectedTotals(slip);
    EXPECT_EQ(v(slip, "GOUKEI_KAZU6_T1").toInt(), 5); // 4 + 0 + carry 1
    EXPECT_EQ(v(slip, "GOUKEI_KAZU6_T2").toString(), QStringLiteral("2"));
    EXPECT_EQ(v(slip, "GOUKEI_GENKA6_T").toInt(), 45 + 2 + 7); // 2.1 rounds to 2
    EXPECT_EQ(v(slip, "GOUKEI_GENKA9_T").toInt(), 54);
    EXPECT_EQ(v(slip, "GOUKEI_URI6_T").toInt(), 54 + 3 + 8); // 2.8 rounds to 3
    EXPECT_EQ(v(slip, "GOUKEI_URI9_T").toInt(), 65);
}

TEST_F(SlipTotals, NothingHappensWithoutAutoCalcOrWhileBrowsing)
{
    use(0, false);
    MemorySlipRecord slip = slipWith({{1, {"2", "100", "150", "1"}}});
    const int before = slip.writes();
    CalculateSlipTotals(slip);
    CalculateCorrectedTotals(slip);
    CalculateCorrectedAmounts(slip);
    EXPECT_EQ(slip.writes(), before);
    use(0, true);
    slip.setEditing(false);
    CalculateSlipTotals(slip);
    CalculateCorrectedTotals(slip);
    CalculateCorrectedAmounts(slip);
    EXPECT_EQ(slip.writes(), before);
    slip.setEditing(true);
    CalculateCorrectedAmounts(slip);
    EXPECT_EQ(v(slip, "GOUKEI_GENKA6_T").toInt(), 100);
}

TEST_F(SlipTotals, NotANumberStopsAndKeepsLaterColumns)
{
    MemorySlipRecord slip = slipWith({{1, {"2", "10"}}, {2, {"1", "5"}}, {3, {"1", "7"}}});
    slip.setValue("GENKA_32", QStringLiteral("5x"));
    slip.setValue("GENKAKEI_3", 999);
    slip.setValue("GOUKEI_GENKA6", 888);
    EXPECT_EQ(messageOf(slip), QStringLiteral("計算できません。"));
    EXPECT_EQ(v(slip, "GOUKEI_KAZU6_1").toInt(), 4); // written before the failing line
    EXPECT_EQ(v(slip, "GENKAKEI_1").toInt(), 20);
    EXPECT_EQ(v(slip, "GENKAKEI_2").toInt(), 5);
    EXPECT_EQ(v(slip, "GENKAKEI_3").toInt(), 999); // kept
    EXPECT_EQ(v(slip, "GOUKEI_GENKA6").toInt(), 888);

    MemorySlipRecord letter = slipWith({{1, {"2", "10"}}});
    letter.setValue("KAZU_12", QStringLiteral("a"));
    EXPECT_EQ(messageOf(letter), QStringLiteral("計算できません。"));
}

TEST_F(SlipTotals, AmountsThatDoNotFitThePrintedBoxesAreRefused)
{
    struct Case
    {
        MemorySlipRecord slip;
        const char *message; // empty: calculated
    } cases[] = {
        // 99999 x 999999: beyond 32 bits; never stored wrapped.
        {slipWith({{2, {"99999", "999999"}}}),
         "計算できません。\r\r2 行目の金額が 9 桁を超えます。"},
        // Within 32 bits but ten digits.
        {slipWith({{1, {"10001", "99999.99"}}}),
         "計算できません。\r\r1 行目の金額が 9 桁を超えます。"},
        {slipWith({{5, {"1", "1", "1000000000"}}}),
         "計算できません。\r\r5 行目の金額が 9 桁を超えます。"},
        // Nine digits each, ten together.
        {slipWith({{1, {"1000", "600000"}}, {2, {"1000", "600000"}}}),
         "計算できません。\r\r合計金額が 9 桁を超えます。"},
        // The largest printable amount.
        {slipWith({{1, {"10000", "99999.99"}}}), ""},
    };
    for (Case &c : cases) {
        const QString expected =
            *c.message ? QString::fromUtf8(c.message) : QStringLiteral("(calculated)");
        EXPECT_EQ(messageOf(c.slip), expected);
    }
    EXPECT_EQ(v(cases[4].slip, "GENKAKEI_1").toInt(), 999999900);
    EXPECT_TRUE(v(cases[0].slip, "GENKAKEI_2").isNull());
}

TEST(SlipTotalsOnTheForm, CalculatedInTheResultSetsCurrentRow)
{
    TestDatabase file;
    TambrelSettings s;
    s.F_DbPath = file.path();
    s.Marume = 0;
    ScopedSettings scoped(s);
    Database db;
    Transaction tr;
    ConnectDatabase(db, tr);
    EditableResultSet slips;
    slips.setTransaction(&tr);
    slips.setSql(QStringLiteral("SELECT * FROM TAMBREL"));
    slips.open();
    ASSERT_TRUE(slips.Insert());
    slips.setValue(QStringLiteral("KAZU_11"), QStringLiteral("12"));
    slips.setValue(QStringLiteral("KAZU_12"), QStringLiteral("5"));
    slips.setValue(QStringLiteral("GENKA_11"), QStringLiteral("8"));
    slips.setValue(QStringLiteral("GENKA_12"), QStringLiteral("05"));
    slips.setValue(QStringLiteral("URITANKA_1"), QStringLiteral("10"));
    slips.setValue(QStringLiteral("GENKAKEI_2"), 55); // a stale amount of an emptied line
    CalculateSlipTotals(slips);
    EXPECT_EQ(slips.value(QStringLiteral("GENKAKEI_1")).toInt(), 101); // 100.625
    EXPECT_EQ(slips.value(QStringLiteral("BIKOU_1")).toString(), QStringLiteral("125"));
    EXPECT_TRUE(slips.value(QStringLiteral("GENKAKEI_2")).isNull());
    EXPECT_EQ(slips.value(QStringLiteral("GOUKEI_GENKA9")).toInt(), 101);
    EXPECT_EQ(slips.value(QStringLiteral("GOUKEI_KAZU6_1")).toInt(), 12);
    EXPECT_EQ(slips.value(QStringLiteral("GOUKEI_KAZU6_2")).toString(), QStringLiteral("5"));
    EXPECT_TRUE(slips.value(QStringLiteral("GOUKEI_URI6_T")).isNull());
}

// Text that is empty, blank or not a number in the quantity columns. One
// line of 2.5 at cost 100.00 and selling price 30 (plain amounts 250 and 75,
// or 300 and 90 from a corrected 3), varied in one column.
TEST_F(SlipTotals, EmptyBlankAndBadQuantityTexts)
{
    enum Run
    {
        All,       // CalculateSlipTotals
        Corrected, // CalculateCorrectedAmounts
    };
    const QVariant null;
    struct Case
    {
        const char *what;
        Run run;
        QVariant correctedInteger, correctedDigit, plainDigit;
        bool raises;
        QVariant cost6, selling6;   // GOUKEI_GENKA6, GOUKEI_URI6
        QVariant cost6T, selling6T; // GOUKEI_GENKA6_T, GOUKEI_URI6_T
    } cases[] = {
        {"empty corrected digit counts as null", All, null, QStringLiteral(""), QStringLiteral("5"),
         false, 250, 75, null, null},
        {"empty corrected integer and digit", All, QStringLiteral(""), QStringLiteral(""),
         QStringLiteral("5"), false, 250, 75, null, null},
        {"empty digit beside a corrected 3", All, 3, QStringLiteral(""), QStringLiteral("5"), false,
         250, 75, 300, 90},
        {"blank plain digit is not a number", All, null, null, QStringLiteral(" "), true, null,
         null, null, null},
        {"blank corrected digit is not a number", Corrected, null, QStringLiteral(" "),
         QStringLiteral("5"), true, null, null, null, null},
        {"bad corrected digit keeps the plain amounts", All, 3, QStringLiteral("x"),
         QStringLiteral("5"), true, 250, 75, null, null},
        {"bad plain digit under a corrected quantity", Corrected, 3, null, QStringLiteral("x"),
         false, null, null, 300, 90},
    };
    for (const Case &c : cases) {
        MemorySlipRecord slip;
        slip.setValue("KAZU_11", 2);
        slip.setValue("KAZU_12", c.plainDigit);
        slip.setValue("GENKA_11", 100);
        slip.setValue("GENKA_12", QStringLiteral("00"));
        slip.setValue("URITANKA_1", 30);
        if (c.correctedInteger.isValid())
            slip.setValue("KAZU_T_11", c.correctedInteger);
        if (c.correctedDigit.isValid())
            slip.setValue("KAZU_T_12", c.correctedDigit);
        QString message;
        try {
            if (c.run == All)
                CalculateSlipTotals(slip);
            else
                CalculateCorrectedAmounts(slip);
        } catch (const AppError &e) {
            message = e.message();
        }
        if (c.raises)
            EXPECT_EQ(message, QString::fromUtf8(kCannotCalculate)) << c.what;
        else
            EXPECT_TRUE(message.isEmpty()) << c.what << ": " << qPrintable(message);
        auto expectColumn = [&](const char *column, const QVariant &expected) {
            const QVariant got = v(slip, column);
            EXPECT_EQ(got.isNull(), expected.isNull()) << c.what << " " << column;
            if (!expected.isNull()) {
                EXPECT_EQ(got.toInt(), expected.toInt()) << c.what << " " << column;
            }
        };
        expectColumn("GOUKEI_GENKA6", c.cost6);
        expectColumn("GOUKEI_URI6", c.selling6);
        expectColumn("GOUKEI_GENKA6_T", c.cost6T);
        expectColumn("GOUKEI_URI6_T", c.selling6T);
    }
}
