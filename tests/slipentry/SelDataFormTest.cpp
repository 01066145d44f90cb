// The saved-slip list over the slip form's result set.

#include "SlipEntryTexts.h"
#include "SlipFormFixture.h"
#include "app/AppError.h"
#include "settings/IniFile.h"
#include "ui/DBEdit.h"
#include "ui/DBGrid.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>

namespace {

using Btn = TCaptionDBNavi::NavigateBtn;

QString t16(const char16_t *s)
{
    return QString::fromUtf16(s);
}

class SavedSlipList : public SlipFormFixture
{
protected:
    // Red pixels the grid painted in a row.
    int redPixels(TSelDataForm &list, int row)
    {
        DBGrid *grid = list.DBGrid1();
        grid->clearSelection(); // the highlight would hide the text colour
        grid->setCurrentIndex(QModelIndex());
        const QImage image = grid->viewport()->grab().toImage();
        const QAbstractItemModel *m = grid->model();
        const QRect r = grid->visualRect(m->index(row, 0))
                            .united(grid->visualRect(m->index(row, m->columnCount() - 1)));
        int count = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right() && x < image.width(); ++x) {
                const QColor c =
                    image.pixelColor(x * image.devicePixelRatio(), y * image.devicePixelRatio());
                if (c.red() > 180 && c.green() < 90 && c.blue() < 90)
                    ++count;
            }
        }
        return count;
    }

    void openList() { form().SelDataBtnClick(); }
};

} // namespace

TEST_F(SavedSlipList, MarksAsSignsAndMarkedSlipsInRed)
{
    const int marked = insertSlip(QStringLiteral("赤商店"), 1, QStringLiteral("000001"));
    const int unmarked = insertSlip(QStringLiteral("黒商店"), 0, QStringLiteral("000002"));
    const int empty = insertSlip(QStringLiteral("白商店"), 0, QStringLiteral("000003"));
    execute(QStringLiteral("UPDATE TAMBREL SET PRINTOUT = NULL WHERE ID = %1").arg(empty));
    open(SlipType::Type22);
    const struct
    {
        int id;
        QString sign;
        bool red;
    } cases[] = {{marked, t16(SlipEntryTexts::kMarkOn), true},
                 {unmarked, t16(SlipEntryTexts::kMarkOff), false},
                 {empty, QString(), false}};
    bool seen = false;
    whenListOpens([&](TSelDataForm &list) {
        seen = true;
        for (const auto &c : cases) {
            const int row = rowOfId(c.id);
            ASSERT_GE(row, 0);
            EXPECT_EQ(TSelDataForm::markText(query().valueAt(row, QStringLiteral("PRINTOUT"))),
                      c.sign);
            EXPECT_EQ(TSelDataForm::markedRow(query(), row), c.red);
            EXPECT_EQ(redPixels(list, row) > 20, c.red) << c.id;
        }
        list.BitBtn1()->click();
    });
    openList();
    EXPECT_TRUE(seen);
}

TEST_F(SavedSlipList, ColumnsModesAndWindow)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000001"));
    open(SlipType::Type12);
    for (bool printMode : {false, true}) {
        TSelDataForm list(query(), printMode, form().helpContext(), &form());
        SCOPED_TRACE(printMode);
        const QAbstractItemModel *m = list.DBGrid1()->model();
        QStringList titles;
        QList<int> widths;
        for (int c = 0; c < m->columnCount(); ++c) {
            titles << m->headerData(c, Qt::Horizontal).toString();
            widths << list.DBGrid1()->columnWidth(c);
        }
        EXPECT_EQ(titles,
                  (QStringList{QStringLiteral("印刷対象"), QStringLiteral("伝票番号"),
                               QStringLiteral(" "), QStringLiteral("社名"), QStringLiteral("店名"),
                               QStringLiteral("取引先ｺｰﾄﾞ"), QStringLiteral("取引先名１"),
                               QStringLiteral("取引先名２"), QStringLiteral("品名")}));
        EXPECT_EQ(widths, (QList<int>{59, 81, 17, 163, 163, 73, 163, 163, 220}));
        EXPECT_EQ(list.windowTitle(),
                  QStringLiteral("チェーンストア統一伝票印刷．．．登録データ選択"));
        EXPECT_TRUE(list.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(list.minimumWidth(), 605);
        EXPECT_EQ(list.BitBtn3()->isVisibleTo(&list), printMode);
        EXPECT_EQ(list.closeItem()->isVisible(), !printMode);
        EXPECT_EQ(list.BitBtn1()->text(),
                  printMode ? QStringLiteral("OK") : QStringLiteral("閉じる"));
        EXPECT_EQ(list.BitBtn1()->toolTip(),
                  printMode ? QStringLiteral("印刷実行") : QStringLiteral("画面を閉じる"));
        EXPECT_TRUE(list.S_SortRB()->isChecked());
        EXPECT_TRUE(list.menuOffered());
        EXPECT_TRUE(list.BitBtn2()->isEnabled());
        list.reject();
    }
}

