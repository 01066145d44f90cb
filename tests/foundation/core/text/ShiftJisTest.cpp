#include "text/ShiftJis.h"

#include <gtest/gtest.h>

TEST(ShiftJis, RoundTripsJapaneseText)
{
    const QString text = QStringLiteral("株式会社テスト　ｶﾅ ABC-123 ①～");
    const QByteArray bytes = ShiftJis::encode(text);
    EXPECT_EQ(ShiftJis::decode(bytes), text);
    EXPECT_EQ(ShiftJis::byteLength(text), bytes.size());
}

TEST(ShiftJis, KnownBytes)
{
    EXPECT_EQ(ShiftJis::encode(QStringLiteral("\u3000")), QByteArray("\x81\x40"));
    EXPECT_EQ(ShiftJis::encode(QStringLiteral("ｱ")), QByteArray("\xB1"));
    EXPECT_EQ(ShiftJis::encode(QStringLiteral("伝票")), QByteArray("\x93\x60\x95\x5B"));
    EXPECT_EQ(ShiftJis::decode(QByteArray("\x93\x60\x95\x5B")), QStringLiteral("伝票"));
}

TEST(ShiftJis, UnrepresentableCharacterIsAnErrorNamingFieldAndPosition)
{
    const struct
    {
        QString text;
        qsizetype position;
    } cases[] = {
        {QStringLiteral("ab\U0001F600c"), 2},
        {QStringLiteral("한국"), 0},
        {QStringLiteral("x\u00E9"), 1},
    };
    for (const auto &c : cases) {
        QByteArray out("untouched");
        qsizetype bad = -1;
        EXPECT_FALSE(ShiftJis::tryEncode(c.text, &out, &bad));
        EXPECT_EQ(bad, c.position);
        EXPECT_EQ(out, QByteArray("untouched"));
        try {
            ShiftJis::encode(c.text, QStringLiteral("社名"));
            ADD_FAILURE() << "encode must throw";
        } catch (const ShiftJisError &e) {
            EXPECT_EQ(e.position(), c.position);
            EXPECT_TRUE(e.userMessage().startsWith(QStringLiteral("社名")));
        }
    }
}

TEST(ShiftJis, ByteLengthAndCutting)
{
    EXPECT_EQ(ShiftJis::byteLength(QStringLiteral("aｱ亜")), 4);
    EXPECT_EQ(ShiftJis::leftBytes(QStringLiteral("亜亜亜"), 5), QStringLiteral("亜亜"));
    EXPECT_EQ(ShiftJis::leftBytes(QStringLiteral("ab亜"), 3), QStringLiteral("ab"));
    EXPECT_EQ(ShiftJis::leftBytes(QStringLiteral("ab亜"), 4), QStringLiteral("ab亜"));
}

TEST(ShiftJis, InvalidBytesDecodeVisibly)
{
    // A lone lead byte at the end and an unassigned code.
    const QString s = ShiftJis::decode(QByteArray("A\x81"));
    EXPECT_EQ(s.size(), 2);
    EXPECT_EQ(s.at(0), QLatin1Char('A'));
    EXPECT_EQ(s.at(1), QChar(QChar::ReplacementCharacter));
}

// Every character the codec takes comes back as itself, or as the look-alike
// normalized() names; nothing comes back as another character.
TEST(ShiftJis, EveryAcceptedCharacterComesBackAsStored)
{
    int accepted = 0;
    for (char32_t u = 0; u <= 0xFFFF; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue;
        const QString typed = QString(QChar(char16_t(u)));
        for (auto charset : {ShiftJis::Charset::Cp932, ShiftJis::Charset::Sjis0208}) {
            QByteArray bytes;
            if (!ShiftJis::tryEncode(typed, &bytes, nullptr, charset))
                continue;
            ++accepted;
            ASSERT_EQ(ShiftJis::decode(bytes), ShiftJis::normalized(typed))
                << "U+" << std::hex << unsigned(u);
            ASSERT_TRUE(ShiftJis::canEncode(ShiftJis::normalized(typed), charset));
        }
    }
    // The code page holds several thousand characters; an empty table would
    // pass the loop above.
    EXPECT_GT(accepted, 2 * 7000);
}

