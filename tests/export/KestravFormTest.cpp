#include "KestravForm.h"
#include "CommonOffice.h"
#include "ExportColumns.h"
#include "ExportFixture.h"
#include "ExportSelCompForm.h"
#include "ExportTexts.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "XlsxContent.h"
#include "settings/IniFile.h"
#include "ui/DBGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <functional>

namespace {

// The window over a test database, with its settings file and output folder
// in temporary folders and the spreadsheet application replaced by a record.
class KestravFormTest : public ExportFixture
{
protected:
    KestravFormTest()
    {
        TambrelSettings s = settings();
        s.SettingsFilePath = m_iniDir.filePath(QStringLiteral("TAMBREL.ini"));
        s.ExportDen = 0;
        s.ExportDate = 0;
        m_local = std::make_unique<ScopedSettings>(s);
        SetSpreadsheetOpener([this](const QString &path) {
            m_opened.append(path);
            return m_openerWorks;
        });
        SetProgressDelay(500);
    }
    ~KestravFormTest() override
    {
        SetSpreadsheetOpener({});
        SetProgressDelay(500);
    }

    void useSettings(int den, int date)
    {
        TambrelSettings s = settings();
        s.ExportDen = den;
        s.ExportDate = date;
        // The old scope restores what it replaced before the new one starts.
        m_local.reset();
        m_local = std::make_unique<ScopedSettings>(s);
    }

    std::unique_ptr<TKestravForm> form()
    {
        auto f = std::make_unique<TKestravForm>(QDate(2006, 7, 25));
        f->setOutputFolder(m_out.path());
        return f;
    }

    QStringList outputFiles() const
    {
        return QDir(m_out.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    // Runs the action while a timer does something to a window it opens.
    template <class Window>
    void whileOpen(const std::function<void()> &action, const std::function<void(Window *)> &todo)
    {
        QTimer timer;
        bool done = false;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *window = qobject_cast<Window *>(w);
                if (!done && window && window->isVisible()) {
                    done = true;
                    todo(window);
                }
            }
        });
        timer.start(5);
        action();
        EXPECT_TRUE(done) << "the window did not appear";
    }

    QTemporaryDir m_iniDir;
    std::unique_ptr<ScopedSettings> m_local;
    QStringList m_opened;
    bool m_openerWorks = true;
    ScriptedMessages m_messages;
};

QString confirmText()
{
    return QString::fromUtf16(ExportTexts::kConfirm1) + "\r\r" +
           QString::fromUtf16(ExportTexts::kConfirm2);
}

} // namespace

TEST_F(KestravFormTest, StartsWithTodayInTheSixDateEdits)
{
    const auto f = form();
    for (QLineEdit *e : {f->Edit_SYear, f->Edit_EYear})
        EXPECT_EQ(e->text(), "06");
    for (QLineEdit *e : {f->Edit_SMonth, f->Edit_EMonth})
        EXPECT_EQ(e->text(), "07");
    for (QLineEdit *e : {f->Edit_SDay, f->Edit_EDay})
        EXPECT_EQ(e->text(), "25");
    EXPECT_EQ(f->windowTitle(), u"チェーンストア統一伝票印刷．．．エクスポート"_qs);
    EXPECT_EQ(f->RadioGroup2Index(), 0);
    EXPECT_EQ(f->Memo1->toPlainText(),
              u"\n出力対象を選択して\n\n『出力』ボタンをクリックしてください。"_qs);
}

TEST_F(KestravFormTest, SavedFormatAndDateKindChooseTheComboItem)
{
    const struct
    {
        int den, date;
        int format, count, index;
    } cases[] = {
        {0, 3, 0, 4, 3}, {1, 3, 1, 2, 0}, {1, 1, 1, 2, 1}, {0, -1, 0, 4, 0}, {7, 2, 0, 4, 2},
    };
    for (const auto &c : cases) {
        useSettings(c.den, c.date);
        const auto f = form();
        SCOPED_TRACE(testing::Message() << c.den << " " << c.date);
        EXPECT_EQ(f->RadioGroup1Index(), c.format);
        EXPECT_EQ(f->ComboSelDate->count(), c.count);
        EXPECT_EQ(f->ComboSelDate->currentIndex(), c.index);
    }
    // Changing the format refills the list and keeps the saved kind when it fits.
    useSettings(0, 1);
    const auto f = form();
    f->RadioGroup1->button(1)->click();
    EXPECT_EQ(f->ComboSelDate->itemText(1), u"年月日"_qs);
    EXPECT_EQ(f->ComboSelDate->currentIndex(), 1);
}

