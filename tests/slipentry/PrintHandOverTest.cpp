// Printing: the list in print mode, the marks written, the display name and
// the print-out program run and waited for (a recording stand-in here).

#include "SlipEntryTexts.h"
#include "SlipFormFixture.h"
#include "TestFiles.h"
#include "ui/DBEdit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

namespace {

QString t16(const char16_t *s)
{
    return QString::fromUtf16(s);
}

class PrintHandOver : public SlipFormFixture
{
protected:
    PrintHandOver()
    {
        m_record = m_scratch.filePath(QStringLiteral("args.txt"));
        m_running = m_scratch.filePath(QStringLiteral("running"));
        // Records its arguments, stays a moment so the waiting form can be
        // looked at, and leaves a marker while it runs.
        const QByteArray script = "#!/bin/sh\n"
                                  "touch '" +
                                  m_running.toUtf8() +
                                  "'\n"
                                  "echo \"$#\" > '" +
                                  m_record.toUtf8() +
                                  "'\n"
                                  "for a in \"$@\"; do echo \"$a\" >> '" +
                                  m_record.toUtf8() +
                                  "'; done\n"
                                  "sleep 0.6\n"
                                  "rm -f '" +
                                  m_running.toUtf8() + "'\n";
        m_standIn = WriteTestFile(m_scratch, QStringLiteral("TambrelOut"), script);
        QFile::setPermissions(m_standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    TambrelForm &openWithStandIn(SlipType slipType, const QString &picture = {})
    {
        TambrelForm &f = open(slipType, picture);
        f.setPrintProgram(m_standIn);
        return f;
    }

    // The arguments the stand-in got; empty when it did not run.
    QStringList recorded()
    {
        QFile f(m_record);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    // Presses 印 刷 and answers the list with OK (or Cancel).
    void print(bool ok = true, std::function<void(TSelDataForm &)> inList = {})
    {
        whenListOpens([ok, inList](TSelDataForm &list) {
            EXPECT_TRUE(list.printMode());
            if (inList)
                inList(list);
            (ok ? list.BitBtn1() : list.BitBtn3())->click();
        });
        QTest::mouseClick(form().PrintBtn(), Qt::LeftButton);
    }

    QString m_record;
    QString m_running;
    QString m_standIn;
};

} // namespace

TEST(SlipPrintName, ChosenByThePictureArgument)
{
    const QString abs = QDir(QCoreApplication::applicationDirPath())
                            .filePath(QStringLiteral("FormImages/CS_TR2.jpg"));
    const struct
    {
        SlipType type;
        QString picture;
        const char16_t *name;
    } cases[] = {
        {SlipType::Type22, QStringLiteral("FormImages\\CS_TR2.jpg"),
         u"ターンアラウンド用２型（２行印字）"},
        {SlipType::Type22, QStringLiteral("formimages\\cs_tr2.JPG"),
         u"ターンアラウンド用２型（２行印字）"},
        {SlipType::Type22, QStringLiteral(" FormImages/CS_TR2.jpg　"),
         u"ターンアラウンド用２型（２行印字）"},
        {SlipType::Type22, abs, u"ＯＣＲ用２型（２行印字）"},
        {SlipType::Type22, QStringLiteral("./FormImages/CS_TR2.jpg"), u"ＯＣＲ用２型（２行印字）"},
        {SlipType::Type22, QStringLiteral("FormImages/CS_OCR2.jpg"), u"ＯＣＲ用２型（２行印字）"},
        {SlipType::Type22, QString(), u"ＯＣＲ用２型（２行印字）"},
        {SlipType::Type21, QStringLiteral("FormImages/CS_TR2.jpg"),
         u"ターンアラウンド用２型（１行印字）"},
        {SlipType::Type21, QStringLiteral("FormImages/CS_TR1.jpg"), u"ＯＣＲ用２型（１行印字）"},
        {SlipType::Type12, QStringLiteral("FormImages\\CS_TR1.jpg"),
         u"ターンアラウンド用１型（２行印字）"},
        {SlipType::Type11, QStringLiteral("FormImages/cs_tr1.jpg"),
         u"ターンアラウンド用１型（１行印字）"},
        {SlipType::Type11, QStringLiteral("FormImages/CS_OCR1.jpg"), u"ＯＣＲ用１型（１行印字）"},
        {SlipType::TypeT11, QStringLiteral("FormImages\\CS_TR2.jpg"), u"タイプ用１型（１行印字）"},
        {SlipType::TypeT11, QString(), u"タイプ用１型（１行印字）"},
        {SlipType::TypeT12, QStringLiteral("FormImages/CS_TR1.jpg"), u"タイプ用１型（２行印字）"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(slipPrintName(c.type, c.picture), QString::fromUtf16(c.name))
            << slipTypeInfo(c.type).program << " " << c.picture.toStdString();
    }
}

TEST_F(PrintHandOver, StandInGetsTheNameWhileTheFormWaitsThenTheSameSlipIsShownFresh)
{
    const QString abs = QDir(QCoreApplication::applicationDirPath())
                            .filePath(QStringLiteral("FormImages/CS_TR2.jpg"));
    const struct
    {
        SlipType type;
        QString picture;
        bool embedded;
        const char16_t *name;
    } cases[] = {
        {SlipType::Type22, QStringLiteral("formimages\\cs_tr2.jpg"), true,
         u"ターンアラウンド用２型（２行印字）"},
        {SlipType::Type22, abs, false, u"ＯＣＲ用２型（２行印字）"},
        {SlipType::TypeT11, QStringLiteral("FormImages\\CS_TR2.jpg"), true,
         u"タイプ用１型（１行印字）"},
    };
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000003"));
    const int middle = insertSlip(QStringLiteral("乙"), 1, QStringLiteral("000002"));
    insertSlip(QStringLiteral("丙"), 0, QStringLiteral("000001"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.picture.toStdString());
        QFile::remove(m_record);
        m_settings.EmbeddedServerPresent = c.embedded;
        openWithStandIn(c.type, c.picture);
        key(Qt::Key_PageDown);
        ASSERT_EQ(query().value(QStringLiteral("ID")).toInt(), middle);
        // Another program changes the slip meanwhile.
        const QString store = QStringLiteral("店%1").arg(int(c.type)) + (c.embedded ? "E" : "S");
        execute(QStringLiteral("UPDATE TAMBREL SET TENPONAME = '%1' WHERE ID = %2")
                    .arg(store)
                    .arg(middle));

        QList<QPair<bool, bool>> whileRunning; // enabled, connected
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
            if (QFile::exists(m_running))
                whileRunning.append({form().isEnabled(), form().databaseConnected()});
        });
        watch.start(20);
        // Saving before the list reopens the table; the slip is chosen there.
        print(true, [&](TSelDataForm &list) { choose(list, middle); });
        watch.stop();

        EXPECT_EQ(recorded(), (QStringList{QStringLiteral("1"), QString::fromUtf16(c.name)}));
        ASSERT_FALSE(whileRunning.isEmpty());
        for (const auto &[enabled, connected] : whileRunning) {
            EXPECT_FALSE(enabled);
            EXPECT_EQ(connected, !c.embedded);
        }
        EXPECT_TRUE(form().isEnabled());
        EXPECT_TRUE(form().databaseConnected());
        EXPECT_EQ(query().value(QStringLiteral("ID")).toInt(), middle);
        EXPECT_EQ(edit(QStringLiteral("TENP"))->text(), store);
        EXPECT_TRUE(m_messages.shown().isEmpty()) << qPrintable(m_messages.texts().join('|'));
    }
}

TEST_F(PrintHandOver, NothingMarkedGivesTheMessageAndStartsNothing)
{
    // Marked at first; the clerk clears all in the list and confirms.
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000002"));
    const int second = insertSlip(QStringLiteral("乙"), 1, QStringLiteral("000001"));
    openWithStandIn(SlipType::Type21);
    key(Qt::Key_PageDown);
    print(true, [&](TSelDataForm &list) {
        choose(list, second);
        list.clearAllItem()->trigger();
    });
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown().at(0).text, t16(SlipEntryTexts::kNoPrintData));
    EXPECT_EQ(m_messages.shown().at(0).type, MsgType::Confirmation);
    EXPECT_EQ(m_messages.shown().at(0).buttons, MsgButtons(MsgButton::Ok));
    EXPECT_EQ(m_messages.shown().at(0).helpContext, 10);
    EXPECT_TRUE(recorded().isEmpty());
    EXPECT_EQ(countRows(QStringLiteral("WHERE PRINTOUT = 1")), 0); // the marks were written
    EXPECT_EQ(query().value(QStringLiteral("ID")).toInt(), second);
    EXPECT_TRUE(form().isEnabled());
}

TEST_F(PrintHandOver, CancelledListOrSaveQuestionPrintsNothing)
{
    const int id = insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000001"));
    openWithStandIn(SlipType::Type12);
    print(false, [](TSelDataForm &list) { list.clearAllItem()->trigger(); });
    EXPECT_TRUE(recorded().isEmpty());
    EXPECT_TRUE(m_messages.shown().isEmpty());
    EXPECT_EQ(committed(id, QStringLiteral("PRINTOUT")).toInt(), 1);

    // Editing, asked to save, Cancel: the list does not even open.
    type(QStringLiteral("TENP"), QStringLiteral("本店"));
    m_messages.answer(MsgResult::Cancel);
    bool listOpened = false;
    whenListOpens([&](TSelDataForm &list) {
        listOpened = true;
        list.reject();
    });
    QTest::mouseClick(form().PrintBtn(), Qt::LeftButton);
    EXPECT_FALSE(listOpened);
    EXPECT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(query().state(), EditableResultSet::State::Edit);
    EXPECT_TRUE(recorded().isEmpty());
}

TEST_F(PrintHandOver, PendingSlipIsSavedBeforeTheList)
{
    openWithStandIn(SlipType::Type11);
    press(TCaptionDBNavi::nbInsert);
    const int id = query().value(QStringLiteral("ID")).toInt();
    type(QStringLiteral("CONA"), QStringLiteral("新しい社"));
    m_messages.answer(MsgResult::Yes);
    print();
    EXPECT_EQ(committed(id, QStringLiteral("CONAME")).toString(), QStringLiteral("新しい社"));
    EXPECT_EQ(recorded(),
              (QStringList{QStringLiteral("1"), QStringLiteral("ＯＣＲ用１型（１行印字）")}))
        << qPrintable(m_messages.texts().join(QLatin1Char('|')));
    EXPECT_EQ(query().value(QStringLiteral("ID")).toInt(), id);
}

TEST_F(PrintHandOver, ProgramThatCannotStartLeavesTheFormWorking)
{
    const int id = insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000001"));
    m_settings.EmbeddedServerPresent = true;
    open(SlipType::TypeT12);
    form().setPrintProgram(m_scratch.filePath(QStringLiteral("no-such-program")));
    print();
    EXPECT_TRUE(form().isEnabled());
    EXPECT_TRUE(form().databaseConnected());
    EXPECT_EQ(query().value(QStringLiteral("ID")).toInt(), id);
    EXPECT_TRUE(m_messages.shown().isEmpty());
}
