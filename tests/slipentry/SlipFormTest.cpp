// The slip form of each type: which edits it has, where they sit, how they
// are bound and wired, and the controls around the picture.

#include "SlipEntryTexts.h"
#include "SlipFormFixture.h"
#include "settings/IniFile.h"
#include "ui/ConnectedMainWindow.h"
#include "ui/DBCheckBox.h"
#include "ui/DBEdit.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QTemporaryDir>

namespace {

QString t16(const char16_t *s)
{
    return QString::fromUtf16(s);
}

struct TypeCase
{
    SlipType type;
    int lines;
    int nameRows;
    bool fullForm; // unit, corrections, first and order date, second partner code, L_F1
    QVector<int> lineTops;
};

const TypeCase kTypeCases[] = {
    {SlipType::Type22, 9, 2, true, {123, 162, 201, 239, 278, 317, 356, 394, 432}},
    {SlipType::Type21, 9, 1, true, {138, 177, 215, 253, 292, 331, 370, 408, 445}},
    {SlipType::Type12, 6, 2, true, {199, 238, 276, 314, 353, 391}},
    {SlipType::Type11, 6, 1, true, {226, 269, 310, 352, 393, 434}},
    {SlipType::TypeT11, 6, 1, false, {209, 248, 287, 327, 366, 405}},
    {SlipType::TypeT12, 6, 2, false, {200, 239, 278, 317, 357, 395}},
};

// The tab order every type follows, leaving out what the type lacks.
QStringList expectedOrder(const TypeCase &c)
{
    const bool full = c.fullForm;
    const bool t12 = c.type == SlipType::TypeT12;
    QStringList out{QStringLiteral("A_F1"), QStringLiteral("B_F1"),   QStringLiteral("C_F1"),
                    QStringLiteral("D_F1"), QStringLiteral("CONA"),   QStringLiteral("TENP"),
                    QStringLiteral("COCO"), QStringLiteral("BUNR"),   QStringLiteral("BUNR_2"),
                    QStringLiteral("DENN"), QStringLiteral("DENN_2"), QStringLiteral("TORI")};
    if (full)
        out << QStringLiteral("TORI_2");
    out << QStringLiteral("TNAM") << QStringLiteral("TNAM_2");
    if (full)
        out << QStringLiteral("TEIS") << QStringLiteral("TEIS_2") << QStringLiteral("JNOU")
            << QStringLiteral("JNOU_M") << QStringLiteral("JNOU_D");
    out << QStringLiteral("E_F1");
    if (full)
        out << QStringLiteral("HACY") << QStringLiteral("HACY_M") << QStringLiteral("HACY_D");
    out << QStringLiteral("NOUH") << QStringLiteral("NOUH_M") << QStringLiteral("NOUH_D")
        << QStringLiteral("BINN");
    for (int n = 1; n <= c.lines; ++n) {
        const QString s = QString::number(n);
        out << (QStringLiteral("HINMEI_") + s + QLatin1Char('1'));
        if (c.nameRows == 2)
            out << (t12 ? QStringLiteral("DBEdit%1").arg(2 * n - 1)
                        : (QStringLiteral("HINMEI_") + s + QLatin1Char('2')));
        out << (QStringLiteral("CODE_") + s + QLatin1Char('1'));
        if (c.nameRows == 2)
            out << (t12 ? QStringLiteral("DBEdit%1").arg(2 * n)
                        : (QStringLiteral("CODE_") + s + QLatin1Char('2')));
        out << QStringLiteral("COLOR_") + s << QStringLiteral("IRIKAZU_") + s
            << QStringLiteral("SIZE_") + s << QStringLiteral("ASEE_") + s;
        if (full)
            out << QStringLiteral("TANI_") + s;
        out << (QStringLiteral("KAZU_") + s + QLatin1Char('1'))
            << (QStringLiteral("KAZ2_") + s + QLatin1Char('2'));
        if (full)
            out << (QStringLiteral("KAZT_") + s + QLatin1Char('1'))
                << (QStringLiteral("KZT2_") + s + QLatin1Char('2'));
        out << QStringLiteral("HIKIAI_") + s << QStringLiteral("KUBUN_") + s
            << (QStringLiteral("GTAN_") + s + QLatin1Char('1'))
            << (QStringLiteral("GTN2_") + s + QLatin1Char('2')) << QStringLiteral("GKEI_") + s
            << QStringLiteral("URITANKA_") + s << QStringLiteral("BIKOU_") + s;
    }
    const QString t = c.lines == 9 ? QStringLiteral("9") : QStringLiteral("6");
    out << QStringLiteral("GOUKEI_KAZU%1_1").arg(t) << QStringLiteral("GOUKEI_KAZU%1_2").arg(t);
    if (full)
        out << QStringLiteral("GOUKEI_KAZU%1_T1").arg(t)
            << QStringLiteral("GOUKEI_KAZU%1_T2").arg(t);
    out << QStringLiteral("GOUKEI_GENKA") + t << QStringLiteral("GOUKEI_URI") + t;
    for (const char *f : {"F_F1", "G_F1", "H_F1", "I_F1", "J_F1", "K_F1"})
        out << QLatin1String(f);
    if (full)
        out << QStringLiteral("L_F1");
    out << QStringLiteral("GOUKEI_GENKA%1_T").arg(t) << QStringLiteral("GOUKEI_URI%1_T").arg(t);
    return out;
}

// The column an edit is bound to, from its name.
QString expectedColumn(const QString &name, bool t12)
{
    static const QHash<QString, QString> header{
        {QStringLiteral("CONA"), QStringLiteral("CONAME")},
        {QStringLiteral("TENP"), QStringLiteral("TENPONAME")},
        {QStringLiteral("COCO"), QStringLiteral("COCODE")},
        {QStringLiteral("BUNR"), QStringLiteral("BUNRUICODE")},
        {QStringLiteral("BUNR_2"), QStringLiteral("DENKUBUN")},
        {QStringLiteral("DENN"), QStringLiteral("DENNO_1")},
        {QStringLiteral("DENN_2"), QStringLiteral("DENNO_2")},
        {QStringLiteral("TORI"), QStringLiteral("TORIHIKICODE_1")},
        {QStringLiteral("TORI_2"), QStringLiteral("TORIHIKICODE_2")},
        {QStringLiteral("TNAM"), QStringLiteral("TORIHIKINAME_1")},
        {QStringLiteral("TNAM_2"), QStringLiteral("TORIHIKINAME_2")},
        {QStringLiteral("TEIS"), QStringLiteral("TEISEI_1")},
        {QStringLiteral("TEIS_2"), QStringLiteral("TEISEI_2")},
        {QStringLiteral("JNOU"), QStringLiteral("NOUHIN_Y1")},
        {QStringLiteral("JNOU_M"), QStringLiteral("NOUHIN_M1")},
        {QStringLiteral("JNOU_D"), QStringLiteral("NOUHIN_D1")},
        {QStringLiteral("HACY"), QStringLiteral("HACYU_Y")},
        {QStringLiteral("HACY_M"), QStringLiteral("HACYU_M")},
        {QStringLiteral("HACY_D"), QStringLiteral("HACYU_D")},
        {QStringLiteral("NOUH"), QStringLiteral("NOUHIN_Y2")},
        {QStringLiteral("NOUH_M"), QStringLiteral("NOUHIN_M2")},
        {QStringLiteral("NOUH_D"), QStringLiteral("NOUHIN_D2")},
    };
    if (header.contains(name))
        return header.value(name);
    static const QRegularExpression dbEdit(QStringLiteral("^DBEdit(\\d+)$"));
    if (const auto m = dbEdit.match(name); m.hasMatch() && t12) {
        const int k = m.captured(1).toInt();
        const int line = (k + 1) / 2;
        return (k % 2 ? QStringLiteral("HINMEI_") : QStringLiteral("CODE_")) +
               QString::number(line) + QLatin1Char('2');
    }
    static const QRegularExpression line(QStringLiteral("^([A-Z0-9]+)_(\\d)(\\d?)$"));
    if (const auto m = line.match(name);
        m.hasMatch() && !name.startsWith(QLatin1String("GOUKEI"))) {
        const QString n = m.captured(2);
        const QString part = m.captured(3);
        const QString key = m.captured(1);
        if (key == QLatin1String("ASEE"))
            return QStringLiteral("CASEE_") + n;
        if (key == QLatin1String("KAZ2"))
            return QStringLiteral("KAZU_") + n + part;
        if (key == QLatin1String("KAZT") || key == QLatin1String("KZT2"))
            return QStringLiteral("KAZU_T_") + n + part;
        if (key == QLatin1String("GTAN") || key == QLatin1String("GTN2"))
            return QStringLiteral("GENKA_") + n + part;
        if (key == QLatin1String("GKEI"))
            return QStringLiteral("GENKAKEI_") + n;
    }
    return name; // free boxes, totals and the item columns named as their column
}

int expectedMaxBytes(const QString &column)
{
    static const QList<QPair<QRegularExpression, int>> table{
        {QRegularExpression(QStringLiteral("^HINMEI_\\d\\d$")), 60},
        {QRegularExpression(QStringLiteral("^CODE_\\d\\d$")), 20},
        {QRegularExpression(QStringLiteral("^(COLOR|IRIKAZU)_\\d$")), 10},
        {QRegularExpression(QStringLiteral("^(SIZE|CASEE)_\\d$")), 8},
        {QRegularExpression(QStringLiteral("^TANI_\\d$")), 4},
        {QRegularExpression(QStringLiteral("^KAZU_\\d1$")), 5},
        {QRegularExpression(QStringLiteral("^KAZU_\\d2$")), 1},
        {QRegularExpression(QStringLiteral("^KAZU_T_\\d1$")), 6},
        {QRegularExpression(QStringLiteral("^KAZU_T_\\d2$")), 1},
        {QRegularExpression(QStringLiteral("^(HIKIAI|KUBUN)_\\d$")), 2},
        {QRegularExpression(QStringLiteral("^GENKA_\\d1$")), 6},
        {QRegularExpression(QStringLiteral("^GENKA_\\d2$")), 2},
        {QRegularExpression(QStringLiteral("^(GENKAKEI|BIKOU)_\\d$")), 9},
        {QRegularExpression(QStringLiteral("^URITANKA_\\d$")), 6},
        {QRegularExpression(QStringLiteral("^TEISEI_\\d$")), 2},
        {QRegularExpression(QStringLiteral("^(NOUHIN|HACYU)_[YMD]\\d?$")), 2},
        {QRegularExpression(QStringLiteral("^BINN$")), 3},
        {QRegularExpression(QStringLiteral("^GOUKEI_KAZU\\d_1$")), 5},
        {QRegularExpression(QStringLiteral("^GOUKEI_KAZU\\d_2$")), 1},
        {QRegularExpression(QStringLiteral("^GOUKEI_KAZU\\d_T1$")), 6},
        {QRegularExpression(QStringLiteral("^GOUKEI_KAZU\\d_T2$")), 1},
        {QRegularExpression(QStringLiteral("^GOUKEI_(GENKA|URI)\\d(_T)?$")), 9},
    };
    for (const auto &[re, bytes] : table) {
        if (re.match(column).hasMatch())
            return bytes;
    }
    return 0; // limited by the column
}

class SlipFormLayout : public SlipFormFixture, public ::testing::WithParamInterface<TypeCase>
{
};

} // namespace

