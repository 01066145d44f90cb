#include "ScopedSettings.h"
#include "ScriptedMessages.h"
#include "SlipFixture.h"
#include "db/IbFunc.h"
#include "settings/IniFile.h"
#include "settings/WinColor.h"
#include "ui/AppHints.h"
#include "ui/CaptionDBNavi.h"
#include "ui/FormHelp.h"
#include "ui/Help.h"
#include "ui/IniWinPlace.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolTip>

#include <memory>

using Btn = TCaptionDBNavi::NavigateBtn;

namespace {

class Navigator : public SlipFixture
{
protected:
    Navigator()
    {
        insertSlip(QStringLiteral("甲"), 1, QStringLiteral("1"));
        insertSlip(QStringLiteral("乙"), 1, QStringLiteral("2"));
        m_set.setSql(
            QStringList{QStringLiteral("SELECT * FROM TAMBREL"), QStringLiteral("ORDER BY ID")});
        m_set.open();
        BuildUpdateStatements(m_set, m_update, QStringLiteral("TAMBREL"));
        m_set.setUpdateObject(&m_update);
        m_set.fetchAll();
        m_set.First();
        m_navi.setDataSet(&m_set);
    }

    QStringList captions() const
    {
        QStringList out;
        for (int i = 0; i < TCaptionDBNavi::kButtonCount; ++i)
            out << m_navi.button(Btn(i))->text();
        return out;
    }

    QList<bool> enabled() const
    {
        QList<bool> out;
        for (int i = 0; i < TCaptionDBNavi::kButtonCount; ++i)
            out << m_navi.button(Btn(i))->isEnabled();
        return out;
    }

    void moveOver(QWidget *w, QPoint at = QPoint(3, 4))
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::ShiftModifier);
        QApplication::sendEvent(w, &move);
    }

    TCaptionDBNavi m_navi;
};

const QStringList kFormCaptions{
    QStringLiteral("最初"), QStringLiteral("前"),   QStringLiteral("次"),
    QStringLiteral("最後"), QStringLiteral("新規"), QStringLiteral("削除"),
    QStringLiteral("編集"), QStringLiteral("登録"), QStringLiteral("取消")};

} // namespace

TEST_F(Navigator, CaptionsDefaultsAndReplacements)
{
    EXPECT_EQ(m_navi.size(), QSize(451, 40));
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("&First"), QStringLiteral("&Prior"),
                                       QStringLiteral("&Next"), QStringLiteral("&Last"),
                                       QStringLiteral("&Insert"), QStringLiteral("&Delete"),
                                       QStringLiteral("&Edit"), QStringLiteral("&Post"),
                                       QStringLiteral("&Cancel"), QStringLiteral("&Refresh")}));
    m_navi.setCaptions(kFormCaptions);
    EXPECT_EQ(captions().mid(0, 9), kFormCaptions);
    EXPECT_EQ(captions().at(9), QStringLiteral("&Refresh")); // nine entries: refresh keeps its own

    QStringList gap = kFormCaptions;
    gap[1].clear();
    m_navi.setCaptions(gap);
    EXPECT_EQ(captions().at(1), QStringLiteral("&Prior"));
    EXPECT_EQ(captions().at(2), QStringLiteral("次"));

    m_navi.setShowCaption(false);
    EXPECT_EQ(captions(), QStringList(10, QString()));
    m_navi.setShowCaption(true);
    EXPECT_EQ(captions().at(0), QStringLiteral("最初"));
}

TEST_F(Navigator, DefaultAndCustomGlyphs)
{
    auto glyphOf = [&](Btn b) { return m_navi.button(b)->glyph().toImage(); };
    const QImage defaultPrior = TCaptionDBNavi::defaultGlyph(QStringLiteral("DB_PRIOR")).toImage();
    EXPECT_FALSE(defaultPrior.isNull());
    EXPECT_EQ(glyphOf(Btn::nbPrior), defaultPrior);
    // Every default glyph is a picture of its own.
    for (int i = 0; i < TCaptionDBNavi::kButtonCount; ++i) {
        for (int j = i + 1; j < TCaptionDBNavi::kButtonCount; ++j)
            EXPECT_NE(glyphOf(Btn(i)), glyphOf(Btn(j))) << i << " " << j;
    }

    QPixmap custom(12, 12);
    custom.fill(Qt::magenta);
    m_navi.setBMPPrior(custom);
    EXPECT_EQ(glyphOf(Btn::nbPrior), custom.toImage());
    m_navi.setBMPPrior(QPixmap());
    EXPECT_EQ(glyphOf(Btn::nbPrior), defaultPrior);

    m_navi.setBMPPost(custom);
    m_navi.setShowGlyph(false);
    EXPECT_TRUE(m_navi.button(Btn::nbPost)->glyph().isNull());
    EXPECT_TRUE(m_navi.button(Btn::nbFirst)->glyph().isNull());
    m_navi.setShowGlyph(true);
    EXPECT_EQ(glyphOf(Btn::nbPost), custom.toImage());
    EXPECT_EQ(glyphOf(Btn::nbFirst),
              TCaptionDBNavi::defaultGlyph(QStringLiteral("DB_FIRST")).toImage());
}

