#include "ScriptedMessages.h"
#include "SlipFixture.h"
#include "app/AppError.h"
#include "db/DbError.h"
#include "db/EditableResultSet.h"
#include "db/IbFunc.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/UpdateSql.h"
#include "ui/TambrelApplication.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

using State = EditableResultSet::State;

namespace {

class ResultSet : public SlipFixture
{
protected:
    void openSlips()
    {
        m_set.setSql(
            QStringList{QStringLiteral("SELECT * FROM TAMBREL"), QStringLiteral("ORDER BY ID")});
        m_set.open();
        BuildUpdateStatements(m_set, m_update, QStringLiteral("TAMBREL"));
        m_set.setUpdateObject(&m_update);
    }
};

} // namespace

TEST_F(ResultSet, InsertStatementOfThreeColumnsHasFifteenLines)
{
    execute(QStringLiteral("CREATE TABLE T3 (ID INTEGER NOT NULL, A VARCHAR(10), B INTEGER)"));
    m_set.setSql(QStringLiteral("SELECT * FROM T3"));
    m_set.open();
    m_update.modifySql = QStringList{QStringLiteral("stale")};
    ASSERT_TRUE(BuildUpdateStatements(m_set, m_update, QStringLiteral("T3")));
    const QStringList insert{QStringLiteral("INSERT INTO T3"),
                             QStringLiteral("("),
                             QStringLiteral("ID"),
                             QStringLiteral(","),
                             QStringLiteral("A"),
                             QStringLiteral(","),
                             QStringLiteral("B"),
                             QStringLiteral(")"),
                             QStringLiteral("VALUES ("),
                             QStringLiteral(":ID"),
                             QStringLiteral(","),
                             QStringLiteral(":A"),
                             QStringLiteral(","),
                             QStringLiteral(":B"),
                             QStringLiteral(")")};
    EXPECT_EQ(m_update.insertSql, insert);
    EXPECT_EQ(m_update.insertSql.size(), 15);
    EXPECT_EQ(
        m_update.modifySql,
        (QStringList{QStringLiteral("UPDATE T3"), QStringLiteral("SET"), QStringLiteral("ID=:ID"),
                     QStringLiteral(","), QStringLiteral("A=:A"), QStringLiteral(","),
                     QStringLiteral("B=:B"), QStringLiteral("WHERE (ID=:OLD_ID)")}));
    EXPECT_EQ(m_update.deleteSql, (QStringList{QStringLiteral("DELETE FROM T3"),
                                               QStringLiteral("WHERE (ID=:OLD_ID)")}));
    EXPECT_EQ(m_update.refreshSql, (QStringList{QStringLiteral("SELECT * FROM T3"),
                                                QStringLiteral("WHERE (ID=:OLD_ID)")}));
}

TEST_F(ResultSet, BuildingOnAClosedSetIsAnUpdateSqlSetError)
{
    m_update.insertSql = QStringList{QStringLiteral("stale")};
    try {
        BuildUpdateStatements(m_set, m_update, QStringLiteral("TAMBREL"));
        FAIL() << "a closed set has no columns";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("UpdateSQL Set Error"));
    }
    EXPECT_TRUE(m_update.insertSql.isEmpty());
}