TEST_F(SavedSlipList, ColumnWidthsAndPlacementAreKept)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000001"));
    open(SlipType::Type22);
    {
        TSelDataForm list(query(), false, 11, &form());
        list.show();
        list.DBGrid1()->setColumnWidth(3, 240);
        list.reject();
    }
    EXPECT_EQ(ReadIniInteger(m_settings.SettingsFilePath, QStringLiteral("SelDataFormDBGrid1"),
                             QStringLiteral("CONAME"), -1),
              240);
    TSelDataForm again(query(), false, 11, &form());
    EXPECT_EQ(again.DBGrid1()->columnWidth(3), 240);
    EXPECT_EQ(again.DBGrid1()->columnWidth(4), 163);
}

TEST_F(SavedSlipList, ToggleByButtonDoubleClickAndMenu)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000002"));
    insertSlip(QStringLiteral("乙"), 0, QStringLiteral("000001"));
    open(SlipType::Type22);
    ASSERT_EQ(query().value(QStringLiteral("CONAME")).toString(), QStringLiteral("甲"));
    auto mark = [&] { return query().value(QStringLiteral("PRINTOUT")).toString(); };
    whenListOpens([&](TSelDataForm &list) {
        list.PopupMenu1Popup();
        EXPECT_TRUE(list.clearMarkItem()->isEnabled());
        EXPECT_FALSE(list.setMarkItem()->isEnabled());
        list.BitBtn2()->click();
        EXPECT_EQ(mark(), QStringLiteral("0"));
        EXPECT_EQ(query().state(), EditableResultSet::State::Browse);
        list.PopupMenu1Popup();
        EXPECT_FALSE(list.clearMarkItem()->isEnabled());
        EXPECT_TRUE(list.setMarkItem()->isEnabled());

        DBGrid *grid = list.DBGrid1();
        emit grid->doubleClicked(grid->model()->index(0, 3));
        EXPECT_EQ(mark(), QStringLiteral("1"));
        list.setMarkItem()->trigger();
        EXPECT_EQ(mark(), QStringLiteral("0"));
        list.BitBtn1()->click();
    });
    openList();
    EXPECT_EQ(mark(), QStringLiteral("0"));
}

TEST_F(SavedSlipList, EmptyListOffersNothing)
{
    open(SlipType::Type22);
    TSelDataForm list(query(), true, 11, &form());
    EXPECT_FALSE(list.menuOffered());
    EXPECT_FALSE(list.BitBtn2()->isEnabled());
    list.DBGrid1DblClick();
    list.N4Click(1);
    EXPECT_EQ(query().rowCount(), 0);
    EXPECT_FALSE(query().editing());
}

TEST_F(SavedSlipList, ClearAllPostsOnlyTheMarkedSlipsAndReturnsToTheCurrent)
{
    const int marks[] = {0, 1, 0, 1, 0};
    for (int i = 0; i < 5; ++i)
        insertSlip(QStringLiteral("社%1").arg(i), marks[i], QStringLiteral("00000%1").arg(i));
    open(SlipType::Type22);
    key(Qt::Key_PageDown);
    key(Qt::Key_PageDown);
    const QVariant current = query().value(QStringLiteral("ID"));
    int posts = 0;
    QObject::connect(&query(), &EditableResultSet::beforePost, &form(), [&] { ++posts; });
    whenListOpens([&](TSelDataForm &list) {
        list.clearAllItem()->trigger();
        EXPECT_EQ(query().value(QStringLiteral("ID")), current);
        list.BitBtn1()->click();
    });
    openList();
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(query().value(QStringLiteral("ID")), current);
    for (int r = 0; r < query().rowCount(); ++r)
        EXPECT_EQ(query().valueAt(r, QStringLiteral("PRINTOUT")).toInt(), 0);
    EXPECT_EQ(countRows(QStringLiteral("WHERE PRINTOUT = 1")), 2); // not yet written

    posts = 0;
    whenListOpens([&](TSelDataForm &list) {
        list.setAllItem()->trigger();
        list.BitBtn1()->click();
    });
    openList();
    EXPECT_EQ(posts, 5);
    closeForm();
    EXPECT_EQ(countRows(QStringLiteral("WHERE PRINTOUT = 1")), 5);
}

