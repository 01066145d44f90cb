#include "ScopedSettings.h"
#include "SlipFixture.h"
#include "db/IbFunc.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/WinColor.h"
#include "ui/DBCheckBox.h"
#include "ui/DBEdit.h"
#include "ui/DBGrid.h"
#include "ui/EditFieldSetup.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using State = EditableResultSet::State;

namespace {

class Controls : public SlipFixture
{
protected:
    Controls()
    {
        m_a = insertSlip(QStringLiteral("甲商店"), 1, QStringLiteral("000001"));
        m_b = insertSlip(QStringLiteral("乙商店"), 0, QStringLiteral("000002"));
        m_set.setSql(
            QStringList{QStringLiteral("SELECT * FROM TAMBREL"), QStringLiteral("ORDER BY ID")});
        m_set.open();
        BuildUpdateStatements(m_set, m_update, QStringLiteral("TAMBREL"));
        m_set.setUpdateObject(&m_update);
    }

    static void leave(QWidget *w)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(w, &out);
    }

    // Typing as the keyboard (or the input method) delivers it.
    static void type(QWidget *w, const QString &text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &release);
        }
    }

    int m_a = 0;
    int m_b = 0;
    QWidget m_form;
};

} // namespace

TEST_F(Controls, EditShowsTheColumnAndWritesTypedTextOnLeaving)
{
    auto *edit = new DBEdit(&m_form);
    edit->setDataSet(&m_set);
    edit->setDataField(QStringLiteral("CONAME"));
    EXPECT_EQ(edit->text(), QStringLiteral("甲商店"));
    EXPECT_FALSE(edit->changed());

    type(edit, QStringLiteral("本店"));
    EXPECT_EQ(m_set.state(), State::Edit);
    EXPECT_TRUE(edit->changed());
    EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("甲商店"));
    leave(edit);
    EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("甲商店本店"));
    edit->setChanged(false);
    EXPECT_FALSE(edit->changed());

    // A post writes what is still in the box.
    edit->selectAll();
    type(edit, QStringLiteral("丙"));
    ASSERT_TRUE(m_set.Post());
    EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("丙"));

    // Clearing the box stores null; moving shows the next row.
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    leave(edit);
    EXPECT_TRUE(m_set.isNull(QStringLiteral("CONAME")));
    ASSERT_TRUE(m_set.Next());
    EXPECT_EQ(edit->text(), QStringLiteral("乙商店"));
    EXPECT_EQ(m_set.valueAt(0, QStringLiteral("CONAME")), QVariant());
}

TEST_F(Controls, EscapeDropsTypedTextAndCancelRestoresTheBox)
{
    auto *edit = new DBEdit(&m_form);
    edit->setDataSet(&m_set);
    edit->setDataField(QStringLiteral("CONAME"));
    type(edit, QStringLiteral("誤"));
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->text(), QStringLiteral("甲商店"));
    leave(edit);
    EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("甲商店"));

    type(edit, QStringLiteral("誤"));
    leave(edit);
    ASSERT_TRUE(m_set.Cancel());
    EXPECT_EQ(edit->text(), QStringLiteral("甲商店"));
}

TEST_F(Controls, LengthLimitCountsShiftJisBytes)
{
    auto *edit = new DBEdit(&m_form);
    edit->setDataSet(&m_set);
    edit->setDataField(QStringLiteral("TENPONAME"));
    edit->setMaxBytes(5);
    struct Case
    {
        QString typed;
        QString kept;
    } cases[] = {
        {QStringLiteral("abcdefg"), QStringLiteral("abcde")},
        {QStringLiteral("あいう"), QStringLiteral("あい")},
        {QStringLiteral("aあいう"), QStringLiteral("aあい")},
        {QStringLiteral("ｱｲｳｴｵｶ"), QStringLiteral("ｱｲｳｴｵ")}, // half-width kana: one byte each
    };
    for (const Case &c : cases) {
        edit->clear();
        type(edit, c.typed);
        EXPECT_EQ(edit->text(), c.kept) << c.typed.toStdString();
    }
    leave(edit);
    EXPECT_EQ(m_set.value(QStringLiteral("TENPONAME")).toString(), QStringLiteral("ｱｲｳｴｵ"));
}

