#include "ImageDispForm.h"

#include "CommandFile.h"
#include "PrintCommandFile.h"
#include "Printout.h"
#include "PrintoutTexts.h"
#include "VDBPrint.h"
#include "app/Messages.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The preview's own texts.
using namespace PrintoutTexts::Preview;

struct ZoomItem
{
    const char16_t *text;
    int zoom;
};
constexpr ZoomItem ZoomTable[] = {
    {u"200%(&1)", 20}, {u"150%(&2)", 15}, {u"100%(&3)", 10},
    {u" 80%(&4)", 8},  {u" 50%(&5)", 5},  {u" 30%(&6)", 3},
};

constexpr int PanelMargin = 15;

TImageDispForm::SetupExecutor g_setupExecutor;

QToolButton *speedButton(QWidget *parent, const QString &name, const QString &hint,
                         const QString &text, QStyle::StandardPixmap icon)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setAutoRaise(true);
    if (!text.isEmpty()) {
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    b->setIcon(parent->style()->standardIcon(icon));
    return b;
}

QLineEdit *readOnlyBox(QWidget *parent, const QString &name, const QString &hint)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignCenter);
    e->setToolTip(hint);
    e->setStatusTip(hint);
    e->setFocusPolicy(Qt::NoFocus);
    e->setFixedWidth(64);
    return e;
}

QAction *menuItem(QMenu *menu, const QString &text, const QString &hint)
{
    QAction *a = menu->addAction(text);
    a->setStatusTip(hint);
    return a;
}

} // namespace