TEST_F(ResultSet, OpensWithOneRowAndFetchesTheRestOnDemand)
{
    for (int i = 1; i <= 150; ++i)
        insertSlip(QStringLiteral("社%1").arg(i), 1,
                   QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')));
    QAbstractItemModelTester tester(&m_set, QAbstractItemModelTester::FailureReportingMode::Fatal);
    openSlips();
    EXPECT_EQ(m_set.state(), State::Browse);
    EXPECT_EQ(m_set.recordCount(), 1);
    EXPECT_TRUE(m_set.canFetchMore(QModelIndex()));
    EXPECT_EQ(m_set.value(QStringLiteral("coname")).toString(), QStringLiteral("社1"));
    EXPECT_TRUE(m_set.bof());

    ASSERT_TRUE(m_set.Next());
    EXPECT_EQ(m_set.currentRow(), 1);
    EXPECT_EQ(m_set.recordCount(), 1 + EditableResultSet::kFetchBatch);
    EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("社2"));

    ASSERT_TRUE(m_set.Locate(QStringLiteral("DENNO_1"), QStringLiteral("000140")));
    EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("社140"));
    EXPECT_FALSE(m_set.Locate(QStringLiteral("DENNO_1"), QStringLiteral("999999")));
    EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("社140"));
    EXPECT_TRUE(m_set.allFetched());

    ASSERT_TRUE(m_set.Last());
    EXPECT_TRUE(m_set.eof());
    EXPECT_EQ(m_set.recordCount(), 150);
    EXPECT_EQ(m_set.rowCount(), 150);
    EXPECT_EQ(m_set.data(m_set.index(149, m_set.columnIndex(QStringLiteral("CONAME")))).toString(),
              QStringLiteral("社150"));
    EXPECT_EQ(
        m_set.headerData(m_set.columnIndex(QStringLiteral("CONAME")), Qt::Horizontal).toString(),
        QStringLiteral("CONAME"));
    m_set.Next();
    EXPECT_TRUE(m_set.eof());
    EXPECT_EQ(m_set.currentRow(), 149);
    m_set.First();
    m_set.Prior();
    EXPECT_TRUE(m_set.bof());
    EXPECT_EQ(m_set.currentRow(), 0);
}

TEST_F(ResultSet, EditsStayCachedUntilAppliedAndThenReachTheTable)
{
    const int a = insertSlip(QStringLiteral("甲商店"), 1, QStringLiteral("000001"));
    const int b = insertSlip(QStringLiteral("乙商店"), 0, QStringLiteral("000002"));
    QAbstractItemModelTester tester(&m_set, QAbstractItemModelTester::FailureReportingMode::Fatal);
    openSlips();

    m_set.setValue(QStringLiteral("TENPONAME"), QStringLiteral("本店"));
    EXPECT_EQ(m_set.state(), State::Edit);
    ASSERT_TRUE(m_set.Post());
    ASSERT_TRUE(m_set.Next());
    ASSERT_TRUE(m_set.Delete());
    ASSERT_TRUE(m_set.Append());
    m_set.setValue(QStringLiteral("ID"), 999);
    m_set.setValue(QStringLiteral("CONAME"), QStringLiteral("丙商店"));
    ASSERT_TRUE(m_set.Post());
    EXPECT_TRUE(m_set.updatesPending());

    EXPECT_EQ(committedText(a, "TENPONAME"), QVariant());
    EXPECT_EQ(countRows(QStringLiteral("WHERE ID = %1").arg(b)), 1);

    ASSERT_TRUE(m_set.applyUpdates());
    EXPECT_FALSE(m_set.updatesPending());
    EXPECT_EQ(committedText(a, "TENPONAME").toString(), QStringLiteral("本店"));
    EXPECT_EQ(countRows(QStringLiteral("WHERE ID = %1").arg(b)), 0);
    // The trigger numbered the new row; the cache follows it, so a later edit
    // addresses the row that was written.
    const QVariant newId = m_set.value(QStringLiteral("ID"));
    EXPECT_NE(newId.toInt(), 999);
    EXPECT_EQ(committedText(newId.toInt(), "CONAME").toString(), QStringLiteral("丙商店"));
    m_set.setValue(QStringLiteral("TENPONAME"), QStringLiteral("支店"));
    ASSERT_TRUE(m_set.applyUpdates());
    EXPECT_EQ(committedText(newId.toInt(), "TENPONAME").toString(), QStringLiteral("支店"));
}

