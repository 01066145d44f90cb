#include "MasterFixture.h"
#include "ModalDriver.h"
#include "SelCompanyForm.h"
#include "SelItemForm.h"
#include "app/AppError.h"
#include "masters/MasterData.h"
#include "settings/IniFile.h"
#include "ui/CaptionDBNavi.h"
#include "ui/UiTexts.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// What a grid shows: the titles of its columns.
QStringList titles(const DBGrid *grid)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

QStringList fields(const DBGrid *grid)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->fieldAt(c);
    return out;
}

// The list's rows as far as read, each column given joined by "|".
QStringList listed(EditableResultSet &set, const QStringList &columns)
{
    set.fetchAll();
    QStringList out;
    for (int r = 0; r < set.recordCount(); ++r) {
        QStringList cols;
        for (const QString &c : columns)
            cols << set.valueAt(r, c).toString();
        out << cols.join(QLatin1Char('|'));
    }
    return out;
}

void doubleClickRow(DBGrid *grid, int row)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

class CompanyPicker : public MasterFixture
{
protected:
    CompanyPicker()
    {
        useSettings(baseSettings());
        addCompany(0, QStringLiteral("甲商事"), QStringLiteral("本店"), QStringLiteral("100"));
        addCompany(0, QStringLiteral("乙物産"), QStringLiteral("北店"), QStringLiteral("300"));
        addCompany(0, QStringLiteral("丙百貨"), QStringLiteral("南店"), QStringLiteral("200"));
        addCompany(1, QStringLiteral("取引一"), QStringLiteral("部一"), QStringLiteral("T1"),
                   QStringLiteral("X1"));
        addCompany(1, QStringLiteral("取引二"), QStringLiteral("部二"), QStringLiteral("T2"),
                   QStringLiteral("X2"));
    }
};

TEST_F(CompanyPicker, ColumnsAndRowsFollowTheKind)
{
    struct Case
    {
        int kind;
        QStringList titles, fields, rows;
        int codeWidth;
    };
    const Case cases[] = {
        {0,
         {"社名", "店名", "社・店コード"},
         {"CONAME1", "CONAME2", "CODE1"},
         {"100|甲商事", "200|丙百貨", "300|乙物産"},
         135 + 27},
        {1,
         {"取引先名１", "取引先名２", "取引先コード", " "},
         {"CONAME1", "CONAME2", "CODE1", "CODE2"},
         {"T1|取引一", "T2|取引二"},
         135},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.kind);
        // Both kinds keep their widths in one section: a settings file each.
        QTemporaryDir dir;
        TambrelSettings s = baseSettings();
        s.SettingsFilePath = dir.filePath(QStringLiteral("TAMBREL.ini"));
        useSettings(s);
        TSelCompanyForm form(c.kind);
        EXPECT_EQ(titles(form.DBGrid1()), c.titles);
        EXPECT_EQ(fields(form.DBGrid1()), c.fields);
        EXPECT_EQ(form.DBGrid1()->columnWidth(2), c.codeWidth);
        EXPECT_EQ(form.DBGrid1()->columnWidth(0), 213);
        EXPECT_EQ(listed(form.query(), {"CODE1", "CONAME1"}), c.rows);
        EXPECT_TRUE(form.windowTitle().startsWith(QString::fromUtf8(kCaptionPrefix)));
        EXPECT_EQ(form.minimumWidth(), 605);
    }
}