TImagePaintBox::TImagePaintBox(TImageDispForm *form, QWidget *parent)
    : QWidget(parent), m_form(form)
{
    setObjectName(QStringLiteral("ImagePaintBox"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImagePaintBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, m_form->pageImage());
}

TImageDispForm::TImageDispForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ImageDispForm"));
    setWindowTitle(Caption);
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QFont f = font();
    f.setFamily(PreviewFace);
    setFont(f);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    MainMenu = new QMenuBar(this);
    layout->setMenuBar(MainMenu);
    FileMenu = MainMenu->addMenu(MenuFile);
    connect(menuItem(FileMenu, MenuSetup, MenuSetupHint), &QAction::triggered, this,
            &TImageDispForm::PrintSetupButtonClick);
    connect(menuItem(FileMenu, MenuPrint, MenuPrintHint), &QAction::triggered, this,
            &TImageDispForm::PrintButtonClick);
    FileMenu->addSeparator();
    connect(menuItem(FileMenu, MenuClose, MenuCloseHint), &QAction::triggered, this,
            &TImageDispForm::CloseButtonClick);
    ViewMenu = MainMenu->addMenu(MenuView);
    for (const ZoomItem &item : ZoomTable) {
        QAction *a = menuItem(ViewMenu, QString::fromUtf16(item.text), MenuZoomHint);
        a->setCheckable(true);
        a->setChecked(item.zoom == 10);
        a->setData(item.zoom);
        connect(a, &QAction::triggered, this, [this, z = item.zoom] { MenuZoomClick(z); });
        ZoomItems.append(a);
    }
    OptionMenu = MainMenu->addMenu(MenuOption);
    SpeedBar_Menu = menuItem(OptionMenu, MenuSpeedBar, MenuSpeedBarHint);
    SpeedBar_Menu->setCheckable(true);
    SpeedBar_Menu->setChecked(true);
    connect(SpeedBar_Menu, &QAction::triggered, this, &TImageDispForm::SpeedBar_MenuClick);
    FullScreen_Menu = menuItem(OptionMenu, MenuFullScreen, MenuFullScreenHint);
    connect(FullScreen_Menu, &QAction::triggered, this, &TImageDispForm::FullScreen_MenuClick);
    JumpMenu = MainMenu->addMenu(MenuJump);
    connect(menuItem(JumpMenu, MenuTop, MenuTopHint), &QAction::triggered, this,
            &TImageDispForm::Top_PageClick);
    connect(menuItem(JumpMenu, MenuBottom, MenuBottomHint), &QAction::triggered, this,
            &TImageDispForm::Bottom_PageClick);
    connect(menuItem(JumpMenu, MenuSelected, MenuSelectedHint), &QAction::triggered, this,
            &TImageDispForm::Selected_PageClick);

    SpeedBar = new QWidget(this);
    SpeedBar->setObjectName(QStringLiteral("SpeedBar"));
    auto *bar = new QHBoxLayout(SpeedBar);
    bar->setContentsMargins(4, 2, 4, 2);
    CloseButton = speedButton(SpeedBar, QStringLiteral("CloseButton"), HintClose, CloseCaption,
                              QStyle::SP_DialogCloseButton);
    ZoomInButton =
        speedButton(SpeedBar, QStringLiteral("ZoomInButton"), HintZoomIn, {}, QStyle::SP_ArrowUp);
    DispZoom = readOnlyBox(SpeedBar, QStringLiteral("DispZoom"), HintDispZoom);
    DispZoom->setText(QStringLiteral("100%"));
    ZoomOutButton = speedButton(SpeedBar, QStringLiteral("ZoomOutButton"), HintZoomOut, {},
                                QStyle::SP_ArrowDown);
    PrevPage =
        speedButton(SpeedBar, QStringLiteral("PrevPage"), HintPrev, {}, QStyle::SP_ArrowLeft);
    WherePage = readOnlyBox(SpeedBar, QStringLiteral("WherePage"), HintWhere);
    NextPage =
        speedButton(SpeedBar, QStringLiteral("NextPage"), HintNext, {}, QStyle::SP_ArrowRight);
    PrintSetupButton = speedButton(SpeedBar, QStringLiteral("PrintSetupButton"), HintSetup, {},
                                   QStyle::SP_FileDialogDetailedView);
    PrintButton = speedButton(SpeedBar, QStringLiteral("PrintButton"), HintPrint, {},
                              QStyle::SP_DialogApplyButton);
    for (QWidget *w : {static_cast<QWidget *>(CloseButton), static_cast<QWidget *>(ZoomInButton),
                       static_cast<QWidget *>(DispZoom), static_cast<QWidget *>(ZoomOutButton),
                       static_cast<QWidget *>(PrevPage), static_cast<QWidget *>(WherePage),
                       static_cast<QWidget *>(NextPage), static_cast<QWidget *>(PrintSetupButton),
                       static_cast<QWidget *>(PrintButton)})
        bar->addWidget(w);
    bar->addStretch(1);
    layout->addWidget(SpeedBar);
    connect(CloseButton, &QToolButton::clicked, this, &TImageDispForm::CloseButtonClick);
    connect(ZoomInButton, &QToolButton::clicked, this, &TImageDispForm::ZoomInButtonClick);
    connect(ZoomOutButton, &QToolButton::clicked, this, &TImageDispForm::ZoomOutButtonClick);
    connect(PrevPage, &QToolButton::clicked, this, &TImageDispForm::DispPrev);
    connect(NextPage, &QToolButton::clicked, this, &TImageDispForm::DispNext);
    connect(PrintSetupButton, &QToolButton::clicked, this, &TImageDispForm::PrintSetupButtonClick);
    connect(PrintButton, &QToolButton::clicked, this, &TImageDispForm::PrintButtonClick);

    // Holds the focus out of sight, for the arrow keys.
    KeyIn = new QLineEdit(this);
    KeyIn->setObjectName(QStringLiteral("KeyIn"));
    KeyIn->setFixedSize(1, 1);
    KeyIn->installEventFilter(this);
    layout->addWidget(KeyIn);

    ESCButton = new QPushButton(EscCaption, this);
    ESCButton->setObjectName(QStringLiteral("ESCButton"));
    QPalette escPal = ESCButton->palette();
    escPal.setColor(QPalette::ButtonText, QColor(0x80, 0, 0));
    ESCButton->setPalette(escPal);
    ESCButton->hide();
    connect(ESCButton, &QPushButton::clicked, this, &TImageDispForm::ESCButtonClick);
    layout->addWidget(ESCButton, 0, Qt::AlignLeft);

    ImagePaintScrollBox = new QScrollArea(this);
    ImagePaintScrollBox->setObjectName(QStringLiteral("ImagePaintScrollBox"));
    ImagePaintScrollBox->setWidgetResizable(false);
    auto *content = new QWidget;
    PaperPanel = new QFrame(content);
    PaperPanel->setObjectName(QStringLiteral("PaperPanel"));
    PaperPanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    PaperPanel->setLineWidth(2);
    PaperPanel->setAutoFillBackground(true);
    QPalette paperPal = PaperPanel->palette();
    paperPal.setColor(QPalette::Window, Qt::white);
    PaperPanel->setPalette(paperPal);
    PaperPanel->move(PanelMargin, PanelMargin);
    ImagePaintBox = new TImagePaintBox(this, PaperPanel);
    ImagePaintBox->setToolTip(HintPaintBox);
    ImagePaintBox->setStatusTip(HintPaintBox);
    ImagePaintScrollBox->setWidget(content);
    layout->addWidget(ImagePaintScrollBox, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    auto *panel1 = new QLabel(StatusBar1);
    panel1->setFixedWidth(5);
    StatusPanel2 = new QLabel(StatusBar1);
    StatusPanel2->setMinimumWidth(50);
    StatusBar1->addWidget(panel1);
    StatusBar1->addWidget(StatusPanel2, 1);
    layout->addWidget(StatusBar1);
    resize(800, 600);
}

TImageDispForm::~TImageDispForm() = default;

void TImageDispForm::setSetupExecutor(SetupExecutor executor)
{
    g_setupExecutor = std::move(executor);
}

void TImageDispForm::setFlags(quint8 printForm, quint8 showDialog)
{
    m_printForm = printForm;
    m_showDialog = showDialog;
}

int TImageDispForm::ppi() const
{
    return logicalDpiX();
}

bool TImageDispForm::event(QEvent *e)
{
    if (e->type() == QEvent::StatusTip) {
        // Panel 2 shows the long hint of what is under the pointer.
        StatusPanel2->setText(static_cast<QStatusTipEvent *>(e)->tip());
        return true;
    }
    return QDialog::event(e);
}

void TImageDispForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!m_shown) {
        m_shown = true;
        FormCreate();
    }
}

