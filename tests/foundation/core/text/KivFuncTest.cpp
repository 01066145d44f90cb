#include "text/KivFunc.h"
#include "text/ShiftJis.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

TEST(TrimWide, HalfAndFullWidthSpaces)
{
    const struct
    {
        const char16_t *in;
        const char16_t *both;
        const char16_t *left;
        const char16_t *right;
    } cases[] = {
        {u"\u3000word \u3000", u"word", u"word \u3000", u"\u3000word"},
        {u"\u3000\u3000\u3000", u"", u"", u""},
        {u"", u"", u"", u""},
        {u" \t\u3000 a\u3000b \r\n", u"a\u3000b", u"a\u3000b \r\n", u" \t\u3000 a\u3000b"},
        {u"\u3000\u3000", u"", u"", u""},
        // A double-byte character whose trail byte is 0x81 followed by "@" is
        // not a full-width space (0x81 0x40): nothing is cut.
        {u"\u30BD@", u"\u30BD@", u"\u30BD@", u"\u30BD@"},
    };
    for (const auto &c : cases) {
        const QString in = QString::fromUtf16(c.in);
        EXPECT_EQ(TrimWide(in), QString::fromUtf16(c.both)) << in.toStdString();
        EXPECT_EQ(TrimLeftWide(in), QString::fromUtf16(c.left)) << in.toStdString();
        EXPECT_EQ(TrimRightWide(in), QString::fromUtf16(c.right)) << in.toStdString();
    }
}

TEST(ExtractDigits, BothWidthsAndBothModes)
{
    const QString mixed = QStringLiteral("１２-３４");
    EXPECT_EQ(ExtractDigits(mixed, true), QStringLiteral("1234"));
    EXPECT_EQ(ExtractDigits(mixed, false), QStringLiteral("12-34"));
    EXPECT_EQ(ExtractDigits(QStringLiteral("￥１，２３４．５０円＋"), false),
              QStringLiteral("1234.50+"));
    EXPECT_EQ(ExtractDigits(QStringLiteral("ＡＢＣあいう"), false), QString());
    EXPECT_EQ(ExtractDigits(QString(), true), QString());
}

TEST(IsNumberChar, DigitsAndSigns)
{
    for (QChar c : QStringLiteral("0123456789"))
        EXPECT_TRUE(IsNumberChar(c, true) && IsNumberChar(c, false));
    for (QChar c : QStringLiteral(".+-")) {
        EXPECT_FALSE(IsNumberChar(c, true));
        EXPECT_TRUE(IsNumberChar(c, false));
    }
    for (QChar c : QStringLiteral("a ,１"))
        EXPECT_FALSE(IsNumberChar(c, false));
}

TEST(RunAndWait, MissingProgramGivesMinusOne)
{
    EXPECT_EQ(RunAndWait(QStringLiteral("no-such-program-tambrel arg"), QString(), 1), -1);
    EXPECT_EQ(RunAndWait(QString(), QString(), 1), -1);
}

TEST(RunAndWait, ReturnsExitCodeAndUsesFolder)
{
    EXPECT_EQ(RunAndWait(QStringLiteral("sh -c \"exit 7\""), QString(), 1), 7);
    EXPECT_EQ(RunAndWait(QStringLiteral("sh -c \"test -f marker\""), QStringLiteral("/"), 1), 1);
}

TEST(VariantIsOne, OnlyTheTextOne)
{
    EXPECT_TRUE(VariantIsOne(1));
    EXPECT_TRUE(VariantIsOne(QStringLiteral("1")));
    EXPECT_FALSE(VariantIsOne(QStringLiteral("01")));
    EXPECT_FALSE(VariantIsOne(QVariant()));
    EXPECT_FALSE(VariantIsOne(true)); // its text is "true"
    EXPECT_FALSE(VariantIsOne(2));
}

TEST(GetComputerNameText, AtMostSixteenCharacters)
{
    const QString name = GetComputerNameText();
    EXPECT_FALSE(name.isEmpty());
    EXPECT_LE(name.size(), 16);
    EXPECT_EQ(name, GetComputerNameText());
}