TEST_F(CompanyPicker, ChoosingARowFillsTheFourValues)
{
    struct Case
    {
        int kind;
        QString code1;        // the slip's code, to position on
        bool byDoubleClick;   // otherwise OK
        QStringList expected; // name1, name2, code1, code2
    };
    const Case cases[] = {
        {0, "300", false, {"乙物産", "北店", "300", ""}},
        {0, "200", true, {"丙百貨", "南店", "200", ""}},
        // An unknown code opens on the first row.
        {0, "999", false, {"甲商事", "本店", "100", ""}},
        {1, "T2", true, {"取引二", "部二", "T2", "X2"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code1.toStdString());
        CompanyChoice choice{QStringLiteral("a"), QStringLiteral("b"), c.code1, QString()};
        OnModal<TSelCompanyForm>([&](TSelCompanyForm *f) {
            if (c.byDoubleClick)
                doubleClickRow(f->DBGrid1(), f->query().currentRow());
            else
                f->BitBtn1()->click();
        });
        ASSERT_TRUE(SelectCompany(choice, c.kind));
        EXPECT_EQ((QStringList{choice.name1, choice.name2, choice.code1, choice.code2}),
                  c.expected);
    }
}

TEST_F(CompanyPicker, PositionsWithoutReadingTheListForAnUnknownCode)
{
    for (int i = 0; i < 3 * EditableResultSet::kFetchBatch; ++i)
        addCompany(0, QStringLiteral("社%1").arg(i, 4, 10, QLatin1Char('0')), QString(),
                   QStringLiteral("C%1").arg(i, 4, 10, QLatin1Char('0')));
    TSelCompanyForm form(0);
    EXPECT_FALSE(form.positionOn(QStringLiteral("CODE1"), QStringLiteral("nothing")));
    EXPECT_EQ(form.query().currentRow(), 0);
    EXPECT_FALSE(form.query().allFetched());
    EXPECT_TRUE(form.positionOn(QStringLiteral("CODE1"), QStringLiteral("C0150")));
    EXPECT_EQ(form.query().value(QStringLiteral("CODE1")).toString(), QStringLiteral("C0150"));
}

TEST_F(CompanyPicker, CancelStillWritesTheListsChanges)
{
    CompanyChoice choice{QStringLiteral("keep"), QString(), QStringLiteral("200"), QString()};
    OnModal<TSelCompanyForm>([](TSelCompanyForm *f) {
        // Ctrl+Delete on the current row (200), confirmed.
        QTest::keyClick(f->DBGrid1(), Qt::Key_Delete, Qt::ControlModifier);
        f->BitBtn2()->click();
    });
    EXPECT_FALSE(SelectCompany(choice, 0));
    EXPECT_EQ(choice.name1, QStringLiteral("keep"));
    EXPECT_EQ(m_messages.texts(), QStringList{QString::fromUtf8(kDeleteQuestion)});
    EXPECT_EQ(rows(QStringLiteral("SELECT CODE1 FROM COMPANY WHERE KUBUN = 0 ORDER BY CODE1")),
              (QStringList{"100", "300"}));
}

TEST_F(CompanyPicker, DeleteAnsweredCancelKeepsTheRow)
{
    TSelCompanyForm form(0);
    m_messages.answer(MsgResult::Cancel);
    form.CaptionDBNavi1()->BtnClick(TCaptionDBNavi::nbDelete);
    EXPECT_EQ(listed(form.query(), {"CODE1"}), (QStringList{"100", "200", "300"}));
    EXPECT_EQ(m_messages.texts(), QStringList{QString::fromUtf8(kDeleteQuestion)});
}

TEST_F(CompanyPicker, ANewRowGetsItsIdAndKindAndAnUntouchedOneIsDropped)
{
    const int nextId =
        rows(QStringLiteral("SELECT GEN_ID(IDNO_INC3, 0) FROM RDB$DATABASE")).value(0).toInt() + 1;
    CompanyChoice choice;
    OnModal<TSelCompanyForm>([&](TSelCompanyForm *f) {
        EditableResultSet &set = f->query();
        DBGrid *grid = f->DBGrid1();
        set.fetchAll();
        // Down past the last row starts a new row.
        grid->setCurrentIndex(grid->model()->index(set.recordCount() - 1, 0));
        QTest::keyClick(grid, Qt::Key_Down);
        EXPECT_EQ(set.state(), EditableResultSet::State::Insert);
        EXPECT_EQ(set.value(QStringLiteral("ID")).toInt(), nextId);
        EXPECT_EQ(set.value(QStringLiteral("KUBUN")).toInt(), 1);
        // Left unchanged: gone.
        QTest::keyClick(grid, Qt::Key_Up);
        EXPECT_EQ(set.state(), EditableResultSet::State::Browse);
        EXPECT_EQ(set.recordCount(), 2);
        // Filled in: posted when left and written.
        grid->setCurrentIndex(grid->model()->index(set.recordCount() - 1, 0));
        QTest::keyClick(grid, Qt::Key_Insert);
        // Typing opens the cell's editor, which takes the rest.
        QTest::keyClicks(grid, QStringLiteral("N"));
        QLineEdit *editor = grid->viewport()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, QStringLiteral("EW"));
        QTest::keyClick(editor, Qt::Key_Tab);
        f->BitBtn1()->click();
    });
    ASSERT_TRUE(SelectCompany(choice, 1));
    EXPECT_EQ(choice.name1, QStringLiteral("NEW"));
    EXPECT_EQ(rows(QStringLiteral("SELECT KUBUN, CONAME1 FROM COMPANY WHERE CONAME1 = 'NEW'")),
              QStringList{"1|NEW"});
}