void TImageDispForm::FormCreate()
{
    m_formMissingTold = false;
    m_dataMissingTold = false;
    m_zoom = 10;
    DispZoom->setText(QStringLiteral("100%"));
    ZoomMenuChecked();
    ZoomInButton->setEnabled(true);
    ZoomOutButton->setEnabled(true);

    const InterpreterState &s = PrintoutState();
    int m = 1;
    int d = 1;
    try {
        if (!s.formPath.isEmpty()) {
            if (m_formIndex.update(s.formPath)) {
                m = m_formIndex.pageCount();
            } else {
                Messages::show(MsgType::Error, PrintoutTexts::notFound(s.formPath), MsgButton::Ok);
                m_formMissingTold = true;
            }
        }
        if (!s.dataPath.isEmpty() && m_dataIndex.update(s.dataPath))
            d = m_dataIndex.pageCount();
    } catch (const CommandFileError &e) {
        m_dataMissingTold = true;
        Messages::show(MsgType::Error,
                       PrintoutTexts::quotedPath(e.path(), PrintoutTexts::UnreadableSuffix),
                       MsgButton::Ok);
    }
    m_pageTotal = m >= d ? m : (d + m - 1) / m * m;
    m_currentPage = 1;
    FormResize();
    PrevPage->setEnabled(false);
    NextPage->setEnabled(m_pageTotal > 1);
    showWherePage();
}