TEST_F(KestravFormTest, LeavingADateEditLeavesHalfWidthDigits)
{
    const auto f = form();
    const struct
    {
        QString typed, left;
    } cases[] = {{u"０７"_qs, "07"}, {"7", "07"}, {"1a", "01"},
                 {"12", "12"},       {"", ""},    {u"２"_qs, "02"}};
    for (const auto &c : cases) {
        f->Edit_SMonth->setText(c.typed);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(f->Edit_SMonth, &out);
        EXPECT_EQ(f->Edit_SMonth->text(), c.left) << c.typed.toStdString();
    }
}

TEST_F(KestravFormTest, ArrowsWrapBetweenTheFirstAndLastDateEdit)
{
    const auto f = form();
    f->show();
    QApplication::setActiveWindow(f.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    f->Edit_SYear->setFocus();
    QTest::keyClick(f->Edit_SYear, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), f->Edit_EDay);
    QTest::keyClick(f->Edit_EDay, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), f->Edit_SYear);
    QTest::keyClick(f->Edit_SYear, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), f->Edit_SMonth);
    QTest::keyClick(f->Edit_SMonth, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f->Edit_SDay);
}

TEST_F(KestravFormTest, ClosingWritesTheFormatAndDateKind)
{
    const auto f = form();
    f->RadioGroup1->button(1)->click();
    f->ComboSelDate->setCurrentIndex(1);
    f->close();
    const QString ini = settings().SettingsFilePath;
    EXPECT_EQ(ReadIniInteger(ini, "Export", "ExportDen", -9), 1);
    EXPECT_EQ(ReadIniInteger(ini, "Export", "ExportDate", -9), 1);
}

TEST_F(KestravFormTest, SlipExportAsksThenWritesAFileAndOpensIt)
{
    insertSlip({{"CONAME", u"丸井"_qs}, {"COCODE", "0012"}, {"NOUHIN_DATE1", "060725"}});
    const auto f = form();
    f->ComboSelDate->setCurrentIndex(1);
    f->Edit_SDay->setText("01");
    f->Edit_EDay->setText("31");

    m_messages.answer(MsgResult::Cancel);
    f->SpeedButton2->click();
    EXPECT_EQ(m_messages.texts(), QStringList{confirmText()});
    EXPECT_EQ(m_messages.shown().first().type, MsgType::Confirmation);
    EXPECT_EQ(m_messages.shown().first().buttons, MsgButton::Ok | MsgButton::Cancel);
    EXPECT_EQ(outputFiles(), QStringList{});

    m_messages.clear();
    f->SpeedButton2->click();
    EXPECT_EQ(m_messages.texts(), QStringList{confirmText()});
    const QStringList files = outputFiles();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files.first().startsWith(u"印刷データ_"_qs)) << files.first().toStdString();
    EXPECT_EQ(m_opened, QStringList{m_out.filePath(files.first())});
    const XlsxContent x(m_out.filePath(files.first()));
    ASSERT_TRUE(x.ok()) << x.error().toStdString();
    EXPECT_EQ(x.rowTexts(1), ExportHeaders(0));
    EXPECT_EQ(x.cell("C2").value.toString(), "0012");

    // A second export never replaces the first; without an application the
    // user is told where the file is.
    m_openerWorks = false;
    m_messages.clear();
    f->SpeedButton2->click();
    ASSERT_EQ(outputFiles().size(), 2);
    ASSERT_EQ(m_messages.texts().size(), 2);
    EXPECT_EQ(m_messages.texts().at(1),
              QString::fromUtf16(ExportTexts::kSaved1) + "\r\r" + m_opened.last());
}

TEST_F(KestravFormTest, NothingToExportSaysSoAndWritesNothing)
{
    insertSlip({{"CONAME", "A"}, {"NOUHIN_DATE1", "060101"}});
    run("INSERT INTO COMPANY (ID, KUBUN, CONAME1) VALUES (0, 0, 'Store')");
    const auto f = form();
    f->ComboSelDate->setCurrentIndex(1);
    f->SpeedButton2->click();
    f->setRadioGroup2Index(1);
    f->SpeedButton4->click();
    EXPECT_EQ(m_messages.texts(), (QStringList{u"該当データ無し。"_qs, u"該当データ無し。"_qs}));
    for (const MessageRequest &r : m_messages.shown()) {
        EXPECT_EQ(r.type, MsgType::Confirmation);
        EXPECT_EQ(r.helpContext, 27);
    }
    EXPECT_EQ(outputFiles(), QStringList{});
}

