#include "serial/SerialNumber.h"
#include "ScopedSettings.h"
#include "ScriptedMessages.h"
#include "SerialTestSupport.h"
#include "TestDatabase.h"
#include "app/AppError.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class SerialCounter : public ::testing::Test
{
protected:
    void useWidth(int denKetaCD)
    {
        TambrelSettings s;
        s.F_DbPath = m_file.path();
        s.DenKetaCD = denKetaCD;
        s.AutoRenban = true;
        m_settings.reset();
        m_settings = std::make_unique<ScopedSettings>(s);
    }
    void SetUp() override { useWidth(1); }

    QString reserve() { return GetSerialNumber(kSlipNumberKind, 1, false); }
    QString save(const QString &number)
    {
        return GetSerialNumber(kSlipNumberKind, 1, true, number);
    }
    QString cancel(const QString &number)
    {
        return GetSerialNumber(kSlipNumberKind, 0, true, number);
    }
    CounterRow counter() const { return readCounter(m_file.path()); }
    static CounterRow row(qint64 renban, qint64 scount) { return CounterRow{true, renban, scount}; }

    TestDatabase m_file;
    std::unique_ptr<ScopedSettings> m_settings;
    ScriptedMessages m_messages;
};

} // namespace

TEST_F(SerialCounter, FirstReservationCreatesTheRowAndSavingCommitsIt)
{
    EXPECT_FALSE(counter().exists);
    const QString first = reserve();
    EXPECT_EQ(first, QStringLiteral("000001"));
    EXPECT_EQ(counter(), row(0, 1));
    save(first);
    EXPECT_EQ(counter(), row(1, 0));
    EXPECT_EQ(reserve(), QStringLiteral("000002"));
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(SerialCounter, TwoReservationsBeforeEitherIsSaved)
{
    writeCounter(m_file.path(), 40, 0);
    const QString a = reserve();
    const QString b = reserve();
    EXPECT_EQ(a, QStringLiteral("000041"));
    EXPECT_EQ(b, QStringLiteral("000042"));
    EXPECT_EQ(counter(), row(40, 2));
    save(a);
    EXPECT_EQ(counter(), row(41, 1));
    save(b);
    EXPECT_EQ(counter(), row(42, 0));
}

TEST_F(SerialCounter, CancelLowersTheReservationsNeverBelowZero)
{
    writeCounter(m_file.path(), 7, 0);
    const QString a = reserve();
    EXPECT_EQ(a, QStringLiteral("000008"));
    cancel(a);
    EXPECT_EQ(counter(), row(7, 0));
    // A second cancel of the same slip, and the cancel of a slip that held
    // no number, find nothing open.
    cancel(a);
    cancel(QString());
    EXPECT_EQ(counter(), row(7, 0));
    // One clerk alone gets the cancelled number again.
    EXPECT_EQ(reserve(), QStringLiteral("000008"));
    EXPECT_EQ(counter(), row(7, 1));
}

TEST_F(SerialCounter, SavingWithoutAReservationCountsTheSlip)
{
    // Numbering off: the slip holds no number, the save still counts it.
    save(QString());
    save(QString());
    EXPECT_EQ(counter(), row(2, 0));
}

TEST_F(SerialCounter, CancelBelowTheHighestNumberNeverHandsOutAHeldNumber)
{
    struct Case
    {
        const char *name;
        bool saveBBeforeCancel;
    } cases[] = {{"b still open", false}, {"b already saved", true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeCounter(m_file.path(), 0, 0);
        const QString a = reserve();
        const QString b = reserve();
        ASSERT_EQ(a, QStringLiteral("000001"));
        ASSERT_EQ(b, QStringLiteral("000002"));
        if (c.saveBBeforeCancel)
            save(b);
        cancel(a);
        // Lowering the reservations alone would hand "000002" out again.
        const QString next = reserve();
        EXPECT_EQ(next, QStringLiteral("000003"));
        if (!c.saveBBeforeCancel)
            save(b);
        save(next);
        // "000001" is recorded as used: RENBAN counts the two saves and it.
        EXPECT_EQ(counter(), row(3, 0));
        EXPECT_EQ(reserve(), QStringLiteral("000004"));
    }
}

TEST_F(SerialCounter, CancelOfTheHighestNumberGivesItBack)
{
    writeCounter(m_file.path(), 10, 0);
    const QString a = reserve();
    const QString b = reserve();
    EXPECT_EQ(b, QStringLiteral("000012"));
    cancel(b);
    EXPECT_EQ(counter(), row(10, 1));
    EXPECT_EQ(reserve(), QStringLiteral("000012"));
    save(a);
    EXPECT_EQ(counter(), row(11, 1));
}

TEST_F(SerialCounter, SixDigitNumbersStartAgainAfter999999)
{
    writeCounter(m_file.path(), 999999, 0);
    const QString a = reserve();
    EXPECT_EQ(a, QStringLiteral("000001"));
    // A second reservation across the limit gets the next number, not 1 again.
    const QString b = reserve();
    EXPECT_EQ(b, QStringLiteral("000002"));
    save(a);
    EXPECT_EQ(counter(), row(1, 1));
    cancel(b);
    EXPECT_EQ(counter(), row(1, 0));
}

TEST_F(SerialCounter, NumberFormatFollowsTheWidthSetting)
{
    struct Case
    {
        int denKetaCD;
        const char *number;
    } cases[] = {{0, "42"}, {1, "000042"}, {2, "000042"}, {4, "0000000042"}, {5, "42"}, {-1, "42"}};
    for (const Case &c : cases) {
        useWidth(c.denKetaCD);
        writeCounter(m_file.path(), 41, 0);
        EXPECT_EQ(reserve(), QString::fromUtf8(c.number)) << c.denKetaCD;
    }
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(SerialCounter, MissingNumberIsReportedRecordedAndSkippedUnderModulus11)
{
    // 0000000006 has remainder 1: no modulus-11 check digit.
    useWidth(3);
    writeCounter(m_file.path(), 5, 0);
    const QString a = reserve();
    EXPECT_EQ(a, QStringLiteral("0000000007"));
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown()[0].text, QStringLiteral("0000000006：この番号は欠番です。"));
    EXPECT_EQ(m_messages.shown()[0].type, MsgType::Information);
    // The missing number is used; the slip's number stays reserved, so a
    // second program does not get it too.
    EXPECT_EQ(counter(), row(6, 1));
    EXPECT_EQ(reserve(), QStringLiteral("0000000008"));
    save(a);
    EXPECT_EQ(counter(), row(7, 1));
    EXPECT_EQ(m_messages.shown().size(), 1);

    // Without the missing-number check the number is handed out as it is.
    m_messages.clear();
    useWidth(4);
    writeCounter(m_file.path(), 5, 0);
    EXPECT_EQ(reserve(), QStringLiteral("0000000006"));
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(SerialCounter, CancelledSlipAfterAMissingNumberGetsTheSameNumberAgain)
{
    useWidth(3);
    writeCounter(m_file.path(), 5, 0);
    const QString a = reserve();
    ASSERT_EQ(a, QStringLiteral("0000000007"));
    cancel(a);
    EXPECT_EQ(counter(), row(6, 0));
    m_messages.clear();
    EXPECT_EQ(reserve(), QStringLiteral("0000000007"));
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(SerialCounter, NoCounterTableGivesEmptyTextSilently)
{
    executeSql(m_file.path(), QStringLiteral("DROP TABLE RENBAN"));
    EXPECT_EQ(reserve(), QString());
    EXPECT_EQ(save(QStringLiteral("000001")), QString());
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(SerialCounter, CounterBeyondItsRangeFailsAndStaysUnchanged)
{
    useWidth(0);
    writeCounter(m_file.path(), 2147483647LL, 0);
    try {
        reserve();
        FAIL() << "a number beyond the 32-bit counter was handed out";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("連番取得エラー．．．"));
    }
    EXPECT_EQ(counter(), row(2147483647LL, 0));
}

TEST_F(SerialCounter, DatabaseErrorIsTheSerialNumberError)
{
    // A column the counter needs is gone.
    executeSql(m_file.path(), QStringLiteral("ALTER TABLE RENBAN DROP SCOUNT"));
    try {
        reserve();
        FAIL() << "the draw succeeded without SCOUNT";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("連番取得エラー．．．"));
        EXPECT_FALSE(e.detail().isEmpty());
    }
}

TEST(SerialCounterConnection, UnreachableDatabaseIsAConnectError)
{
    TambrelSettings s;
    s.F_DbPath = QDir::temp().filePath(QStringLiteral("no-such-dir/TAMBREL.FDB"));
    ScopedSettings scoped(s);
    try {
        GetSerialNumber(kSlipNumberKind, 1, false);
        FAIL() << "a number came from a missing database";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Database Connect Error"));
    }
}