TEST_F(ResultSet, EventsOfInsertPostAndCancel)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("1"));
    QAbstractItemModelTester tester(&m_set, QAbstractItemModelTester::FailureReportingMode::Fatal);
    openSlips();
    QList<State> states;
    connect(&m_set, &EditableResultSet::stateChanged, [&](State s) { states << s; });
    int newRecords = 0;
    connect(&m_set, &EditableResultSet::newRecord, [&] {
        ++newRecords;
        m_set.setValue(QStringLiteral("PRINTOUT"), 1);
    });
    bool refusePost = true;
    connect(&m_set, &EditableResultSet::beforePost, [&] {
        if (refusePost && m_set.isNull(QStringLiteral("CONAME")))
            m_set.abort();
    });
    int cancels = 0;
    connect(&m_set, &EditableResultSet::beforeCancel, [&] { ++cancels; });
    QSignalSpy changes(&m_set, &EditableResultSet::recordDataChanged);

    ASSERT_TRUE(m_set.Insert());
    EXPECT_EQ(newRecords, 1);
    EXPECT_EQ(m_set.value(QStringLiteral("PRINTOUT")).toInt(), 1);
    EXPECT_EQ(m_set.recordCount(), 2);
    EXPECT_FALSE(m_set.Post());
    EXPECT_EQ(m_set.state(), State::Insert);
    // Navigation posts first, so a refused post keeps the row where it is.
    EXPECT_FALSE(m_set.Next());
    EXPECT_EQ(m_set.state(), State::Insert);
    ASSERT_TRUE(m_set.Cancel());
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(m_set.recordCount(), 1);
    EXPECT_EQ(m_set.state(), State::Browse);
    EXPECT_FALSE(m_set.updatesPending());

    m_set.setValue(QStringLiteral("CONAME"), QStringLiteral("乙"));
    EXPECT_TRUE(changes.contains(QVariantList{QStringLiteral("CONAME")}));
    ASSERT_TRUE(m_set.Cancel());
    EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("甲"));
    EXPECT_EQ(states, (QList<State>{State::Insert, State::Browse, State::Edit, State::Browse}));
}

TEST_F(ResultSet, TypedTextIsStoredInTheColumnsType)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("1"));
    openSlips();
    struct Case
    {
        const char *column;
        QVariant typed;
        QVariant stored;
    } cases[] = {
        {"KAZU_11", QStringLiteral("12"), 12},
        {"KAZU_11", QStringLiteral("１２"), 12},
        {"KAZU_11", QStringLiteral(""), QVariant()},
        {"TENPONAME", QStringLiteral(""), QVariant()},
        {"TENPONAME", QStringLiteral(" 店 "), QStringLiteral(" 店 ")},
        {"DENNO_1", 42, QStringLiteral("42")},
    };
    for (const Case &c : cases) {
        m_set.setValue(QLatin1String(c.column), c.typed);
        const QVariant v = m_set.value(QLatin1String(c.column));
        EXPECT_EQ(v.isNull(), c.stored.isNull()) << c.column;
        if (!c.stored.isNull()) {
            EXPECT_EQ(v, c.stored) << c.column;
            EXPECT_EQ(v.typeId(), c.stored.typeId()) << c.column;
        }
    }
    EXPECT_THROW(m_set.setValue(QStringLiteral("KAZU_11"), QStringLiteral("abc")), AppError);
    m_set.setValue(QStringLiteral("CONAME"), QStringLiteral("甲"));
    try {
        m_set.setValue(QStringLiteral("CONAME"), QStringLiteral("店\U0001F600"));
        ADD_FAILURE() << "text Shift-JIS cannot hold is refused";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("CONAME")));
    }
    EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("甲"));
    EXPECT_THROW(m_set.setValue(QStringLiteral("NO_SUCH"), 1), DbError);
}