TEST_F(SavedSlipList, MarkThatCannotBePostedIsReportedAndLeftAsItWas)
{
    const int id = insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000001"));
    execute(QStringLiteral("UPDATE TAMBREL SET CONAME = NULL WHERE ID = %1").arg(id));
    open(SlipType::Type22);
    whenListOpens([&](TSelDataForm &list) {
        QTest::mouseClick(list.BitBtn2(), Qt::LeftButton);
        list.BitBtn1()->click();
    });
    openList();
    EXPECT_EQ(m_messages.texts(), (QStringList{t16(SlipEntryTexts::kCompanyRequired),
                                               t16(SlipEntryTexts::kPrintMarkError)}));
    EXPECT_EQ(query().value(QStringLiteral("PRINTOUT")).toInt(), 1);
    EXPECT_EQ(query().state(), EditableResultSet::State::Browse);
}

TEST_F(SavedSlipList, SortingStaysInTheFormAndCloseKeepsTheChosenSlip)
{
    insertSlip(QStringLiteral("Ｂ商店"), 1, QStringLiteral("000003"));
    insertSlip(QStringLiteral("Ａ商店"), 0, QStringLiteral("000001"));
    insertSlip(QStringLiteral("Ｃ商店"), 0, QStringLiteral("000002"));
    open(SlipType::Type22);
    whenListOpens([&](TSelDataForm &list) {
        QTest::mouseClick(list.K_SortRB(), Qt::LeftButton);
        EXPECT_TRUE(list.K_SortRB()->isChecked());
        QHeaderView *header = list.DBGrid1()->horizontalHeader();
        const int x = header->sectionViewportPosition(3) + header->sectionSize(3) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        // Choose the last slip in the list, then close it.
        DBGrid *grid = list.DBGrid1();
        grid->setCurrentIndex(grid->model()->index(2, 3));
        list.closeItem()->trigger();
    });
    openList();
    reactivate();
    QStringList order;
    for (int r = 0; r < query().rowCount(); ++r)
        order << query().valueAt(r, QStringLiteral("CONAME")).toString();
    EXPECT_EQ(order, (QStringList{QStringLiteral("Ｃ商店"), QStringLiteral("Ｂ商店"),
                                  QStringLiteral("Ａ商店")}));
    EXPECT_EQ(edit(QStringLiteral("CONA"))->text(), QStringLiteral("Ａ商店"));
    key(Qt::Key_PageUp);
    EXPECT_EQ(edit(QStringLiteral("CONA"))->text(), QStringLiteral("Ｂ商店"));
    key(Qt::Key_PageUp);
    key(Qt::Key_PageDown);
    EXPECT_EQ(edit(QStringLiteral("CONA"))->text(), QStringLiteral("Ｂ商店"));
}

TEST_F(SavedSlipList, DeleteThroughItsNavigator)
{
    const int gone = insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000002"));
    const int kept = insertSlip(QStringLiteral("乙"), 1, QStringLiteral("000001"));
    open(SlipType::Type22);
    m_messages.answer(MsgResult::Ok);
    whenListOpens([&](TSelDataForm &list) {
        EXPECT_FALSE(list.CaptionDBNavi1()->button(Btn::nbDelete)->isHidden());
        EXPECT_TRUE(list.CaptionDBNavi1()->button(Btn::nbInsert)->isHidden());
        QTest::mouseClick(list.CaptionDBNavi1()->button(Btn::nbDelete), Qt::LeftButton);
        list.BitBtn1()->click();
    });
    openList();
    EXPECT_EQ(query().rowCount(), 1);
    closeForm();
    EXPECT_EQ(committed(gone, QStringLiteral("ID")).toString(), QStringLiteral("<no row>"));
    EXPECT_EQ(committed(kept, QStringLiteral("ID")).toInt(), kept);
}

TEST_F(SavedSlipList, FailedSortReportsAndKeepsTheOrderItHad)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000002"));
    const int second = insertSlip(QStringLiteral("乙"), 1, QStringLiteral("000001"));
    open(SlipType::Type22);
    key(Qt::Key_PageDown);
    TSelDataForm list(query(), false, 11, &form());
    try {
        list.DBGrid1TitleClick(QStringLiteral("NO_SUCH_COLUMN"));
        ADD_FAILURE() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), t16(SlipEntryTexts::kSortError));
    }
    ASSERT_TRUE(query().active());
    EXPECT_EQ(query().value(QStringLiteral("ID")).toInt(), second);
    EXPECT_EQ(query().valueAt(0, QStringLiteral("CONAME")).toString(), QStringLiteral("甲"));
}