TEST_F(Controls, TypingIntoAnEmptySetStartsANewRowAndKeepsTheText)
{
    m_set.close();
    m_set.setSql(QStringLiteral("SELECT * FROM TAMBREL WHERE ID < 0"));
    m_set.open();
    connect(&m_set, &EditableResultSet::newRecord,
            [&] { m_set.setValue(QStringLiteral("CONAME"), QStringLiteral("既定")); });
    auto *edit = new DBEdit(&m_form);
    edit->setDataSet(&m_set);
    edit->setDataField(QStringLiteral("CONAME"));
    type(edit, QStringLiteral("新"));
    EXPECT_EQ(m_set.state(), State::Insert);
    EXPECT_EQ(edit->text(), QStringLiteral("新"));
    leave(edit);
    EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("新"));
}

TEST_F(Controls, FrozenControlsCatchUpWhenReleased)
{
    auto *edit = new DBEdit(&m_form);
    edit->setDataSet(&m_set);
    edit->setDataField(QStringLiteral("CONAME"));
    auto *box = new DBCheckBox(&m_form);
    box->setDataSet(&m_set);
    box->setDataField(QStringLiteral("PRINTOUT"));
    EXPECT_TRUE(box->isChecked());
    m_set.disableControls();
    m_set.Next();
    EXPECT_EQ(edit->text(), QStringLiteral("甲商店"));
    EXPECT_TRUE(box->isChecked());
    m_set.enableControls();
    EXPECT_EQ(edit->text(), QStringLiteral("乙商店"));
    EXPECT_FALSE(box->isChecked());
}

TEST_F(Controls, CheckBoxWritesOneAndZero)
{
    auto *box = new DBCheckBox(&m_form);
    box->setText(QStringLiteral("印刷対象"));
    box->setDataSet(&m_set);
    box->setDataField(QStringLiteral("PRINTOUT"));
    ASSERT_TRUE(box->isChecked());
    box->click();
    EXPECT_EQ(m_set.state(), State::Edit);
    EXPECT_EQ(m_set.value(QStringLiteral("PRINTOUT")), QVariant(0));
    box->click();
    EXPECT_EQ(m_set.value(QStringLiteral("PRINTOUT")), QVariant(1));
    m_set.Post();
    m_set.Next();
    EXPECT_FALSE(box->isChecked());
    m_set.setValue(QStringLiteral("PRINTOUT"), QVariant()); // null: not ticked
    EXPECT_FALSE(box->isChecked());
    m_set.setValue(QStringLiteral("PRINTOUT"), 1);
    EXPECT_TRUE(box->isChecked());
}

TEST_F(Controls, EditFieldSetupReachesBoundEdits)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("TAMBREL.ini"));
    ASSERT_TRUE(WriteIniString(ini, QStringLiteral("DBEdit"), QStringLiteral("TENP"),
                               QStringLiteral("01")));
    TambrelSettings s;
    s.SettingsFilePath = ini;
    s.EditColor = 0x00FFFF00;
    ScopedSettings scoped(s);
    auto *cona = new DBEdit(&m_form);
    cona->setObjectName(QStringLiteral("CONA"));
    auto *tenp = new DBEdit(&m_form);
    tenp->setObjectName(QStringLiteral("TENP"));
    SetupEditFields(&m_form);
    EXPECT_TRUE(cona->tabStop());
    EXPECT_FALSE(cona->imeOpen());
    EXPECT_EQ(cona->palette().color(QPalette::Base), WinColorToQColor(0x00FFFF00));
    EXPECT_FALSE(tenp->tabStop());
    EXPECT_TRUE(tenp->imeOpen());
    EXPECT_EQ(tenp->focusPolicy(), Qt::ClickFocus);
}