TEST_F(ResultSet, FailedApplyRollsBackAndKeepsThePendingChanges)
{
    const int a = insertSlip(QStringLiteral("甲"), 1, QStringLiteral("1"));
    insertSlip(QStringLiteral("乙"), 1, QStringLiteral("2"));
    openSlips();
    m_set.setValue(QStringLiteral("CONAME"), QStringLiteral("甲改"));
    m_set.Next();
    m_set.setValue(QStringLiteral("TEISEI_1"), QStringLiteral("too long for two"));
    m_set.Post();

    ScriptedMessages messages;
    try {
        SavePendingChanges(m_set, false, true);
        FAIL() << "the long text must not be written";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("データ更新中にエラーが発生しました。"));
        EXPECT_FALSE(e.detail().isEmpty());
        EXPECT_TRUE(messages.shown().isEmpty());
        // What the application's handler makes of it.
        TambrelApplication::showCurrentException();
    }
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().type, MsgType::Error);
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("データ更新中にエラーが発生しました。")});
    EXPECT_EQ(committedText(a, "CONAME").toString(), QStringLiteral("甲")); // rolled back
    EXPECT_TRUE(m_set.updatesPending());
    EXPECT_EQ(m_set.valueAt(0, QStringLiteral("CONAME")).toString(), QStringLiteral("甲改"));

    m_set.setValue(QStringLiteral("TEISEI_1"), QStringLiteral("AB"));
    ASSERT_TRUE(SavePendingChanges(m_set, false, true));
    EXPECT_EQ(committedText(a, "CONAME").toString(), QStringLiteral("甲改"));
}

TEST_F(ResultSet, RowOfASecondConnectionAppearsAfterSaving)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("1"));
    openSlips();
    m_set.fetchAll();
    ASSERT_EQ(m_set.recordCount(), 1);

    {
        Database other;
        Transaction otherTr;
        ConnectDatabaseTo(other, otherTr, m_file.path());
        Query ins(other, otherTr);
        ins.setSql(QStringLiteral("INSERT INTO TAMBREL (ID, CONAME) VALUES (0, :N)"));
        ins.setParam(QStringLiteral("N"), QStringLiteral("他社"));
        ins.execute();
        otherTr.commit();
    }
    // Still the snapshot the set was read in.
    EXPECT_FALSE(m_set.Locate(QStringLiteral("CONAME"), QStringLiteral("他社")));

    ScriptedMessages messages;
    ASSERT_TRUE(SavePendingChanges(m_set, false, false));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(m_set.state(), State::Browse);
    EXPECT_TRUE(m_set.Locate(QStringLiteral("CONAME"), QStringLiteral("他社")));
}

namespace {

// The save question as the user sees it.
void expectSaveQuestion(const ScriptedMessages &messages, MsgButtons buttons)
{
    ASSERT_EQ(messages.shown().size(), 1);
    const MessageRequest &r = messages.shown().first();
    EXPECT_EQ(r.text, QStringLiteral("未登録のデータがあります。\r\r登録しますか？"));
    EXPECT_EQ(r.type, MsgType::Confirmation);
    EXPECT_EQ(r.buttons, buttons);
}

} // namespace

TEST_F(ResultSet, CancelInTheSaveQuestionKeepsTheRowBeingEdited)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("1"));
    insertSlip(QStringLiteral("乙"), 1, QStringLiteral("2"));
    const QStringList slipSql{QStringLiteral("SELECT * FROM TAMBREL"),
                              QStringLiteral("ORDER BY ID")};

    enum Through
    {
        Save,
        Reopen,
        ReopenLocate,
        SlipOrder
    };
    for (Through through : {Save, Reopen, ReopenLocate, SlipOrder}) {
        SCOPED_TRACE(int(through));
        m_set.close();
        openSlips();
        m_set.setValue(QStringLiteral("CONAME"), QStringLiteral("編集中"));
        ScriptedMessages messages;
        messages.answer(MsgResult::Cancel);
        bool result = true;
        switch (through) {
        case Save:
            result = SavePendingChanges(m_set, true, true);
            break;
        case Reopen:
            result = ReopenDataSet(m_set, false);
            break;
        case ReopenLocate:
            result = ReopenAndLocate(m_set, QStringLiteral("ID"), 2, false);
            break;
        case SlipOrder:
            result = OpenSlipTableOrdered(m_set, QString::fromLatin1(kSlipOrder));
            break;
        }
        EXPECT_FALSE(result);
        expectSaveQuestion(messages, MsgButton::Yes | MsgButton::No | MsgButton::Cancel);
        EXPECT_EQ(m_set.state(), State::Edit);
        EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("編集中"));
        EXPECT_EQ(m_set.sql(), slipSql); // not reopened in another order
        EXPECT_EQ(m_set.currentRow(), 0);
        EXPECT_FALSE(m_set.controlsDisabled());
        EXPECT_FALSE(m_set.updatesPending()); // nothing posted
        ASSERT_TRUE(m_set.Cancel());
    }
}