TEST_F(Navigator, CaptionLayoutPlacesTheGlyph)
{
    m_navi.setCaptions(kFormCaptions);
    NaviButton *b = m_navi.button(Btn::nbPost);
    b->resize(80, 40);
    struct Case
    {
        TCaptionDBNavi::TCaptionLayout layout;
        bool (*where)(const QRect &glyph, const QRect &caption);
    } cases[] = {
        {TCaptionDBNavi::cbLeft,
         [](const QRect &g, const QRect &t) { return g.right() < t.left(); }},
        {TCaptionDBNavi::cbRight,
         [](const QRect &g, const QRect &t) { return g.left() > t.right(); }},
        {TCaptionDBNavi::cbTop,
         [](const QRect &g, const QRect &t) { return g.bottom() < t.top(); }},
        {TCaptionDBNavi::cbBottom,
         [](const QRect &g, const QRect &t) { return g.top() > t.bottom(); }},
    };
    for (const Case &c : cases) {
        m_navi.setCaptionLayout(c.layout);
        EXPECT_EQ(m_navi.CaptionLayout(), c.layout);
        EXPECT_TRUE(c.where(b->glyphRect(), b->captionRect())) << int(c.layout);
        EXPECT_TRUE(b->rect().contains(b->glyphRect()));
    }
}

TEST_F(Navigator, HoverColoursTheCaptionUnderThePointer)
{
    m_navi.setCaptions(kFormCaptions);
    m_navi.setOnMoveColor(Qt::red);
    m_navi.setFontColor(Qt::black);
    m_navi.show();
    m_set.Edit(); // post and cancel enabled
    QList<QList<QVariant>> moves;
    QObject::connect(&m_navi, &TCaptionDBNavi::OnMouseMove, &m_context,
                     [&](Qt::KeyboardModifiers shift, int x, int y, Btn b) {
                         moves.append({int(shift), x, y, int(b)});
                     });

    NaviButton *post = m_navi.button(Btn::nbPost);
    NaviButton *cancel = m_navi.button(Btn::nbCancel);
    moveOver(post);
    EXPECT_EQ(post->captionColor(), QColor(Qt::red));
    EXPECT_EQ(cancel->captionColor(), QColor(Qt::black));
    moveOver(cancel, QPoint(5, 6));
    EXPECT_EQ(post->captionColor(), QColor(Qt::black));
    EXPECT_EQ(cancel->captionColor(), QColor(Qt::red));
    ASSERT_EQ(moves.size(), 2);
    const QPoint inNavi = cancel->mapTo(&m_navi, QPoint(5, 6));
    EXPECT_EQ(moves.at(1), (QList<QVariant>{int(Qt::ShiftModifier), inNavi.x(), inNavi.y(),
                                            int(Btn::nbCancel)}));

    // Over a disabled button the navigator itself reports it; colours stay.
    NaviButton *edit = m_navi.button(Btn::nbEdit);
    ASSERT_FALSE(edit->isEnabled());
    moveOver(&m_navi, edit->geometry().center());
    ASSERT_EQ(moves.size(), 3);
    EXPECT_EQ(moves.at(2).at(3).toInt(), int(Btn::nbEdit));
    EXPECT_EQ(cancel->captionColor(), QColor(Qt::red));
    EXPECT_EQ(edit->captionColor(), QColor(Qt::black));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&m_navi, &leave);
    EXPECT_EQ(cancel->captionColor(), QColor(Qt::black));
}