TEST_F(CompanyPicker, SortingByATitleInEitherDirection)
{
    TSelCompanyForm form(0);
    form.DBGrid1()->setColumnWidth(0, 77);
    form.DBGrid1TitleClick(QStringLiteral("CONAME2"));
    EXPECT_EQ(form.DBGrid1()->columnWidth(0), 77);
    EXPECT_EQ(listed(form.query(), {"CONAME2"}),
              rows(QStringLiteral("SELECT CONAME2 FROM COMPANY WHERE KUBUN = 0 ORDER BY 1")));
    form.K_SortRB()->setChecked(true);
    form.DBGrid1()->horizontalHeader()->sectionClicked(2); // CODE1
    EXPECT_EQ(listed(form.query(), {"CODE1"}), (QStringList{"300", "200", "100"}));
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(CompanyPicker, ResortingWhileEditingAsksAndCancelKeepsRowAndOrder)
{
    TSelCompanyForm form(0);
    form.positionOn(QStringLiteral("CODE1"), QStringLiteral("200"));
    form.query().setValue(QStringLiteral("CONAME2"), QStringLiteral("東店"));
    m_messages.answer(MsgResult::Cancel);
    EXPECT_FALSE(form.openSorted(QStringLiteral("CONAME1")));
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown().at(0).buttons, MsgButton::Yes | MsgButton::No | MsgButton::Cancel);
    EXPECT_EQ(form.query().state(), EditableResultSet::State::Edit);
    EXPECT_EQ(form.query().value(QStringLiteral("CONAME2")).toString(), QStringLiteral("東店"));
    EXPECT_EQ(listed(form.query(), {"CODE1"}), (QStringList{"100", "200", "300"}));

    // Yes: saved, then sorted.
    m_messages.answer(MsgResult::Yes);
    EXPECT_TRUE(form.openSorted(QStringLiteral("CONAME2")));
    EXPECT_EQ(listed(form.query(), {"CONAME2"}),
              rows(QStringLiteral("SELECT CONAME2 FROM COMPANY WHERE KUBUN = 0 ORDER BY 1")));
    EXPECT_TRUE(listed(form.query(), {"CONAME2"}).contains(QStringLiteral("東店")));
    EXPECT_EQ(rows(QStringLiteral("SELECT CONAME2 FROM COMPANY WHERE CODE1 = '200'")),
              QStringList{"東店"});
}