TEST_P(SlipFormLayout, EditsFollowTheColumnGroupsAndTabOrderOfTheType)
{
    const TypeCase &c = GetParam();
    TambrelForm &f = open(c.type);
    const QStringList expected = expectedOrder(c);

    QStringList names;
    for (DBEdit *e : f.slipEdits())
        names << e->objectName();
    EXPECT_EQ(names, expected);

    // The focus chain visits the edits in the same order.
    QStringList chain;
    QWidget *w = f.slipEdits().first();
    for (int guard = 0; guard < 1000 && chain.size() < expected.size(); ++guard) {
        if (auto *e = qobject_cast<DBEdit *>(w))
            chain << e->objectName();
        w = w->nextInFocusChain();
    }
    EXPECT_EQ(chain, expected);

    const bool t12 = c.type == SlipType::TypeT12;
    for (DBEdit *e : f.slipEdits()) {
        const QString name = e->objectName();
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(e->dataField(), expectedColumn(name, t12));
        EXPECT_TRUE(query().hasColumn(e->dataField()));
        EXPECT_EQ(e->maxBytes(), expectedMaxBytes(e->dataField()));
        static const QRegularExpression nameOrCode(QStringLiteral("^(HINMEI|CODE)_(\\d)[12]$"));
        const auto m = nameOrCode.match(e->dataField());
        EXPECT_EQ(e->tag(), m.hasMatch() ? 10 * m.captured(2).toInt() + 1 : 0);
        EXPECT_EQ(f.editDef(e)->setupKey, name.left(4));
    }
}