void TImageDispForm::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    if (m_shown)
        FormResize();
}

void TImageDispForm::FormResize()
{
    ImagePaintScrollBox->horizontalScrollBar()->setValue(0);
    ImagePaintScrollBox->verticalScrollBar()->setValue(0);
    TVDBPrint &printer = VDBPrint();
    const PaperGeometry g = RunGeometry(printer, true);
    const double z = m_zoom / 10.0;
    const double px = ppi();
    const int pw = printer.printableWidthMm();
    const int ph = printer.printableHeightMm();
    int panelW = rnd(px * g.width / 25.4 * z);
    int panelH = rnd(px * g.height / 25.4 * z);
    if (g.paperClass == PaperClass::Unlisted) {
        panelW += 2;
        panelH += 2;
    }
    PaperPanel->resize(panelW, panelH);
    int left = rnd((width() - PanelMargin - panelW) / 2.0);
    if (left <= PanelMargin)
        left = PanelMargin;
    PaperPanel->move(left, PanelMargin);
    const int boxW = rnd(px * pw / 25.4 * z) + 2;
    const int boxH = rnd(px * ph / 25.4 * z) + 2;
    ImagePaintBox->setGeometry(rnd((panelW - boxW) / 2.0), rnd((panelH - boxH) / 2.0), boxW, boxH);
    // Spacers of 17 pixels at the right and 22 at the bottom.
    ImagePaintScrollBox->widget()->resize(left + panelW + 17, PanelMargin + panelH + 22);
    ImagePaintBoxPaint();
}

void TImageDispForm::ImagePaintBoxPaint()
{
    if (m_paintGuard)
        return;
    m_paintGuard = true;
    try {
        drawPage();
    } catch (const CommandFileError &e) {
        // Told once, like a missing file; the page stays empty.
        m_page = QImage();
        ImagePaintBox->update();
        if (!m_dataMissingTold) {
            m_dataMissingTold = true;
            Messages::show(MsgType::Error,
                           PrintoutTexts::quotedPath(e.path(), PrintoutTexts::UnreadableSuffix),
                           MsgButton::Ok);
        }
    }
    m_paintGuard = false;
}

void TImageDispForm::drawPage()
{
    const InterpreterState &s = PrintoutState();
    QImage page(ImagePaintBox->size(), QImage::Format_RGB32);
    const double dpm = ppi() / 0.0254;
    page.setDotsPerMeterX(static_cast<int>(std::lround(dpm)));
    page.setDotsPerMeterY(static_cast<int>(std::lround(dpm)));
    page.fill(Qt::white);

    CommandFile form;
    if (!s.formPath.isEmpty()) {
        if (m_formIndex.update(s.formPath)) {
            form.open(s.formPath);
        } else if (!m_formMissingTold) {
            m_formMissingTold = true;
            Messages::show(MsgType::Error, PrintoutTexts::notFound(s.formPath), MsgButton::Ok);
        }
    }
    bool dataReady = false;
    if (s.dataPath.isEmpty()) {
        if (!m_dataMissingTold) {
            m_dataMissingTold = true;
            Messages::show(MsgType::Error, PrintoutTexts::NoDataFile, MsgButton::Ok);
        }
    } else if (!m_dataIndex.update(s.dataPath)) {
        if (!m_dataMissingTold) {
            m_dataMissingTold = true;
            Messages::show(MsgType::Error, PrintoutTexts::notFound(s.dataPath), MsgButton::Ok);
        }
    } else {
        dataReady = true;
    }

    if (dataReady) {
        ++m_drawCount;
        const double scale = ppi() / 254.0;
        QPainter canvas(&page);
        canvas.setBrush(Qt::white);
        canvas.setPen(QPen(Qt::blue, 0, Qt::DotLine));
        canvas.drawRect(0, 0, page.width() - 1, page.height() - 1);
        canvas.setPen(QPen(Qt::black, 0, Qt::SolidLine));
        CanvasState state;
        if (form.isOpen() && m_formIndex.seekToPage(form, m_currentPage, true))
            RenderPage(form, canvas, state, m_zoom, scale, scale);
        CommandFile data(s.dataPath);
        if (m_dataIndex.seekToPage(data, m_currentPage, false))
            RenderPage(data, canvas, state, m_zoom, scale, scale);
    }
    m_page = page;
    ImagePaintBox->update();
}