TEST_F(CompanyPicker, AnEmptyListOffersNothingToChoose)
{
    CompanyChoice choice{QStringLiteral("a"), QString(), QString(), QString()};
    bool okEnabled = true, openAfterDoubleClick = false;
    execute(QStringLiteral("DELETE FROM COMPANY WHERE KUBUN = 1"));
    OnModal<TSelCompanyForm>([&](TSelCompanyForm *f) {
        okEnabled = f->BitBtn1()->isEnabled();
        QTest::mouseDClick(f->DBGrid1()->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        openAfterDoubleClick = f->isVisible();
        f->BitBtn2()->click();
    });
    EXPECT_FALSE(SelectCompany(choice, 1));
    EXPECT_FALSE(okEnabled);
    EXPECT_TRUE(openAfterDoubleClick);
}

TEST_F(CompanyPicker, AListThatCannotOpenRaisesDataOpenError)
{
    execute(QStringLiteral("DROP TABLE COMPANY"));
    try {
        TSelCompanyForm form(0);
        FAIL() << "opened";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Data Open Error"));
    }
}

TEST_F(CompanyPicker, PlacementAndColumnWidthsComeBack)
{
    const QString ini = baseSettings().SettingsFilePath;
    int closedWidth = 0;
    {
        TSelCompanyForm form(1);
        form.show();
        form.move(40, 50);
        form.resize(700, 400);
        form.DBGrid1()->setColumnWidth(1, 99);
        closedWidth = form.width();
        form.reject();
    }
    EXPECT_EQ(
        ReadIniInteger(ini, QStringLiteral("SelCompanyFormDBGrid1"), QStringLiteral("CONAME2"), 0),
        99);
    EXPECT_GE(ReadIniInteger(ini, QStringLiteral("SelCompanyForm"), QStringLiteral("Width"), 0),
              700);
    TSelCompanyForm again(1);
    EXPECT_EQ(again.DBGrid1()->columnWidth(1), 99);
    EXPECT_EQ(again.frameGeometry().width(),
              ReadIniInteger(ini, QStringLiteral("SelCompanyForm"), QStringLiteral("Width"), 0));
    EXPECT_GE(again.width(), closedWidth);
}

TEST_F(CompanyPicker, EnterMovesToTheNextCell)
{
    TSelCompanyForm form(0);
    form.show();
    QApplication::setActiveWindow(&form);
    form.DBGrid1()->setFocus();
    form.DBGrid1()->setCurrentIndex(form.DBGrid1()->model()->index(0, 0));
    QTest::keyClick(form.DBGrid1(), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.DBGrid1()->currentIndex().column(), 1);
}

// ---------------------------------------------------------------------------

class ItemPicker : public MasterFixture
{
protected:
    ItemPicker()
    {
        addCompany(0, QStringLiteral("甲商事"), QStringLiteral("本店"), QStringLiteral("A'1"));
        addItem({"りんご", "赤", "R1", "R2", "赤", "10", "L", "2", "個", 5, "3", 120, "50", 200,
                 "A'1"});
        addItem({"みかん", "甘", "M1", "M2", "橙", "20", "M", "1", "箱", 0, "", 80, "", 150, "B2"});
        addItem(
            {"りんご", "青", "R0", "", "", "", "", "", "", QVariant(), "", 100, "", 180, "A'1"});
        addItem({"ぶどう", "", "B1", "", "", "", "", "", "", 1, "", 300, "", 500, QVariant()});
    }
    TambrelSettings settingsWith(bool useTanka, bool oneLine)
    {
        TambrelSettings s = baseSettings();
        s.UseTanka = useTanka;
        s.OneLineMode = oneLine;
        return s;
    }
};

TEST_F(ItemPicker, ListColumnsFilterAndBarFollowTheSettings)
{
    struct Case
    {
        bool useTanka, oneLine;
        QString slipCompany;
        QStringList leading; // the first grid fields
        bool bar;
        QString label;
        QStringList codes; // CODE1 in list order
    };
    const Case cases[] = {
        {false,
         false,
         "A'1",
         {"HINMEI1", "HINMEI2", "CODE1", "CODE2"},
         false,
         "社名・店名：",
         {"B1", "M1", "R0", "R1"}},
        {true,
         false,
         "A'1",
         {"URITANKA", "HINMEI1", "HINMEI2", "CODE1"},
         true,
         "社名・店名：甲商事 本店",
         {"R0", "R1"}},
        // A code no company has: the bare label, only that code's items.
        {true, true, "B2", {"URITANKA", "HINMEI1", "CODE1", "IRO"}, true, "社名・店名：", {"M1"}},
        // No company on the slip: every item, no bar.
        {true,
         false,
         "　",
         {"URITANKA", "HINMEI1", "HINMEI2", "CODE1"},
         false,
         "社名・店名：",
         {"B1", "M1", "R0", "R1"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.slipCompany.toStdString() + (c.useTanka ? " tanka" : ""));
        useSettings(settingsWith(c.useTanka, c.oneLine));
        TSelItemForm form(c.useTanka ? c.slipCompany : QString());
        EXPECT_EQ(fields(form.DBGrid1()).mid(0, 4), c.leading);
        EXPECT_EQ(fields(form.DBGrid1()).contains(QStringLiteral("CODE2")), !c.oneLine);
        EXPECT_EQ(form.DBGrid1()->model()->columnCount(),
                  (c.useTanka ? 15 : 14) - (c.oneLine ? 2 : 0));
        EXPECT_EQ(form.UseTankaPanel()->isVisibleTo(&form), c.bar);
        EXPECT_EQ(form.Label1()->text(), c.label);
        EXPECT_EQ(listed(form.query(), {"CODE1"}), c.codes);
        EXPECT_EQ(form.minimumWidth(), 651);
    }
}

TEST_F(ItemPicker, AllItemsEmptiesTheLabelAndTheFilter)
{
    useSettings(settingsWith(true, false));
    TSelItemForm form(QStringLiteral("A'1"));
    form.SpeedButton2()->click();
    EXPECT_EQ(form.Label1()->text(), QString());
    EXPECT_EQ(listed(form.query(), {"CODE1"}), (QStringList{"B1", "M1", "R0", "R1"}));
}

TEST_F(ItemPicker, ChoosingTheCompanyChangesTheFilter)
{
    useSettings(settingsWith(true, false));
    addCompany(0, QStringLiteral("乙物産"), QStringLiteral("北店"), QStringLiteral("B2"));
    TSelItemForm form(QStringLiteral("A'1"));
    OnModal<TSelCompanyForm>([](TSelCompanyForm *f) {
        f->positionOn(QStringLiteral("CODE1"), QStringLiteral("B2"));
        f->BitBtn1()->click();
    });
    form.SpeedButton1()->click();
    EXPECT_EQ(form.companyFilter(), QStringLiteral("B2"));
    EXPECT_EQ(form.Label1()->text(), QStringLiteral("社名・店名：乙物産 北店"));
    EXPECT_EQ(listed(form.query(), {"CODE1"}), QStringList{"M1"});
}

TEST_F(ItemPicker, DescendingDefaultOrderTurnsOnlyTheCode)
{
    useSettings(settingsWith(false, false));
    TSelItemForm form{QString()};
    form.K_SortRB()->setChecked(true);
    ASSERT_TRUE(form.openSorted(QString::fromLatin1(TSelItemForm::kDefaultOrder)));
    EXPECT_EQ(listed(form.query(), {"HINMEI1", "CODE1"}),
              (QStringList{"ぶどう|B1", "みかん|M1", "りんご|R1", "りんご|R0"}));
}

TEST_F(ItemPicker, NewRowsAreRefused)
{
    useSettings(settingsWith(false, false));
    TSelItemForm form{QString()};
    DBGrid *grid = form.DBGrid1();
    form.query().fetchAll();
    grid->setCurrentIndex(grid->model()->index(form.query().recordCount() - 1, 0));
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Insert);
    EXPECT_EQ(form.query().state(), EditableResultSet::State::Browse);
    EXPECT_EQ(form.query().recordCount(), 4);
}

TEST_F(ItemPicker, ChoosingAnItemGivesEveryValue)
{
    useSettings(settingsWith(true, false));
    ItemChoice choice;
    OnModal<TSelItemForm>([](TSelItemForm *f) {
        EXPECT_EQ(f->query().value(QStringLiteral("CODE1")).toString(), QStringLiteral("R0"));
        f->query().Next();
        f->BitBtn1()->click();
    });
    // Positioned on the first "りんご" within company A'1 (R0 comes first).
    ASSERT_TRUE(SelectItem(QStringLiteral("りんご"), QStringLiteral("A'1"), choice));
    const QStringList texts{choice.name1,
                            choice.name2,
                            choice.code1,
                            choice.code2,
                            choice.color,
                            choice.piecesPerCase,
                            choice.size,
                            choice.cases,
                            choice.unit,
                            choice.quantityDecimal,
                            choice.costPriceDecimals};
    EXPECT_EQ(texts,
              (QStringList{"りんご", "赤", "R1", "R2", "赤", "10", "L", "2", "個", "3", "50"}));
    EXPECT_EQ(choice.quantity, 5);
    EXPECT_EQ(choice.costPrice, 120);
    EXPECT_EQ(choice.sellingPrice, 200);
}

TEST_F(ItemPicker, EditsAreWrittenOnOkAndDroppedOtherwise)
{
    useSettings(settingsWith(false, false));
    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        ItemChoice choice;
        OnModal<TSelItemForm>([ok](TSelItemForm *f) {
            f->query().setValue(QStringLiteral("IRO"), ok ? "OK色" : "取消色");
            f->CaptionDBNavi1()->BtnClick(TCaptionDBNavi::nbPost);
            (ok ? f->BitBtn1() : f->BitBtn2())->click();
        });
        EXPECT_EQ(SelectItem(QStringLiteral("ぶどう"), QString(), choice), ok);
        EXPECT_EQ(rows(QStringLiteral("SELECT IRO FROM CSITEM WHERE CODE1 = 'B1'")),
                  QStringList{ok ? "OK色" : ""});
    }
}

} // namespace