TEST_F(KestravFormTest, MasterExportWritesTheChosenTable)
{
    run("INSERT INTO COMPANY (ID, KUBUN, CONAME1, CONAME2, CODE1, CODE2) VALUES "
        "(0, 1, 'Partner', 'P2', '007', '0008')");
    const auto f = form();
    f->setRadioGroup2Index(1);
    f->SpeedButton4->click();
    const QStringList files = outputFiles();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files.first().startsWith(u"取引先_"_qs)) << files.first().toStdString();
    const XlsxContent x(m_out.filePath(files.first()));
    ASSERT_TRUE(x.ok()) << x.error().toStdString();
    EXPECT_EQ(x.rowTexts(1), MasterExportOf(1).headers);
    EXPECT_EQ(x.rowTexts(2), (QStringList{"Partner", "P2", "007", "0008"}));
}

TEST_F(KestravFormTest, FailuresShowTheirTextAndTheWindowStays)
{
    TambrelSettings s = settings();
    s.F_DbPath = "localhost/1:/nowhere/TAMBREL.FDB";
    ScopedSettings gone(s);
    const auto f = form();
    f->SpeedButton2->click();
    f->SpeedButton4->click();
    EXPECT_EQ(m_messages.texts(), (QStringList{"Err...Table Open", "Err...Excel Out"}));
    for (const MessageRequest &r : m_messages.shown())
        EXPECT_EQ(r.type, MsgType::Error);
    EXPECT_EQ(outputFiles(), QStringList{});
}

TEST_F(KestravFormTest, ASheetThatCannotBeWrittenIsReportedAsSuch)
{
    insertSlip({{"CONAME", "A"}});
    run("INSERT INTO COMPANY (ID, KUBUN, CONAME1) VALUES (0, 0, 'Store')");
    const auto f = form();
    // The output folder is a file: the sheet has nowhere to go.
    const QString notAFolder = WriteTestFile(m_out, QStringLiteral("file"), "x");
    f->setOutputFolder(notAFolder + QStringLiteral("/sub"));
    f->SpeedButton2->click();
    f->SpeedButton4->click();
    EXPECT_EQ(m_messages.texts(), (QStringList{confirmText(), u"出力中にエラーが発生しました。"_qs,
                                               confirmText(), "Err...Excel Out"}));
    EXPECT_EQ(outputFiles(), QStringList{"file"});
    EXPECT_EQ(m_opened, QStringList{});
}

TEST_F(KestravFormTest, ALongExportShowsProgressAndCancelLeavesNoFile)
{
    run("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 3000) DO BEGIN "
        "INSERT INTO TAMBREL (ID, CONAME, HINMEI_11, COCODE) VALUES (0, 'A', 'Item', '0012'); "
        "I = I + 1; END END");
    SetProgressDelay(0);
    const auto f = form();
    f->show();
    QString label;
    whileOpen<QProgressDialog>([&] { f->SpeedButton2->click(); },
                               [&](QProgressDialog *dialog) {
                                   label = dialog->labelText();
                                   dialog->cancel();
                               });
    EXPECT_TRUE(label.endsWith(u"件出力しました．．．"_qs)) << label.toStdString();
    EXPECT_GT(label.section(' ', 0, 0).toInt(), 0) << label.toStdString();
    EXPECT_EQ(outputFiles(), QStringList{});
    EXPECT_EQ(m_opened, QStringList{});
}

