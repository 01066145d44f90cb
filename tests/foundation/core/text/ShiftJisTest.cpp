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