TEST_F(ResultSet, YesPostsAndWritesNoDiscards)
{
    const int a = insertSlip(QStringLiteral("甲"), 1, QStringLiteral("1"));
    openSlips();
    {
        m_set.setValue(QStringLiteral("CONAME"), QStringLiteral("捨てる"));
        ScriptedMessages messages;
        messages.answer(MsgResult::No);
        ASSERT_TRUE(SavePendingChanges(m_set, true, false));
        expectSaveQuestion(messages, MsgButton::Yes | MsgButton::No);
        EXPECT_EQ(committedText(a, "CONAME").toString(), QStringLiteral("甲"));
        EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("甲"));
    }
    {
        m_set.setValue(QStringLiteral("CONAME"), QStringLiteral("残す"));
        ScriptedMessages messages;
        messages.answer(MsgResult::Yes);
        ASSERT_TRUE(SavePendingChanges(m_set, true, true));
        EXPECT_EQ(committedText(a, "CONAME").toString(), QStringLiteral("残す"));
        EXPECT_EQ(m_set.state(), State::Browse);
        EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("残す"));
    }
}

TEST_F(ResultSet, RefusedPostOnYesKeepsTheRowAndDoesNotGoOn)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("1"));
    openSlips();
    connect(&m_set, &EditableResultSet::beforePost, [&] {
        if (m_set.isNull(QStringLiteral("CONAME")))
            m_set.abort();
    });
    m_set.Insert();
    ScriptedMessages messages;
    messages.answer(MsgResult::Yes);
    EXPECT_FALSE(SavePendingChanges(m_set, true, true));
    EXPECT_EQ(m_set.state(), State::Insert);
    EXPECT_EQ(m_set.recordCount(), 2);
}

TEST_F(ResultSet, SlipOrderAndReturnToTheSameSlip)
{
    insertSlip(QStringLiteral("A"), 0, QStringLiteral("000009"));
    const int b = insertSlip(QStringLiteral("B"), 1, QStringLiteral("000001"));
    insertSlip(QStringLiteral("C"), 1, QStringLiteral("000005"));
    insertSlip(QStringLiteral("D"), 0, QStringLiteral("000003"));

    ScriptedMessages messages;
    ASSERT_TRUE(OpenSlipTableOrdered(m_set, QString::fromLatin1(kSlipOrder)));
    EXPECT_EQ(m_set.sql(),
              (QStringList{QStringLiteral("SELECT * FROM TAMBREL"),
                           QStringLiteral("ORDER BY PRINTOUT || DENNO_1 || DENNO_2 DESC")}));
    // Opened fresh, it reads the first row only.
    EXPECT_EQ(m_set.recordCount(), 1);
    EXPECT_FALSE(m_set.allFetched());
    m_set.fetchAll();
    QStringList order;
    for (int r = 0; r < m_set.recordCount(); ++r)
        order << m_set.valueAt(r, QStringLiteral("CONAME")).toString();
    EXPECT_EQ(order, (QStringList{QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("A"),
                                  QStringLiteral("D")}));

    ASSERT_TRUE(m_set.Locate(QStringLiteral("ID"), b));
    ASSERT_TRUE(OpenSlipTableOrdered(m_set, QStringLiteral("CONAME ASC")));
    EXPECT_EQ(m_set.value(QStringLiteral("ID")).toInt(), b);
    EXPECT_EQ(m_set.currentRow(), 1);
    EXPECT_TRUE(messages.shown().isEmpty());

    ASSERT_TRUE(ReopenAndLocate(m_set, QStringLiteral("ID"), 123456, true));
    EXPECT_EQ(m_set.currentRow(), 0); // no such slip: the first row
    EXPECT_EQ(m_set.recordCount(), 4);
    EXPECT_TRUE(m_set.allFetched());
}