TEST_F(KestravFormTest, ThePickerChoosesACompanyAndStore)
{
    for (const auto &pair : {std::pair{"A", u"本店"_qs}, std::pair{"B", u"支店"_qs},
                             std::pair{"B", u"本店"_qs}, std::pair{"A", u"本店"_qs}})
        insertSlip({{"CONAME", pair.first}, {"TENPONAME", pair.second}});
    const auto f = form();
    const auto pairAt = [](EditableResultSet &set, int row) {
        return set.valueAt(row, "CONAME").toString() + "/" +
               set.valueAt(row, "TENPONAME").toString();
    };
    QStringList listed;
    QString positioned;
    whileOpen<TExportSelCompForm>([&] { f->SpeedButton1->click(); },
                                  [&](TExportSelCompForm *picker) {
                                      EditableResultSet &set = picker->dataSet();
                                      for (int row = 0; row < set.recordCount(); ++row)
                                          listed.append(pairAt(set, row));
                                      positioned =
                                          picker->currentCompany() + "/" + picker->currentStore();
                                      set.moveTo(static_cast<int>(listed.indexOf(u"B/支店"_qs)));
                                      picker->BitBtn1->click();
                                  });
    // Distinct pairs by company name.
    EXPECT_EQ(listed.size(), 3);
    EXPECT_EQ(listed.value(0), u"A/本店"_qs);
    EXPECT_TRUE(listed.contains(u"B/支店"_qs) && listed.contains(u"B/本店"_qs));
    EXPECT_EQ(positioned, u"A/本店"_qs);
    EXPECT_EQ(f->EditCoName->text(), "B");
    EXPECT_EQ(f->EditTenpoName->text(), u"支店"_qs);

    // Opens on the chosen pair; descending by store; cancel keeps the names.
    whileOpen<TExportSelCompForm>([&] { f->SpeedButton1->click(); },
                                  [&](TExportSelCompForm *picker) {
                                      positioned =
                                          picker->currentCompany() + "/" + picker->currentStore();
                                      picker->K_SortRB->setChecked(true);
                                      picker->OpenSorted("TENPONAME");
                                      listed.clear();
                                      EditableResultSet &set = picker->dataSet();
                                      for (int row = 0; row < set.recordCount(); ++row)
                                          listed.append(set.valueAt(row, "TENPONAME").toString());
                                      picker->BitBtn2->click();
                                  });
    EXPECT_EQ(positioned, u"B/支店"_qs);
    EXPECT_EQ(listed, (QStringList{u"本店"_qs, u"本店"_qs, u"支店"_qs}));
    EXPECT_EQ(f->EditTenpoName->text(), u"支店"_qs);

    f->SpeedButton3->click();
    EXPECT_EQ(f->EditCoName->text(), "");
    EXPECT_EQ(f->EditTenpoName->text(), "");
}

TEST_F(KestravFormTest, PickerWheelListFailureAndColumnWidths)
{
    for (const char *company : {"A", "B", "C"})
        insertSlip({{"CONAME", company}, {"TENPONAME", u"本店"_qs}});
    {
        TExportSelCompForm picker;
        EXPECT_EQ(picker.windowTitle(), u"チェーンストア統一伝票印刷．．．選択"_qs);
        EXPECT_TRUE(picker.BitBtn1->isEnabled());
        // One row per notch, down and up.
        const auto wheel = [&](int delta) {
            QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(picker.DBGrid1->viewport(), &event);
            return picker.currentCompany();
        };
        EXPECT_EQ(wheel(-120), "B");
        EXPECT_EQ(wheel(-120), "C");
        EXPECT_EQ(wheel(120), "B");
        // A list that cannot be opened: the message, no rows, OK disabled.
        picker.OpenSorted("NO_SUCH_COLUMN");
        EXPECT_EQ(m_messages.texts(), QStringList{"Data Open Error"});
        EXPECT_EQ(picker.dataSet().recordCount(), 0);
        EXPECT_FALSE(picker.BitBtn1->isEnabled());
        picker.OpenSorted("CONAME");
        EXPECT_TRUE(picker.BitBtn1->isEnabled());
        // A width given by the user survives a re-sort and is kept at closing.
        picker.show();
        picker.DBGrid1->setColumnWidth(0, 177);
        picker.OpenSorted("TENPONAME");
        EXPECT_EQ(picker.DBGrid1->columnWidth(0), 177);
        picker.reject();
    }
    EXPECT_EQ(ReadIniInteger(settings().SettingsFilePath, "ExportSelCompFormDBGrid1", "CONAME", -1),
              177);
}

TEST_F(KestravFormTest, TheDatabaseIsFreeForOtherProgramsBetweenExports)
{
    // The embedded engine lets one process at a time open a database file:
    // another program can use it only while the window holds no connection.
    insertSlip({{"CONAME", "A"}});
    const auto f = form();
    f->SpeedButton2->click();
    ASSERT_EQ(outputFiles().size(), 1);

    QTemporaryDir programDir;
    const QString tool = programDir.filePath(QStringLiteral("tambrel-export"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TAMBREL_EXPORT_TOOL), tool));
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteTestFile(programDir, QStringLiteral("TAMBREL.ini"),
                  "[TAMBREL]\r\nF_DbPath=" + m_file.path().toLocal8Bit() + "\r\n");
    QProcess other;
    other.start(tool, {QStringLiteral("slips"), m_out.filePath(QStringLiteral("other.xlsx"))});
    ASSERT_TRUE(other.waitForFinished(60000));
    EXPECT_EQ(other.exitCode(), 0) << other.readAllStandardError().toStdString();
}