TEST_F(Navigator, ButtonsFollowTheSetsState)
{
    // first prior next last insert delete edit post cancel refresh
    EXPECT_EQ(enabled(),
              (QList<bool>{false, false, true, true, true, true, true, false, false, true}));
    m_navi.BtnClick(Btn::nbNext);
    EXPECT_EQ(m_set.currentRow(), 1);
    m_navi.BtnClick(Btn::nbNext); // past the end
    EXPECT_EQ(enabled(),
              (QList<bool>{true, true, false, false, true, true, true, false, false, true}));
    m_navi.BtnClick(Btn::nbEdit);
    EXPECT_EQ(m_set.state(), EditableResultSet::State::Edit);
    EXPECT_EQ(enabled().mid(6, 3), (QList<bool>{false, true, true}));
    m_navi.BtnClick(Btn::nbCancel);
    EXPECT_EQ(m_set.state(), EditableResultSet::State::Browse);

    m_set.close();
    EXPECT_EQ(enabled(), QList<bool>(10, false));
}

TEST_F(Navigator, BeforeActionCanAbort)
{
    QList<Btn> asked;
    QObject::connect(&m_navi, &TCaptionDBNavi::BeforeAction, &m_context, [&](Btn b) {
        asked << b;
        // The slip form's guard: no second new slip while one lacks a company.
        if (b == Btn::nbInsert && m_set.state() == EditableResultSet::State::Insert &&
            m_set.isNull(QStringLiteral("CONAME")))
            m_navi.abort();
    });
    m_navi.BtnClick(Btn::nbInsert);
    EXPECT_EQ(m_set.state(), EditableResultSet::State::Insert);
    EXPECT_EQ(m_set.recordCount(), 3);
    m_navi.BtnClick(Btn::nbInsert);
    EXPECT_EQ(m_set.recordCount(), 3);
    EXPECT_EQ(m_set.state(), EditableResultSet::State::Insert);
    EXPECT_EQ(asked, (QList<Btn>{Btn::nbInsert, Btn::nbInsert}));
    // A click on the button goes the same way.
    m_navi.button(Btn::nbInsert)->click();
    EXPECT_EQ(m_set.recordCount(), 3);
    EXPECT_EQ(asked.size(), 3);
}

TEST_F(Navigator, OneHintPerButton)
{
    const QStringList hints{QStringLiteral("最初のデータ"),   QStringLiteral("前のデータ"),
                            QStringLiteral("次のデータ"),     QStringLiteral("最後のデータ"),
                            QStringLiteral("データの追加"),   QStringLiteral("データの削除"),
                            QStringLiteral("データの編集"),   QStringLiteral("データの登録"),
                            QStringLiteral("編集の取り消し"), QStringLiteral("データ更新")};
    m_navi.setHints(hints);
    for (int i = 0; i < TCaptionDBNavi::kButtonCount; ++i)
        EXPECT_EQ(m_navi.button(Btn(i))->toolTip(), hints.at(i));
    m_navi.setVisibleButtons({Btn::nbPrior, Btn::nbNext});
    m_navi.show();
    EXPECT_FALSE(m_navi.button(Btn::nbFirst)->isVisible());
    EXPECT_TRUE(m_navi.button(Btn::nbNext)->isVisible());
}

TEST_F(Navigator, DeleteAsksFirst)
{
    ScriptedMessages messages;
    messages.answer(MsgResult::Cancel);
    m_navi.BtnClick(Btn::nbDelete);
    EXPECT_EQ(m_set.recordCount(), 2);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().text, QStringLiteral("レコードを削除しますか？"));
    EXPECT_EQ(messages.shown().first().buttons, MsgButton::Ok | MsgButton::Cancel);
    messages.answer(MsgResult::Ok);
    m_navi.BtnClick(Btn::nbDelete);
    EXPECT_EQ(m_set.recordCount(), 1);
    EXPECT_TRUE(m_set.updatesPending());
    m_navi.setConfirmDelete(false);
    m_navi.BtnClick(Btn::nbDelete);
    EXPECT_EQ(m_set.recordCount(), 0);
    EXPECT_EQ(messages.shown().size(), 2);
}