TEST_F(ResultSet, OpenFailureIsATableOpenError)
{
    execute(QStringLiteral("CREATE TABLE T3 (ID INTEGER NOT NULL, A VARCHAR(10))"));
    try {
        OpenSlipTableOrdered(m_set, QStringLiteral("NO_SUCH_COLUMN"));
        FAIL();
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Table Open Error"));
    }
    EXPECT_FALSE(m_set.active());
    EXPECT_FALSE(m_set.controlsDisabled());
}

TEST_F(ResultSet, CancelUpdatesRestoresTheRowsAsRead)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("1"));
    insertSlip(QStringLiteral("乙"), 1, QStringLiteral("2"));
    QAbstractItemModelTester tester(&m_set, QAbstractItemModelTester::FailureReportingMode::Fatal);
    openSlips();
    m_set.fetchAll();
    m_set.setValue(QStringLiteral("CONAME"), QStringLiteral("改"));
    m_set.Post();
    m_set.Next();
    m_set.Delete();
    m_set.Append();
    m_set.setValue(QStringLiteral("CONAME"), QStringLiteral("新"));
    m_set.Post();
    ASSERT_TRUE(m_set.updatesPending());
    m_set.cancelUpdates();
    EXPECT_FALSE(m_set.updatesPending());
    ASSERT_EQ(m_set.recordCount(), 2);
    EXPECT_EQ(m_set.valueAt(0, QStringLiteral("CONAME")).toString(), QStringLiteral("甲"));
    EXPECT_EQ(m_set.valueAt(1, QStringLiteral("CONAME")).toString(), QStringLiteral("乙"));
}

TEST_F(ResultSet, FreezingNestsAndReleasesWithARefresh)
{
    QList<bool> frozen;
    connect(&m_set, &EditableResultSet::controlsFrozen, [&](bool f) { frozen << f; });
    QSignalSpy changes(&m_set, &EditableResultSet::recordDataChanged);
    m_set.disableControls();
    m_set.disableControls();
    m_set.enableControls();
    EXPECT_TRUE(m_set.controlsDisabled());
    EXPECT_EQ(changes.count(), 0);
    m_set.enableControls();
    m_set.enableControls(); // unbalanced: ignored
    EXPECT_FALSE(m_set.controlsDisabled());
    EXPECT_EQ(frozen, (QList<bool>{true, false}));
    EXPECT_EQ(changes.count(), 1);
}

// Two programs on one database through the Firebird server.
TEST(ServerResultSet, EachSeesTheOthersCommitsAfterSaving)
{
    ServerTestDatabase file;
    if (!file.available())
        GTEST_SKIP() << "no test server (scripts/test starts one)";
    Database db;
    Transaction tr;
    ConnectDatabaseTo(db, tr, file.path());
    UpdateSql update;
    EditableResultSet set;
    set.setTransaction(&tr);
    set.setSql(QStringList{QStringLiteral("SELECT * FROM TAMBREL"), QStringLiteral("ORDER BY ID")});
    set.open();
    BuildUpdateStatements(set, update, QStringLiteral("TAMBREL"));
    set.setUpdateObject(&update);
    ASSERT_TRUE(set.Append());
    set.setValue(QStringLiteral("CONAME"), QStringLiteral("ここ"));
    ASSERT_TRUE(set.Post());

    Database other;
    Transaction otherTr;
    ConnectDatabaseTo(other, otherTr, file.path());
    Query ins(other, otherTr);
    ins.setSql(QStringLiteral("INSERT INTO TAMBREL (ID, CONAME) VALUES (0, 'よそ')"));
    ins.execute();
    otherTr.commit();

    ASSERT_TRUE(SavePendingChanges(set, false, false));
    set.fetchAll();
    QStringList names;
    for (int r = 0; r < set.recordCount(); ++r)
        names << set.valueAt(r, QStringLiteral("CONAME")).toString();
    // Ours was written after the other's commit, so the table numbered it second.
    EXPECT_EQ(names, (QStringList{QStringLiteral("よそ"), QStringLiteral("ここ")}));
    EXPECT_EQ(
        CountRecords(other, QStringLiteral("TAMBREL"), QStringLiteral("WHERE (CONAME = 'ここ')")),
        1);
}