void TImageDispForm::CloseButtonClick()
{
    close();
}

void TImageDispForm::ZoomInButtonClick()
{
    if (m_zoom < 20) {
        ++m_zoom;
        ZoomDisp();
    }
}

void TImageDispForm::ZoomOutButtonClick()
{
    if (m_zoom > 3) {
        --m_zoom;
        ZoomDisp();
    }
}

void TImageDispForm::MenuZoomClick(int zoom)
{
    m_zoom = zoom;
    ZoomDisp();
}

void TImageDispForm::ZoomDisp()
{
    if (m_zoom == 20) {
        ZoomInButton->setEnabled(false);
        ZoomOutButton->setEnabled(true);
    } else if (m_zoom == 3) {
        ZoomOutButton->setEnabled(false);
        ZoomInButton->setEnabled(true);
    } else {
        ZoomInButton->setEnabled(true);
        ZoomOutButton->setEnabled(true);
    }
    QString text = QString::number(m_zoom) + QStringLiteral("0%");
    if (m_zoom < 10)
        text.prepend(QLatin1Char(' '));
    DispZoom->setText(text);
    ZoomMenuChecked();
    FormResize();
}

void TImageDispForm::ZoomMenuChecked()
{
    for (QAction *a : std::as_const(ZoomItems))
        a->setChecked(a->data().toInt() == m_zoom);
}

void TImageDispForm::showWherePage()
{
    WherePage->setText(QString::number(m_currentPage) + QLatin1Char('/') +
                       QString::number(m_pageTotal));
}

void TImageDispForm::DispPrev()
{
    if (m_pageTotal > 1 && m_currentPage > 1) {
        NextPage->setEnabled(true);
        --m_currentPage;
        PrevPage->setEnabled(m_currentPage > 1);
        ImagePaintBoxPaint();
    } else {
        PrevPage->setEnabled(false);
    }
    showWherePage();
}

void TImageDispForm::DispNext()
{
    if (m_pageTotal > 1 && m_currentPage < m_pageTotal) {
        PrevPage->setEnabled(true);
        ++m_currentPage;
        NextPage->setEnabled(m_currentPage < m_pageTotal);
        ImagePaintBoxPaint();
    } else {
        NextPage->setEnabled(false);
    }
    showWherePage();
}

void TImageDispForm::Top_PageClick()
{
    m_currentPage = 1;
    PrevPage->setEnabled(false);
    NextPage->setEnabled(m_pageTotal != 1);
    ImagePaintBoxPaint();
    showWherePage();
}

void TImageDispForm::Bottom_PageClick()
{
    m_currentPage = m_pageTotal;
    NextPage->setEnabled(false);
    PrevPage->setEnabled(m_pageTotal != 1);
    ImagePaintBoxPaint();
    showWherePage();
}

void TImageDispForm::Selected_PageClick()
{
    const QString answer = Messages::inputBox(JumpCaption, JumpPrompt, QStringLiteral("1"));
    bool ok = false;
    const int page = answer.trimmed().toInt(&ok);
    if (ok)
        m_currentPage = std::clamp(page, 1, m_pageTotal);
    PrevPage->setEnabled(m_currentPage > 1);
    NextPage->setEnabled(m_currentPage < m_pageTotal);
    ImagePaintBoxPaint();
    showWherePage();
}