TEST_F(Navigator, FlatStyleTilesAndDrawsItsBorders)
{
    m_navi.setVisibleButtons({});
    m_navi.setFlat(true);
    const int w = m_navi.width();
    const int h = m_navi.height();
    const QColor light = m_navi.palette().color(QPalette::Light);
    const QColor dark = m_navi.palette().color(QPalette::Dark);
    ASSERT_NE(light, dark);
    auto render = [&] {
        QImage img(m_navi.size(), QImage::Format_ARGB32);
        img.fill(Qt::green);
        m_navi.render(&img);
        return img;
    };
    struct Case
    {
        TCaptionDBNavi::TNaviBorders borders;
        QPoint at;
        QColor expected;
    } cases[] = {
        {TCaptionDBNavi::nbFrame, {0, h / 2}, dark},
        {TCaptionDBNavi::nbFrame, {1, h / 2}, light},
        {TCaptionDBNavi::nbFrame, {w - 3, h / 2}, dark},
        {TCaptionDBNavi::nbFrame, {w - 2, h / 2}, light},
        {TCaptionDBNavi::nbTopBottom, {w / 2, 0}, dark},
        {TCaptionDBNavi::nbTopBottom, {w / 2, 1}, light},
        {TCaptionDBNavi::nbTopBottom, {w / 2, h - 2}, dark},
        {TCaptionDBNavi::nbTopBottom, {w / 2, h - 1}, light},
        {TCaptionDBNavi::nbLeftRight, {0, h / 2}, dark},
        {TCaptionDBNavi::nbLeftRight, {w - 1, h / 2}, light},
        {TCaptionDBNavi::nbNone, {0, h / 2}, m_navi.palette().color(QPalette::Window)},
    };
    for (const Case &c : cases) {
        m_navi.setNaviBorders(c.borders);
        EXPECT_EQ(render().pixelColor(c.at).rgb(), c.expected.rgb())
            << int(c.borders) << " " << c.at.x();
    }

    QPixmap tile(7, 5);
    tile.fill(Qt::blue);
    m_navi.setBackBitmap(tile);
    m_navi.setNaviBorders(TCaptionDBNavi::nbNone);
    EXPECT_EQ(m_navi.palette().color(QPalette::Window), m_navi.palette().color(QPalette::Button));
    const QImage img = render();
    EXPECT_EQ(img.pixelColor(w - 1, h - 1).rgb(),
              QColor(Qt::blue).rgb()); // tiled to the far corner
    m_navi.setFlat(false);
    EXPECT_NE(render().pixelColor(w - 1, h - 1).rgb(), QColor(Qt::blue).rgb());
}

namespace {

class Placement : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    QString m_ini = m_dir.filePath(QStringLiteral("TAMBREL.ini"));
};

} // namespace

TEST_F(Placement, MissingSectionKeepsTheDesignAndClosingSavesIt)
{
    auto form = std::make_unique<QWidget>();
    form->setObjectName(QStringLiteral("SelDataForm"));
    form->setGeometry(100, 120, 300, 200);
    auto *place = new TIniWinPlace(form.get());
    place->setIniName(m_ini);
    ASSERT_FALSE(QFileInfo::exists(m_ini));
    place->LoadPlacement();
    EXPECT_TRUE(QFileInfo::exists(m_ini)); // created, empty
    EXPECT_EQ(QFileInfo(m_ini).size(), 0);
    EXPECT_EQ(form->geometry(), QRect(100, 120, 300, 200));

    form->setGeometry(40, 50, 320, 240);
    form.reset();
    EXPECT_EQ(ReadIniInteger(m_ini, QStringLiteral("SelDataForm"), QStringLiteral("Left"), -1), 40);
    EXPECT_EQ(ReadIniInteger(m_ini, QStringLiteral("SelDataForm"), QStringLiteral("Top"), -1), 50);
    EXPECT_EQ(ReadIniInteger(m_ini, QStringLiteral("SelDataForm"), QStringLiteral("Width"), -1),
              320);
    EXPECT_EQ(ReadIniInteger(m_ini, QStringLiteral("SelDataForm"), QStringLiteral("Height"), -1),
              240);

    // The next dialog opens where the last one was closed.
    QWidget again;
    again.setObjectName(QStringLiteral("SelDataForm"));
    again.setGeometry(0, 0, 10, 10);
    TIniWinPlace restore(&again);
    restore.setIniName(m_ini);
    restore.LoadPlacement();
    EXPECT_EQ(again.geometry(), QRect(40, 50, 320, 240));
    restore.setIniName(QString()); // nothing written for this one
}

