#include "serial/CheckDigit.h"
#include "ScriptedMessages.h"
#include "app/AppError.h"

#include <gtest/gtest.h>

namespace {

const QString kSixDigitsMessage =
    QStringLiteral("桁数が不正です。\r\r7DR 方式の CD 計算には 6桁必要です。");
const QString kTenDigitsMessage =
    QStringLiteral("桁数が不正です。\r\rモジュラス11 の CD 計算には 10桁必要です。");

struct DigitCase
{
    const char *typed;
    const char *normalised;
    const char *checkDigit;
};

} // namespace

TEST(CheckDigit7DR, RemainderOfSevenOfTheNormalisedNumber)
{
    const DigitCase cases[] = {
        {"123456", "123456", "4"},    {"１２３４５６", "123456", "4"}, // full width
        {"12-34 5６", "123456", "4"}, {"000007", "000007", "0"},       {"999999", "999999", "0"},
        {"000006", "000006", "6"},    {"100000", "100000", "5"},
    };
    ScriptedMessages messages;
    for (const DigitCase &c : cases) {
        QString number = QString::fromUtf8(c.typed);
        EXPECT_EQ(CheckDigit7DR(number), QString::fromUtf8(c.checkDigit)) << c.typed;
        EXPECT_EQ(number, QString::fromUtf8(c.normalised)) << c.typed;
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(CheckDigit7DR, OtherThanSixDigitsIsRefused)
{
    for (const char *typed : {"12345", "1234567", "", "abcdef", "12345a"}) {
        QString number = QString::fromUtf8(typed);
        try {
            CheckDigit7DR(number);
            ADD_FAILURE() << typed << " gave a check digit";
        } catch (const AppError &e) {
            EXPECT_EQ(e.message(), kSixDigitsMessage) << typed;
        }
    }
}

TEST(CheckDigitModulus11, WeightedSumRemainders)
{
    const DigitCase cases[] = {
        {"1234567890", "1234567890", "7"}, // 180 mod 11 = 4
        {"0000000005", "0000000005", "1"}, // remainder 10
        {"0000000000", "0000000000", "0"}, // remainder 0
        {"０００００００００５", "0000000005", "1"},
        {"0000-000-002", "0000000002", "7"}, // 4 mod 11 = 4
        {"9999999999", "9999999999", "3"},   // 360 mod 11 = 8
    };
    ScriptedMessages messages;
    for (const DigitCase &c : cases) {
        QString number = QString::fromUtf8(c.typed);
        for (bool check : {true, false}) {
            QString n = number;
            EXPECT_EQ(CheckDigitModulus11(n, check), QString::fromUtf8(c.checkDigit)) << c.typed;
            EXPECT_EQ(n, QString::fromUtf8(c.normalised));
        }
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(CheckDigitModulus11, MissingNumberWithAndWithoutTheCheck)
{
    ScriptedMessages messages;
    QString number = QStringLiteral("0000000006"); // sum 12, remainder 1
    EXPECT_EQ(CheckDigitModulus11(number, false), QStringLiteral("0"));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_TRUE(IsModulus11MissingNumber(number));

    number = QStringLiteral("０００００００００６");
    EXPECT_EQ(CheckDigitModulus11(number, true), QString());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("0000000006：この番号は欠番です。"));
    EXPECT_EQ(messages.shown()[0].type, MsgType::Information);
    EXPECT_EQ(messages.shown()[0].buttons, MsgButtons(MsgButton::Ok));
}

TEST(CheckDigitModulus11, OtherThanTenDigitsIsRefused)
{
    ScriptedMessages messages;
    for (const char *typed : {"000000005", "12345678901", "", "123456789x"}) {
        QString number = QString::fromUtf8(typed);
        try {
            CheckDigitModulus11(number, true);
            ADD_FAILURE() << typed << " gave a check digit";
        } catch (const AppError &e) {
            EXPECT_EQ(e.message(), kTenDigitsMessage) << typed;
        }
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(CheckDigitModulus11, MissingNumbersAreExactlyRemainderOne)
{
    // Against a direct computation over a range that crosses digit carries.
    static constexpr int kWeights[10] = {6, 5, 4, 3, 2, 6, 5, 4, 3, 2};
    int missing = 0;
    for (qint64 v = 1234500000LL; v < 1234502000LL; ++v) {
        const QString text = QString::number(v);
        int sum = 0;
        for (int i = 0; i < 10; ++i)
            sum += (text.at(i).unicode() - u'0') * kWeights[i];
        const int r = sum % 11;
        QString n = text;
        const QString cd = CheckDigitModulus11(n, false);
        ASSERT_EQ(IsModulus11MissingNumber(text), r == 1) << v;
        ASSERT_EQ(cd, QString::number(r <= 1 ? 0 : 11 - r)) << v;
        missing += r == 1;
    }
    EXPECT_GT(missing, 100);
}