void TImageDispForm::FullScreen_MenuClick()
{
    if (m_fullScreen)
        return;
    hide();
    m_savedBounds = geometry();
    m_fullScreen = true;
    setWindowFlag(Qt::FramelessWindowHint, true);
    SpeedBar->hide();
    FileMenu->menuAction()->setVisible(false);
    ViewMenu->menuAction()->setVisible(false);
    OptionMenu->menuAction()->setVisible(false);
    ESCButton->show();
    showMaximized();
}

void TImageDispForm::ESCButtonClick()
{
    if (!m_fullScreen)
        return;
    ESCButton->hide();
    hide();
    m_fullScreen = false;
    setWindowFlag(Qt::FramelessWindowHint, false);
    showNormal();
    setGeometry(m_savedBounds);
    SpeedBar->setVisible(SpeedBar_Menu->isChecked());
    FileMenu->menuAction()->setVisible(true);
    ViewMenu->menuAction()->setVisible(true);
    OptionMenu->menuAction()->setVisible(true);
    show();
}

void TImageDispForm::SpeedBar_MenuClick()
{
    const bool visible = !SpeedBar->isVisibleTo(this);
    SpeedBar->setVisible(visible);
    SpeedBar_Menu->setChecked(visible);
}

void TImageDispForm::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        // Esc leaves full screen; it does not close the preview.
        if (m_fullScreen)
            ESCButtonClick();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool TImageDispForm::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == KeyIn && e->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(e);
        QScrollBar *v = ImagePaintScrollBox->verticalScrollBar();
        QScrollBar *h = ImagePaintScrollBox->horizontalScrollBar();
        switch (k->key()) {
        case Qt::Key_Up:
            v->setValue(v->value() - 10);
            return true;
        case Qt::Key_Down:
            v->setValue(v->value() + 10);
            return true;
        case Qt::Key_Left:
            h->setValue(h->value() - 10);
            return true;
        case Qt::Key_Right:
            h->setValue(h->value() + 10);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void TImageDispForm::PrintButtonClick()
{
    const InterpreterState &s = PrintoutState();
    PrintCommandFile(s.formPath, s.dataPath, PrintoutTexts::PreviewPrintMessage, 0,
                     VDBPrint().landscape() ? 1 : 0, s.topOffset, s.leftOffset, m_printForm,
                     m_showDialog);
    // Back in the window: it starts again at page 1, 100 %.
    FormCreate();
}

void TImageDispForm::PrintSetupButtonClick()
{
    QPrinter &printer = VDBPrint().printer();
    if (g_setupExecutor) {
        g_setupExecutor(printer);
    } else {
        QPageSetupDialog dialog(&printer, this);
        dialog.exec();
    }
    FormCreate();
}

void PreviewCommandFile(const QString &title, const QString &formPath, const QString &dataPath,
                        int paperSize, int orientation, int topOffset, int leftOffset,
                        int windowLeft, int windowTop, int windowRight, int windowBottom,
                        quint8 printForm, quint8 showDialog)
{
    SetJobSources(formPath, dataPath, topOffset, leftOffset, printForm);

    TImageDispForm form(QApplication::activeWindow());
    form.setFlags(printForm, showDialog);
    bool placed = false;
    if (windowLeft >= 0 || windowTop >= 0) {
        form.move(windowLeft, windowTop);
        placed = true;
    }
    if (windowRight > 0 || windowBottom > 0) {
        form.resize(windowRight - windowLeft, windowBottom - windowTop);
        placed = true;
    }
    if (!title.isEmpty())
        form.setWindowTitle(title);
    TVDBPrint &printer = VDBPrint();
    if (paperSize > 0)
        printer.SetPaperSize(paperSize);
    printer.setLandscape(orientation == 1);
    if (!placed)
        form.setWindowState(Qt::WindowMaximized);
    form.exec();
}