TEST_F(Placement, SectionNameAndEmptyIniName)
{
    ASSERT_TRUE(WriteIniInteger(m_ini, QStringLiteral("Own"), QStringLiteral("Width"), 333));
    {
        QWidget form;
        form.setObjectName(QStringLiteral("CheckDigitForm"));
        form.resize(200, 100);
        auto *child = new QWidget(&form);
        TIniWinPlace place(child); // the owner chain leads to the form
        EXPECT_EQ(place.form(), &form);
        place.setIniName(m_ini);
        place.setSectionName(QStringLiteral("Own"));
        place.LoadPlacement();
        EXPECT_EQ(form.width(), 333);
        EXPECT_EQ(form.height(), 100);
    }
    EXPECT_FALSE(IniFile(m_ini).sectionExists(QStringLiteral("CheckDigitForm")));
    EXPECT_EQ(ReadIniInteger(m_ini, QStringLiteral("Own"), QStringLiteral("Width"), 0), 333);

    {
        QWidget form;
        form.setObjectName(QStringLiteral("Quiet"));
        TIniWinPlace place(&form);
        place.LoadPlacement(); // no file named: nothing happens
    }
    EXPECT_FALSE(IniFile(m_ini).sectionExists(QStringLiteral("Quiet")));
}

TEST_F(Placement, WithoutAFormItRefuses)
{
    QObject loose;
    try {
        TIniWinPlace place(&loose);
        FAIL() << "a placement needs a form";
    } catch (const EIniWinPlace &e) {
        EXPECT_EQ(e.message(), QStringLiteral("TForm に配置してください"));
    }
}

TEST(Hints, ShortAndLongParts)
{
    EXPECT_EQ(GetShortHint(QStringLiteral("印刷します|印刷を実行します")),
              QStringLiteral("印刷します"));
    EXPECT_EQ(GetLongHint(QStringLiteral("印刷します|印刷を実行します")),
              QStringLiteral("印刷を実行します"));
    EXPECT_EQ(GetShortHint(QStringLiteral("終了")), QStringLiteral("終了"));
    EXPECT_EQ(GetLongHint(QStringLiteral("終了")), QStringLiteral("終了"));
}

TEST(Hints, StatusPanelTooltipsAndColour)
{
    for (bool show : {false, true}) {
        SCOPED_TRACE(show);
        TambrelSettings s;
        s.HintShow = show;
        s.HintColor = 0x0000FF; // red, as blue-green-red
        s.HintTime = 2000;
        ScopedSettings scoped(s);
        QWidget form;
        auto *button = new QWidget(&form);
        button->setToolTip(QStringLiteral("印刷します|印刷を実行します"));
        auto *inner = new QWidget(button); // no hint of its own
        auto *panel = new QLabel(&form);
        AppHints hints(&form, panel);
        form.show();
        EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), WinColorToQColor(0x0000FF));

        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(inner, &enter);
        EXPECT_EQ(panel->text(), QStringLiteral("印刷します"));
        EXPECT_EQ(hints.currentHint(), QStringLiteral("印刷します"));

        QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &tip);
        EXPECT_EQ(QToolTip::isVisible(), show);
        if (show) {
            EXPECT_EQ(QToolTip::text(), QStringLiteral("印刷します"));
        }
        QToolTip::hideText();

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&form, &leave);
        EXPECT_TRUE(panel->text().isEmpty());
    }
}

TEST(Help, PagesAreFoundBesideTheBuiltPrograms)
{
    // The build copies data/ beside the programs; the index is in Japanese.
    const QString folder = Help::helpFolder();
    EXPECT_TRUE(QFileInfo(QDir(folder).filePath(QStringLiteral("index.html"))).isFile())
        << folder.toStdString();
    // A context with a page of its own opens it; one without opens the index.
    EXPECT_EQ(QFileInfo(Help::pageForContext(11)).fileName(), QStringLiteral("11.html"));
    EXPECT_EQ(QFileInfo(Help::pageForContext(9999)).fileName(), QStringLiteral("index.html"));
    QFile page(Help::pageForContext(0));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(page.readAll()).contains(QStringLiteral("ヘルプ")));
}

TEST(Help, F1OpensTheFormsContext)
{
    QWidget form;
    InstallHelpKey(&form, 11);
    auto *key = form.findChild<QShortcut *>(QStringLiteral("HelpKey"));
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->key(), QKeySequence(Qt::Key_F1));
    emit key->activated();
    QWidget *window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->windowTitle() == QStringLiteral("ヘルプ") && w->isVisible())
            window = w;
    }
    ASSERT_NE(window, nullptr);
    auto *browser = window->findChild<QTextBrowser *>(QStringLiteral("HelpBrowser"));
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(QFileInfo(browser->source().toLocalFile()).fileName(), QStringLiteral("11.html"));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("伝票入力")));
    window->close();
}