TEST_P(SlipFormLayout, EditsSitOverThePictureOnTheirItemLines)
{
    const TypeCase &c = GetParam();
    TambrelForm &f = open(c.type);
    const SlipEditTable &t = f.editTable();
    EXPECT_EQ(f.Image1()->pos(), QPoint(2, 4));
    const QRect picture(t.picturePos, t.pictureSize);
    for (DBEdit *e : f.slipEdits()) {
        SCOPED_TRACE(e->objectName().toStdString());
        EXPECT_TRUE(picture.contains(e->geometry()))
            << e->geometry().x() << "," << e->geometry().y();
        EXPECT_EQ(e->parentWidget(), f.Image1()->parentWidget());
        EXPECT_GE(e->height(), e->font().pixelSize() + 4); // text fits its box
    }
    for (int n = 1; n <= c.lines; ++n) {
        DBEdit *name = edit(QStringLiteral("HINMEI_") + QString::number(n) + QLatin1Char('1'));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->y(), c.lineTops.at(n - 1)) << "line " << n;
    }
    // Nothing of line 7 on a six-line slip.
    EXPECT_EQ(f.slipEdit(QStringLiteral("HINMEI_71")) != nullptr, c.lines == 9);
    // The controls below the picture do not cover it.
    for (QWidget *w :
         {static_cast<QWidget *>(f.CaptionDBNavi1()), static_cast<QWidget *>(f.CaptionDBNavi2()),
          static_cast<QWidget *>(f.DBCheckBox1()), static_cast<QWidget *>(f.SelDataBtn()),
          static_cast<QWidget *>(f.PrintBtn()), static_cast<QWidget *>(f.BitBtn1())}) {
        EXPECT_GE(w->y(), picture.bottom()) << qPrintable(w->objectName());
        EXPECT_LE(w->geometry().bottom(), f.centralWidget()->height())
            << qPrintable(w->objectName());
    }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, SlipFormLayout, ::testing::ValuesIn(kTypeCases),
                         [](const ::testing::TestParamInfo<TypeCase> &info) {
                             return std::string(slipTypeInfo(info.param.type).program);
                         });

