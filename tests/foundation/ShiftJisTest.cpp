#include "text/ShiftJis.h"

#include <gtest/gtest.h>

TEST(ShiftJis, RoundTripsJapaneseText)
{
    const QString text = QStringLiteral("株式会社テスト　ｶﾅ ABC-123 ①");
    const QByteArray bytes = ShiftJis::encode(text);
    EXPECT_EQ(ShiftJis::decode(bytes), text);
    EXPECT_EQ(ShiftJis::byteLength(text), bytes.size());
}