TEST(ShiftJis, CharactersThatCameBackChangedAreStoredAsLookAlikesOrRefused)
{
    const struct
    {
        const char16_t *typed;
        const char16_t *stored; // nullptr: refused
        const char *bytes;
    } cases[] = {
        {u"¥", nullptr, nullptr},   // glibc writes the backslash byte
        {u"‾", nullptr, nullptr},   // glibc writes "~"
        {u"〜", u"～", "\x81\x60"}, // wave dash
        {u"‖", u"∥", "\x81\x61"},   // double vertical line
        {u"−", u"－", "\x81\x7C"},  // minus sign
        {u"—", u"―", "\x81\x5C"},   // em dash
        {u"¢", u"￠", "\x81\x91"},  {u"£", u"￡", "\x81\x92"},
        {u"¬", u"￢", "\x81\xCA"},  {u"￥", u"￥", "\x81\x8F"}, // the yen sign the code page has
        {u"\\~", u"\\~", "\\~"},    {u"～∥－", u"～∥－", "\x81\x60\x81\x61\x81\x7C"},
    };
    for (const auto &c : cases) {
        const QString typed = QString::fromUtf16(c.typed);
        QByteArray bytes;
        const bool ok = ShiftJis::tryEncode(typed, &bytes);
        if (!c.stored) {
            EXPECT_FALSE(ok) << qPrintable(typed);
            EXPECT_FALSE(ShiftJis::canEncode(ShiftJis::normalized(typed))) << qPrintable(typed);
            continue;
        }
        ASSERT_TRUE(ok) << qPrintable(typed);
        EXPECT_EQ(bytes, QByteArray(c.bytes)) << qPrintable(typed);
        EXPECT_EQ(ShiftJis::normalized(typed), QString::fromUtf16(c.stored));
        EXPECT_EQ(ShiftJis::decode(bytes), QString::fromUtf16(c.stored));
    }
}

TEST(ShiftJis, DatabaseColumnsHoldNoCodeFromLeadByteF0)
{
    const struct
    {
        const char16_t *text;
        bool cp932;
        bool column;
    } cases[] = {
        {u"髙島屋", true, false}, // FB FC, an IBM extension
        {u"①", true, true},       // 87 40, the NEC row
        {u"纊", true, false},     // FA 5C, an IBM extension as well
        {u"\uE000", true, false}, // F0 40, the user-defined area
        {u"高島屋ｶﾅ", true, true},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(ShiftJis::canEncode(text, ShiftJis::Charset::Cp932), c.cp932) << qPrintable(text);
        qsizetype bad = -1;
        EXPECT_EQ(ShiftJis::tryEncode(text, nullptr, &bad, ShiftJis::Charset::Sjis0208), c.column)
            << qPrintable(text);
        if (!c.column) {
            EXPECT_EQ(bad, 0);
        }
    }
}

TEST(ShiftJis, ABadByteCostsOnlyItself)
{
    const struct
    {
        QByteArray bytes;
        const char16_t *text;
    } cases[] = {
        {QByteArray("\x81\x0A\x41", 3), u"\uFFFD\nA"}, // lead byte before a line break
        {QByteArray("K\x81=V"), u"K\uFFFD=V"},         // before an INI separator
        {QByteArray("a\x9F;b"), u"a\uFFFD;b"},         // before a command-file separator
        {QByteArray("\x85\x40"), u"\uFFFD@"},          // unassigned code
        {QByteArray("\x80\x41"), u"\uFFFDA"},
        {QByteArray("\xFD\xFE\xFF"), u"\uFFFD\uFFFD\uFFFD"},
        {QByteArray("A\x81"), u"A\uFFFD"},
        {QByteArray("\x81\x7F\x81\x40"), u"\uFFFD\x7F\u3000"}, // then a whole character
        {QByteArray("\x93\x60\x95\x5B"), u"伝票"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ShiftJis::decode(c.bytes), QString::fromUtf16(c.text)) << c.bytes.toHex().data();
}