TEST_F(SlipFormFixture, TypeTwentyTwoLineOneAtItsDesignedPlaces)
{
    open(SlipType::Type22);
    const struct
    {
        const char *name;
        QRect rect;
    } cases[] = {
        {"HINMEI_11", {6, 123, 235, 19}},
        {"HINMEI_12", {6, 142, 235, 19}},
        {"CODE_11", {245, 123, 102, 19}},
        {"CODE_12", {245, 142, 102, 19}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(edit(QLatin1String(c.name))->geometry(), c.rect) << c.name;
    const struct
    {
        const char *name;
        int left;
        int width;
    } row[] = {{"COLOR_1", 350, 42},  {"IRIKAZU_1", 392, 42}, {"SIZE_1", 438, 22},
               {"ASEE_1", 460, 21},   {"TANI_1", 483, 29},    {"KAZU_11", 514, 41},
               {"KAZ2_12", 556, 13},  {"KAZT_11", 592, 47},   {"KZT2_12", 640, 13},
               {"HIKIAI_1", 655, 18}, {"KUBUN_1", 675, 18},   {"GTAN_11", 696, 52},
               {"GTN2_12", 749, 20},  {"GKEI_1", 773, 83},    {"URITANKA_1", 859, 55},
               {"BIKOU_1", 917, 84}};
    for (const auto &r : row) {
        DBEdit *e = edit(QLatin1String(r.name));
        EXPECT_EQ(e->x(), r.left) << r.name;
        EXPECT_EQ(e->width(), r.width) << r.name;
        EXPECT_EQ(e->y(), 138) << r.name;
    }
}

TEST_F(SlipFormFixture, HintsAndMenusOfTheFieldsThatPickFromLists)
{
    open(SlipType::Type22);
    const QString hintA = t16(SlipEntryTexts::kHintPick);
    const QString hintB = t16(SlipEntryTexts::kHintCheckDigit);
    const struct
    {
        const char *name;
        QString hint;
        QMenu *menu;
        SlipFieldClick click;
        SlipFieldExit exit;
    } cases[] = {
        {"CONA", hintA, form().PopupMenu2(), SlipFieldClick::Company, SlipFieldExit::None},
        {"COCO", hintA, form().PopupMenu2(), SlipFieldClick::Company, SlipFieldExit::CompanyCode},
        {"TORI_2", hintA, form().PopupMenu3(), SlipFieldClick::Partner, SlipFieldExit::None},
        {"TNAM_2", hintA, form().PopupMenu3(), SlipFieldClick::Partner, SlipFieldExit::None},
        {"DENN", hintB, form().PopupMenuCD(), SlipFieldClick::CheckDigit, SlipFieldExit::None},
        {"DENN_2", QString(), nullptr, SlipFieldClick::None, SlipFieldExit::None},
        {"HINMEI_32", hintA, form().PopupMenu1(), SlipFieldClick::Item, SlipFieldExit::None},
        {"CODE_31", hintA, form().PopupMenu1(), SlipFieldClick::Item, SlipFieldExit::ItemCode},
        {"CODE_32", hintA, form().PopupMenu1(), SlipFieldClick::Item, SlipFieldExit::None},
        {"KAZ2_32", QString(), nullptr, SlipFieldClick::None, SlipFieldExit::Quantity},
        {"GTN2_32", QString(), nullptr, SlipFieldClick::None, SlipFieldExit::Quantity},
        {"URITANKA_3", QString(), nullptr, SlipFieldClick::None, SlipFieldExit::Quantity},
        {"KZT2_32", QString(), nullptr, SlipFieldClick::None, SlipFieldExit::CorrectedQuantity},
        {"GKEI_3", QString(), nullptr, SlipFieldClick::None, SlipFieldExit::None},
    };
    for (const auto &c : cases) {
        DBEdit *e = edit(QLatin1String(c.name));
        const SlipEditDef *d = form().editDef(e);
        ASSERT_NE(d, nullptr) << c.name;
        EXPECT_EQ(e->toolTip(), c.hint) << c.name;
        EXPECT_EQ(form().menuFor(d->menu), c.menu) << c.name;
        EXPECT_EQ(d->click, c.click) << c.name;
        EXPECT_EQ(d->exit, c.exit) << c.name;
    }
}

TEST_F(SlipFormFixture, SharedAndOwnSetupKeysDecideTabStops)
{
    // T12's second name and code rows follow DBEd, not HINM and CODE; all
    // totals follow GOUK.
    const QString ini = m_settings.SettingsFilePath;
    WriteIniString(ini, QStringLiteral("DBEdit"), QStringLiteral("DBEd"), QStringLiteral("00"));
    WriteIniString(ini, QStringLiteral("DBEdit"), QStringLiteral("HINM"), QStringLiteral("11"));
    WriteIniString(ini, QStringLiteral("DBEdit"), QStringLiteral("GOUK"), QStringLiteral("00"));
    open(SlipType::TypeT12);
    EXPECT_TRUE(edit(QStringLiteral("HINMEI_11"))->tabStop());
    EXPECT_TRUE(edit(QStringLiteral("HINMEI_11"))->imeOpen());
    EXPECT_TRUE(edit(QStringLiteral("CODE_11"))->tabStop());
    for (const char *name : {"DBEdit1", "DBEdit2", "DBEdit11", "DBEdit12"})
        EXPECT_FALSE(edit(QLatin1String(name))->tabStop()) << name;
    for (DBEdit *e : form().slipEdits()) {
        if (e->objectName().startsWith(QLatin1String("GOUKEI"))) {
            EXPECT_FALSE(e->tabStop()) << qPrintable(e->objectName());
        }
    }
    // Enter skips what is no tab stop: HINMEI_11 -> CODE_11.
    edit(QStringLiteral("HINMEI_11"))->setFocus();
    key(Qt::Key_Return);
    EXPECT_EQ(focused(), edit(QStringLiteral("CODE_11")));
}

TEST_F(SlipFormFixture, ControlsOfTheScreen)
{
    TambrelForm &f = open(SlipType::Type21);
    EXPECT_EQ(f.windowTitle(),
              ConnectedMainWindow::captionPrefix() + QStringLiteral("．．．１行印字"));
    EXPECT_EQ(f.helpContext(), 10);
    EXPECT_EQ(f.minimumSize(), f.maximumSize()); // fixed border
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(f.centralWidget()->width(), 1010);
    EXPECT_EQ(f.height(), 631);

    auto visibleCaptions = [](TCaptionDBNavi *navi) {
        QStringList out;
        for (int i = 0; i < TCaptionDBNavi::kButtonCount; ++i) {
            if (!navi->button(TCaptionDBNavi::NavigateBtn(i))->isHidden())
                out << navi->button(TCaptionDBNavi::NavigateBtn(i))->text();
        }
        return out;
    };
    EXPECT_EQ(visibleCaptions(f.CaptionDBNavi1()),
              (QStringList{QStringLiteral("新規"), QStringLiteral("削除"), QStringLiteral("登録"),
                           QStringLiteral("取消")}));
    EXPECT_EQ(visibleCaptions(f.CaptionDBNavi2()),
              (QStringList{QStringLiteral("前"), QStringLiteral("次")}));
    EXPECT_EQ(f.CaptionDBNavi1()->OnMoveColor(), QColor(Qt::red));
    EXPECT_EQ(f.CaptionDBNavi1()->CaptionLayout(), TCaptionDBNavi::cbLeft);

    EXPECT_EQ(f.DBCheckBox1()->text(), QStringLiteral("印刷対象"));
    EXPECT_EQ(f.DBCheckBox1()->dataField(), QStringLiteral("PRINTOUT"));
    EXPECT_FALSE(f.DBCheckBox1()->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(f.SelDataBtn()->text(), QStringLiteral("登録済データ"));
    EXPECT_EQ(f.SelDataBtn()->toolTip(), QStringLiteral("登録済みのデータを選択します"));
    EXPECT_EQ(f.PrintBtn()->text(), QStringLiteral("印 刷"));
    EXPECT_EQ(f.PrintBtn()->toolTip(), QStringLiteral("印刷します"));
    EXPECT_EQ(f.BitBtn1()->text(), QStringLiteral("終了(&X)"));
    EXPECT_EQ(f.helpPanel()->text(), QStringLiteral("F1ヘルプ"));
    EXPECT_EQ(f.helpPanel()->width(), 60);
    EXPECT_EQ(f.helpPanel()->alignment(), Qt::AlignCenter);
    EXPECT_NE(f.findChild<QShortcut *>(QStringLiteral("HelpKey")), nullptr);
    // The field menus: choose, a separator, register; the slip number's one item.
    for (QMenu *menu : {f.PopupMenu1(), f.PopupMenu2(), f.PopupMenu3()}) {
        ASSERT_EQ(menu->actions().size(), 3) << qPrintable(menu->objectName());
        EXPECT_TRUE(menu->actions().at(1)->isSeparator());
    }
    EXPECT_EQ(f.PopupMenu1()->actions().at(0)->text(), QStringLiteral("商品マスターから選択"));
    EXPECT_EQ(f.PopupMenu1()->actions().at(2)->text(), QStringLiteral("商品マスターへ登録"));
    EXPECT_EQ(f.PopupMenu2()->actions().at(2)->text(), QStringLiteral("マスターへ登録"));
    EXPECT_EQ(f.PopupMenuCD()->actions().size(), 1);
    EXPECT_EQ(f.PopupMenuCD()->actions().at(0)->text(), QStringLiteral("チェックデジット計算"));
    EXPECT_EQ(f.PopupMenuDataSet()->actions().size(), 2);

    // The window opens centred on its screen.
    const QRect area = f.screen()->availableGeometry();
    EXPECT_LE(std::abs(f.frameGeometry().center().x() - area.center().x()), 2);
    EXPECT_LE(std::abs(f.frameGeometry().center().y() - area.center().y()), 2);
}

TEST_F(SlipFormFixture, RelativePictureIsFoundBesideTheProgramFromAnyFolder)
{
    // Started from a folder without pictures, as a launcher may do.
    QTemporaryDir elsewhere;
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    const struct
    {
        SlipType type;
        QSize pictureSize;
        const char16_t *printName;
    } cases[] = {
        {SlipType::Type12, QSize(1009, 565), u"ターンアラウンド用１型（２行印字）"},
        {SlipType::Type11, QSize(1091, 608), u"ターンアラウンド用１型（１行印字）"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.type));
        TambrelForm &f = open(c.type, QStringLiteral("FormImages/CS_TR1.jpg"));
        EXPECT_EQ(f.Image1()->pixmap().size(), c.pictureSize);
        EXPECT_EQ(f.printDisplayName(), QString::fromUtf16(c.printName));
    }
    QDir::setCurrent(saved);
}

TEST_F(SlipFormFixture, PictureSetsTheWidthAndMissingPictureKeepsTheDesign)
{
    const QString bin = QCoreApplication::applicationDirPath();
    const struct
    {
        SlipType type;
        QString picture;
        QSize pictureSize; // empty: no picture
        int clientWidth;
    } cases[] = {
        {SlipType::Type22, QDir(bin).filePath(QStringLiteral("FormImages/CS_TR2.jpg")),
         QSize(1009, 565), 1010},
        {SlipType::TypeT11,
         QStringLiteral("  ") + QDir(bin).filePath(QStringLiteral("FormImages/CS_TY1.jpg")),
         QSize(999, 565), 1000},
        {SlipType::Type11, QDir(bin).filePath(QStringLiteral("Type11/FormImages/CS_TR1.jpg")),
         QSize(1091, 608), 1092},
        {SlipType::Type12, QDir(bin).filePath(QStringLiteral("FormImages/none.jpg")), QSize(),
         1010},
        {SlipType::TypeT12, QString(), QSize(), 1003},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.picture.toStdString());
        TambrelForm &f = open(c.type, c.picture);
        const QPixmap shown = f.Image1()->pixmap();
        EXPECT_EQ(shown.isNull(), c.pictureSize.isEmpty());
        if (!c.pictureSize.isEmpty()) {
            EXPECT_EQ(shown.size(), c.pictureSize);
            EXPECT_EQ(f.Image1()->geometry(), QRect(QPoint(2, 4), c.pictureSize));
        }
        EXPECT_EQ(f.centralWidget()->width(), c.clientWidth);
        EXPECT_EQ(f.height(), f.editTable().window.height());
    }
}