TEST_F(Controls, GridShowsItsColumnsAndFollowsTheCurrentRow)
{
    DBGrid grid;
    QAbstractItemModelTester tester(grid.columnsModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    grid.setObjectName(QStringLiteral("DBGrid1"));
    grid.setDataSet(&m_set);
    grid.setColumns({{QStringLiteral("PRINTOUT"), QStringLiteral("印刷対象"), 59, Qt::AlignCenter},
                     {QStringLiteral("DENNO_1"), QStringLiteral("伝票番号"), 81},
                     {QStringLiteral("CONAME"), QStringLiteral("社名"), 163}});
    grid.resize(400, 200);
    grid.show();
    QAbstractItemModel *model = grid.model();
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("伝票番号"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, kFieldNameRole).toString(),
              QStringLiteral("DENNO_1"));
    EXPECT_EQ(grid.columnWidth(0), 59);
    EXPECT_EQ(grid.columnWidth(2), 163);
    EXPECT_EQ(model->data(model->index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignCenter);
    m_set.fetchAll();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->data(model->index(1, 2)).toString(), QStringLiteral("乙商店"));

    grid.setCurrentIndex(model->index(1, 2));
    EXPECT_EQ(m_set.currentRow(), 1);
    m_set.First();
    EXPECT_EQ(grid.currentIndex().row(), 0);

    QSignalSpy titles(&grid, &DBGrid::titleClicked);
    emit grid.horizontalHeader()->sectionClicked(2);
    ASSERT_EQ(titles.count(), 1);
    EXPECT_EQ(titles.first().first().toString(), QStringLiteral("CONAME"));

    // In-place editing goes through the set; a new row shows in the grid.
    ASSERT_TRUE(model->setData(model->index(1, 2), QStringLiteral("改")));
    EXPECT_EQ(m_set.currentRow(), 1);
    EXPECT_EQ(m_set.state(), State::Edit);
    EXPECT_EQ(m_set.value(QStringLiteral("CONAME")).toString(), QStringLiteral("改"));
    ASSERT_TRUE(m_set.Append());
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(grid.currentIndex().row(), 2);
    // The view moving off the dropped row must not post it or drop another.
    m_set.Cancel();
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(m_set.state(), State::Browse);
    EXPECT_EQ(m_set.valueAt(1, QStringLiteral("CONAME")).toString(), QStringLiteral("改"));
    EXPECT_EQ(m_set.currentRow(), 1);
    EXPECT_EQ(grid.currentIndex().row(), 1);

    grid.setReadOnly(true);
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);

    // Column widths in the settings file, keyed by field name.
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("TAMBREL.ini"));
    grid.setColumnWidth(2, 120);
    ASSERT_TRUE(SaveGridColumns(&grid, ini, QStringLiteral("SelDataFormDBGrid1")));
    EXPECT_EQ(
        ReadIniInteger(ini, QStringLiteral("SelDataFormDBGrid1"), QStringLiteral("CONAME"), 0),
        120);
    grid.setColumnWidth(2, 40);
    ASSERT_TRUE(LoadGridColumns(&grid, ini, QStringLiteral("SelDataFormDBGrid1"), Qt::AlignCenter));
    EXPECT_EQ(grid.columnWidth(2), 120);
}

TEST_F(Controls, GridStaysOnARowThatCannotBePosted)
{
    connect(&m_set, &EditableResultSet::beforePost, [&] {
        if (m_set.isNull(QStringLiteral("CONAME")))
            m_set.abort();
    });
    DBGrid grid;
    grid.setDataSet(&m_set);
    m_set.fetchAll();
    m_set.setValue(QStringLiteral("CONAME"), QVariant());
    grid.setCurrentIndex(grid.model()->index(1, 0));
    EXPECT_EQ(m_set.currentRow(), 0);
    EXPECT_EQ(grid.currentIndex().row(), 0);
    EXPECT_EQ(m_set.state(), State::Edit);
}
