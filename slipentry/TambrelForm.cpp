#include "TambrelForm.h"

#include "SelDataForm.h"
#include "SlipEntryTexts.h"
#include "SlipFieldActions.h"
#include "app/AppError.h"
#include "app/Messages.h"
#include "db/IbFunc.h"
#include "serial/CheckDigit.h"
#include "serial/SerialNumber.h"
#include "settings/Settings.h"
#include "text/KivFunc.h"
#include "ui/AppHints.h"
#include "ui/DBCheckBox.h"
#include "ui/DBEdit.h"
#include "ui/EditFieldSetup.h"
#include "ui/FormHelp.h"
#include "ui/TambrelApplication.h"
#include "ui/WindowHelpers.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

namespace {

QString tr16(const char16_t *s)
{
    return QString::fromUtf16(s);
}

const QString kId = QStringLiteral("ID");
const QString kPrintout = QStringLiteral("PRINTOUT");
const QString kCompany = QStringLiteral("CONAME");
const QString kFormFont = QStringLiteral("ＭＳ Ｐゴシック");
constexpr int kStatusBarHeight = 20;
constexpr int kShowNormal = 1; // the child's window is shown normally

void setToday(EditableResultSet &set, const char *year, const char *month, const char *day)
{
    const QDate today = QDate::currentDate();
    set.setValue(QLatin1String(year), today.toString(QStringLiteral("yy")));
    set.setValue(QLatin1String(month), today.toString(QStringLiteral("MM")));
    set.setValue(QLatin1String(day), today.toString(QStringLiteral("dd")));
}

QString columnText(const EditableResultSet &set, const char *column)
{
    const QVariant v = set.value(QLatin1String(column));
    return v.isNull() ? QString() : v.toString();
}

} // namespace

TambrelForm::TambrelForm(SlipType type, const QString &picturePath, QWidget *parent,
                         const QString &programFolder)
    : ConnectedMainWindow(QString::fromUtf16(slipTypeInfo(type).caption), parent), m_type(type),
      m_picturePath(TrimWide(picturePath)),
      m_programFolder(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                              : programFolder)
{
    const SlipTypeInfo &info = slipTypeInfo(type);
    setObjectName(QStringLiteral("T") + QLatin1String(info.program) + QStringLiteral("Form"));
    // Fixed single border with only a system menu.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    m_table = SlipEditTable::load(type, m_programFolder);
    buildScreen();

    // The handlers of the slip's life.
    connect(&m_query, &EditableResultSet::newRecord, this, &TambrelForm::IBQueryTambrelNewRecord);
    connect(&m_query, &EditableResultSet::beforePost, this, &TambrelForm::IBQueryTambrelBeforePost);
    connect(&m_query, &EditableResultSet::beforeCancel, this,
            &TambrelForm::IBQueryTambrelBeforeCancel);
    connect(&m_query, &EditableResultSet::stateChanged, this, &TambrelForm::DSTambrelStateChange);

    // FormCreate: hints, edit setup, picture, table, help.
    m_hints = new AppHints(this, m_hintPanel);
    SetupEditFields(m_client);
    loadPicture();
    openTable();
    InstallHelpKey(this, helpContext());
    DSTambrelStateChange();
    // Pickers, registration, lookups and recalculation of the slip edits.
    new SlipFieldActions(this);
}

TambrelForm::~TambrelForm()
{
    // The bound controls go first; the set they follow dies with the form.
    disconnect(&m_query, nullptr, this, nullptr);
    delete m_client;
    m_client = nullptr;
    m_query.close();
}

int TambrelForm::helpContext() const
{
    return slipTypeInfo(m_type).helpContext;
}

bool TambrelForm::dataSetShortcuts() const
{
    return !slipTypeInfo(m_type).typewriter;
}

QString TambrelForm::printDisplayName() const
{
    return slipPrintName(m_type, m_picturePath);
}

const SlipEditDef *TambrelForm::editDef(const DBEdit *edit) const
{
    const auto it = m_defIndex.constFind(edit);
    return it == m_defIndex.constEnd() ? nullptr : &m_table.edits.at(it.value());
}

QMenu *TambrelForm::menuFor(SlipFieldMenu menu) const
{
    switch (menu) {
    case SlipFieldMenu::Item:
        return m_menuItem;
    case SlipFieldMenu::Company:
        return m_menuCompany;
    case SlipFieldMenu::Partner:
        return m_menuPartner;
    case SlipFieldMenu::CheckDigit:
        return m_menuCheckDigit;
    case SlipFieldMenu::None:
        break;
    }
    return nullptr;
}

void TambrelForm::buildScreen()
{
    QFont font(kFormFont);
    font.setPixelSize(m_table.fontPx);
    setFont(font);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(m_client);

    m_image = new QLabel(m_client);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_image->setGeometry(QRect(m_table.picturePos, m_table.pictureSize));

    buildMenus();
    buildEdits(m_client);
    buildControls(m_client, m_table.picturePos.y() + m_table.pictureSize.height() + 3);

    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(kStatusBarHeight);
    m_helpPanel = new QLabel(tr16(SlipEntryTexts::kHelpPanel), bar);
    m_helpPanel->setObjectName(QStringLiteral("StatusPanel1"));
    m_helpPanel->setFixedWidth(60);
    m_helpPanel->setAlignment(Qt::AlignCenter);
    m_hintPanel = new QLabel(bar);
    m_hintPanel->setObjectName(QStringLiteral("StatusPanel2"));
    bar->addWidget(m_helpPanel);
    bar->addWidget(m_hintPanel, 1);

    m_client->setFixedSize(m_table.window.width(), m_table.window.height() - kStatusBarHeight);
    setFixedSize(m_table.window);

    // Every key passes the form first.
    for (QWidget *w : m_client->findChildren<QWidget *>())
        w->installEventFilter(this);
}

void TambrelForm::buildMenus()
{
    auto make = [this](const char *name) {
        auto *menu = new QMenu(this);
        menu->setObjectName(QLatin1String(name));
        return menu;
    };
    // Filled by the field actions; empty menus do not pop up.
    m_menuItem = make("PopupMenu1");
    m_menuCompany = make("PopupMenu2");
    m_menuPartner = make("PopupMenu3");
    m_menuCheckDigit = make("PopupMenuCD");

    m_menuDataSet = make("PopupMenuDataSet");
    m_postAction = m_menuDataSet->addAction(tr16(SlipEntryTexts::kMenuPost));
    m_postAction->setObjectName(QStringLiteral("N5"));
    m_postAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_appendAction = m_menuDataSet->addAction(tr16(SlipEntryTexts::kMenuAppend));
    m_appendAction->setObjectName(QStringLiteral("N6"));
    m_appendAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    // The keys are handled by the form's key preview; the shortcuts only label
    // the items.
    for (QAction *a : {m_postAction, m_appendAction})
        a->setShortcutContext(Qt::WidgetShortcut);
    connect(m_postAction, &QAction::triggered, this, &TambrelForm::N5Click);
    connect(m_appendAction, &QAction::triggered, this, &TambrelForm::N6Click);
}

void TambrelForm::buildEdits(QWidget *client)
{
    QWidget *previous = nullptr;
    for (int i = 0; i < m_table.edits.size(); ++i) {
        const SlipEditDef &d = m_table.edits.at(i);
        auto *edit = new DBEdit(client);
        edit->setObjectName(d.name);
        edit->setGeometry(d.rect);
        QFont f = font();
        f.setPixelSize(d.fontPx);
        edit->setFont(f);
        // The picture draws the box; a frame of its own would leave no room
        // for two digits in the narrow boxes.
        edit->setFrame(false);
        edit->setTextMargins(0, 0, 0, 0);
        edit->setMaxBytes(d.maxLength);
        edit->setTag(d.tag);
        edit->setDataSet(&m_query);
        edit->setDataField(d.column);
        if (d.click == SlipFieldClick::CheckDigit)
            edit->setToolTip(tr16(SlipEntryTexts::kHintCheckDigit));
        else if (d.click != SlipFieldClick::None)
            edit->setToolTip(tr16(SlipEntryTexts::kHintPick));
        if (previous)
            QWidget::setTabOrder(previous, edit);
        previous = edit;
        m_edits.append(edit);
        m_editByName.insert(d.name, edit);
        m_defIndex.insert(edit, i);
    }
}

void TambrelForm::buildControls(QWidget *client, int top)
{
    m_navi1 = new TCaptionDBNavi(client);
    m_navi1->setObjectName(QStringLiteral("CaptionDBNavi1"));
    m_navi1->setVisibleButtons({TCaptionDBNavi::nbInsert, TCaptionDBNavi::nbDelete,
                                TCaptionDBNavi::nbPost, TCaptionDBNavi::nbCancel});
    QStringList captions(TCaptionDBNavi::kButtonCount);
    captions[TCaptionDBNavi::nbInsert] = tr16(SlipEntryTexts::kNaviInsert);
    captions[TCaptionDBNavi::nbDelete] = tr16(SlipEntryTexts::kNaviDelete);
    captions[TCaptionDBNavi::nbPost] = tr16(SlipEntryTexts::kNaviPost);
    captions[TCaptionDBNavi::nbCancel] = tr16(SlipEntryTexts::kNaviCancel);
    captions[TCaptionDBNavi::nbPrior] = tr16(SlipEntryTexts::kNaviPrior);
    captions[TCaptionDBNavi::nbNext] = tr16(SlipEntryTexts::kNaviNext);
    m_navi1->setCaptions(captions);
    m_navi1->setCaptionLayout(TCaptionDBNavi::cbLeft);
    m_navi1->setOnMoveColor(Qt::red);
    m_navi1->Loaded();
    m_navi1->setDataSet(&m_query);
    m_navi1->setGeometry(4, top, 300, 34);
    connect(m_navi1, &TCaptionDBNavi::BeforeAction, this, &TambrelForm::CaptionDBNavi1BeforeAction);

    m_navi2 = new TCaptionDBNavi(client);
    m_navi2->setObjectName(QStringLiteral("CaptionDBNavi2"));
    m_navi2->setVisibleButtons({TCaptionDBNavi::nbPrior, TCaptionDBNavi::nbNext});
    m_navi2->setCaptions(captions);
    m_navi2->setCaptionLayout(TCaptionDBNavi::cbLeft);
    m_navi2->setOnMoveColor(Qt::red);
    m_navi2->Loaded();
    m_navi2->setDataSet(&m_query);
    m_navi2->setGeometry(312, top, 150, 34);

    m_printCheck = new DBCheckBox(client);
    m_printCheck->setObjectName(QStringLiteral("DBCheckBox1"));
    m_printCheck->setText(tr16(SlipEntryTexts::kPrintTargetCheck));
    m_printCheck->setValueChecked(QStringLiteral("1"));
    m_printCheck->setValueUnchecked(QStringLiteral("0"));
    m_printCheck->setDataSet(&m_query);
    m_printCheck->setDataField(kPrintout);
    m_printCheck->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    m_printCheck->setGeometry(474, top + 6, 96, 22);

    auto button = [client, top](const char *name, const char16_t *caption, const char16_t *hint,
                                int left) {
        auto *b = new QPushButton(QString::fromUtf16(caption), client);
        b->setObjectName(QLatin1String(name));
        if (hint)
            b->setToolTip(QString::fromUtf16(hint));
        b->setGeometry(left, top + 2, 110, 30);
        return b;
    };
    const int right = m_table.window.width();
    m_exitBtn = button("BitBtn1", SlipEntryTexts::kExitButton, nullptr, right - 118);
    m_printBtn =
        button("PrintBtn", SlipEntryTexts::kPrintButton, SlipEntryTexts::kPrintHint, right - 236);
    m_selDataBtn = button("SelDataBtn", SlipEntryTexts::kSelDataButton,
                          SlipEntryTexts::kSelDataHint, right - 354);
    connect(m_selDataBtn, &QPushButton::clicked, this, &TambrelForm::SelDataBtnClick);
    connect(m_printBtn, &QPushButton::clicked, this, &TambrelForm::PrintBtnClick);
    connect(m_exitBtn, &QPushButton::clicked, this, &QWidget::close);

    QWidget *last = m_edits.isEmpty() ? nullptr : m_edits.last();
    for (QWidget *b : {static_cast<QWidget *>(m_selDataBtn), static_cast<QWidget *>(m_printBtn),
                       static_cast<QWidget *>(m_exitBtn)}) {
        if (last)
            QWidget::setTabOrder(last, b);
        last = b;
    }
}

void TambrelForm::loadPicture()
{
    QString path = m_picturePath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.isEmpty())
        return;
    // A program started from elsewhere (a launcher, another folder) finds a
    // relative picture beside itself; the argument as given still chooses
    // the display name.
    if (!QFileInfo(path).isFile() && QFileInfo(path).isRelative()) {
        const QDir beside(QDir(QCoreApplication::applicationDirPath())
                              .filePath(QLatin1String(slipTypeInfo(m_type).pictureFolder)));
        path = beside.filePath(path);
    }
    if (!QFileInfo(path).isFile())
        return;
    const QPixmap picture(path);
    if (picture.isNull())
        return;
    m_image->setPixmap(picture);
    m_image->setGeometry(QRect(m_table.picturePos, picture.size()));
    // The window follows the picture's width; its height stays as designed.
    const int width = picture.width() + 1;
    m_client->setFixedWidth(width);
    setFixedSize(width, m_table.window.height());
}

void TambrelForm::openTable()
{
    if (!databaseConnected())
        return; // the connection failure was reported; the window shows no data
    m_query.close();
    m_query.setTransaction(&IBTransaction1());
    m_query.setUpdateObject(&m_updateSql);
    if (OpenSlipTableOrdered(m_query, QString::fromLatin1(kSlipOrder)))
        BuildUpdateStatements(m_query, m_updateSql, QStringLiteral("TAMBREL"));
}

void TambrelForm::showEvent(QShowEvent *event)
{
    ConnectedMainWindow::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    // The window opens with the first slip edit focused.
    if (!focusWidget()) {
        if (QWidget *first = firstControl())
            first->setFocus(Qt::OtherFocusReason);
    }
    if (QScreen *s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
}

// New slip defaults.
void TambrelForm::IBQueryTambrelNewRecord()
{
    const TambrelSettings &s = settings();
    m_reservedNumber.clear();
    m_query.setValue(
        kId,
        GetGeneratorValue(IBDatabase1(), QStringLiteral("IDNO_INC0"), QStringLiteral("0")) + 1);
    m_query.setValue(kPrintout, 1);
    m_query.setValue(kCompany, QVariant());
    if (!TrimWide(s.CoName).isEmpty()) {
        m_query.setValue(kCompany, s.CoName);
        m_query.setValue(QStringLiteral("TENPONAME"), s.Tenmei);
        m_query.setValue(QStringLiteral("COCODE"), s.CoCode);
    }
    m_query.setValue(QStringLiteral("TORIHIKICODE_1"), s.TorihikiCode1);
    m_query.setValue(QStringLiteral("TORIHIKICODE_2"), s.TorihikiCode2);
    m_query.setValue(QStringLiteral("TORIHIKINAME_1"), s.TorihikiName1);
    m_query.setValue(QStringLiteral("TORIHIKINAME_2"), s.TorihikiName2);
    m_query.setValue(QStringLiteral("BUNRUICODE"), s.BunruiCode);

    if (slipTypeInfo(m_type).typewriter) {
        if (s.DateTy1)
            setToday(m_query, "NOUHIN_Y2", "NOUHIN_M2", "NOUHIN_D2");
    } else {
        if (s.DateTr1)
            setToday(m_query, "NOUHIN_Y1", "NOUHIN_M1", "NOUHIN_D1");
        if (s.DateTr2)
            setToday(m_query, "NOUHIN_Y2", "NOUHIN_M2", "NOUHIN_D2");
        if (s.DateTr3)
            setToday(m_query, "HACYU_Y", "HACYU_M", "HACYU_D");
    }

    if (!s.AutoRenban)
        return;
    const QString number = GetSerialNumber(kSlipNumberKind, 1, false);
    QString checkDigit;
    try {
        QString digits = number;
        if (!number.isEmpty()) {
            switch (s.DenKetaCD) {
            case 2:
                checkDigit = CheckDigit7DR(digits);
                break;
            case 3:
                checkDigit = CheckDigitModulus11(digits, true);
                break;
            case 4:
                checkDigit = CheckDigitModulus11(digits, false);
                break;
            default:
                break;
            }
        }
    } catch (...) {
        // The new slip is not made; the number it drew goes back.
        GetSerialNumber(kSlipNumberKind, 0, true, number);
        throw;
    }
    m_query.setValue(QStringLiteral("DENNO_1"), number);
    m_query.setValue(QStringLiteral("DENNO_2"), checkDigit);
    m_reservedNumber = number;
}

void TambrelForm::IBQueryTambrelBeforePost()
{
    const QVariant company = m_query.value(kCompany);
    if (company.isNull() || TrimWide(company.toString()).isEmpty()) {
        Messages::show(MsgType::Error, tr16(SlipEntryTexts::kCompanyRequired), MsgButton::Ok,
                       helpContext());
        m_query.abort();
        return;
    }
    if (m_query.state() == EditableResultSet::State::Insert) {
        GetSerialNumber(kSlipNumberKind, 1, true);
        m_reservedNumber.clear();
    }
    m_query.setValue(QStringLiteral("NOUHIN_DATE1"), columnText(m_query, "NOUHIN_Y1") +
                                                         columnText(m_query, "NOUHIN_M1") +
                                                         columnText(m_query, "NOUHIN_D1"));
    m_query.setValue(QStringLiteral("NOUHIN_DATE2"), columnText(m_query, "NOUHIN_Y2") +
                                                         columnText(m_query, "NOUHIN_M2") +
                                                         columnText(m_query, "NOUHIN_D2"));
    m_query.setValue(QStringLiteral("HACYU_DATE"), columnText(m_query, "HACYU_Y") +
                                                       columnText(m_query, "HACYU_M") +
                                                       columnText(m_query, "HACYU_D"));
}

void TambrelForm::IBQueryTambrelBeforeCancel()
{
    if (m_query.state() != EditableResultSet::State::Insert)
        return;
    // Only the number this slip drew goes back to the counter.
    GetSerialNumber(kSlipNumberKind, 0, true, m_reservedNumber);
    m_reservedNumber.clear();
}

void TambrelForm::DSTambrelStateChange()
{
    const bool browsing = m_query.state() == EditableResultSet::State::Browse;
    m_selDataBtn->setEnabled(browsing);
    m_navi2->setEnabled(browsing);
}

QWidget *TambrelForm::firstControl() const
{
    for (DBEdit *e : m_edits) {
        if ((e->focusPolicy() & Qt::TabFocus) && e->isEnabled())
            return e;
    }
    return m_selDataBtn;
}

void TambrelForm::focusFirstControl()
{
    // The focused edit's text reaches its column even when the focus does
    // not move (the window is not active, or it is the first control).
    if (auto *edit = qobject_cast<DBEdit *>(focusWidget()))
        edit->updateRecord();
    if (QWidget *first = firstControl())
        first->setFocus(Qt::OtherFocusReason);
}

void TambrelForm::CaptionDBNavi1BeforeAction(TCaptionDBNavi::NavigateBtn button)
{
    focusFirstControl();
    // A second new slip waits until the first has its company.
    if (button == TCaptionDBNavi::nbInsert && m_query.state() == EditableResultSet::State::Insert &&
        m_query.isNull(kCompany))
        m_navi1->abort();
}

void TambrelForm::N5Click()
{
    if (m_query.editing())
        m_query.Post();
}

void TambrelForm::N6Click()
{
    m_query.Append();
}

void TambrelForm::SelDataBtnClick()
{
    SelectSavedData(m_query, false, helpContext(), this);
    focusFirstControl();
}

void TambrelForm::PrintBtnClick()
{
    focusFirstControl();
    if (!SavePendingChanges(m_query, m_query.editing(), true))
        return;
    if (!SelectSavedData(m_query, true, helpContext(), this))
        return;
    const QVariant id = m_query.value(kId);
    if (!SavePendingChanges(m_query, m_query.editing(), true))
        return;

    if (CountRecords(IBDatabase1(), QStringLiteral("TAMBREL"),
                     QStringLiteral("WHERE (PRINTOUT = 1)")) <= 0) {
        Messages::show(MsgType::Confirmation, tr16(SlipEntryTexts::kNoPrintData), MsgButton::Ok,
                       helpContext());
    } else {
        // The embedded engine lets one process at a time open the file.
        const bool closeConnection = settings().EmbeddedServerPresent;
        if (closeConnection) {
            m_query.close();
            IBDatabase1().disconnect();
        }
        struct Reconnect
        {
            Database &db;
            bool closed;
            ~Reconnect()
            {
                if (closed && !db.connected()) {
                    try {
                        db.connect();
                    } catch (...) {
                        // The refresh below reports a connection that fails.
                    }
                }
            }
        } reconnect{IBDatabase1(), closeConnection};
        RunProgramAndWait(this, m_printProgram, printDisplayName(), kShowNormal, Qt::WindowNoState,
                          true, QString());
    }
    ReopenAndLocate(m_query, kId, id, false);
    if (isVisible() && isEnabled())
        activateWindow();
}

bool TambrelForm::isDataSetKey(const QKeyEvent *event, bool *post) const
{
    if (!dataSetShortcuts() || event->modifiers() != Qt::ControlModifier)
        return false;
    if (event->key() == Qt::Key_S) {
        *post = true;
        return true;
    }
    if (event->key() == Qt::Key_Insert) {
        *post = false;
        return true;
    }
    return false;
}

bool TambrelForm::handleKey(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    bool post = false;
    if (isDataSetKey(event, &post)) {
        (post ? m_postAction : m_appendAction)->trigger();
        return true;
    }
    if (mods != Qt::NoModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        focusNextPrevChild(true);
        return true;
    case Qt::Key_Up:
        focusNextPrevChild(false);
        return true;
    case Qt::Key_PageDown:
        if (m_query.state() != EditableResultSet::State::Browse)
            return false;
        m_query.Next();
        return true;
    case Qt::Key_PageUp:
        if (m_query.state() != EditableResultSet::State::Browse)
            return false;
        m_query.Prior();
        return true;
    default:
        return false;
    }
}

bool TambrelForm::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Ctrl+S and Ctrl+Insert belong to the form, not to the edit's copy.
        bool post = false;
        if (isDataSetKey(static_cast<QKeyEvent *>(event), &post)) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress:
        if (handleKey(static_cast<QKeyEvent *>(event)))
            return true;
        break;
    case QEvent::FocusOut: {
        auto *edit = qobject_cast<DBEdit *>(watched);
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (edit && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            edit->updateRecord();
            if (const SlipEditDef *d = editDef(edit))
                emit fieldExited(edit, d->exit);
        }
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (auto *edit = qobject_cast<DBEdit *>(watched)) {
            if (const SlipEditDef *d = editDef(edit)) {
                if (d->click != SlipFieldClick::None)
                    emit fieldDoubleClicked(edit, d->click);
            }
        }
        break;
    case QEvent::ContextMenu:
        if (auto *edit = qobject_cast<DBEdit *>(watched)) {
            const SlipEditDef *d = editDef(edit);
            QMenu *menu = d ? menuFor(d->menu) : nullptr;
            if (menu) {
                if (!menu->isEmpty())
                    menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
                return true;
            }
        }
        break;
    default:
        break;
    }
    return ConnectedMainWindow::eventFilter(watched, event);
}

void TambrelForm::closeEvent(QCloseEvent *event)
{
    if (isMinimized() || isMaximized())
        showNormal();
    focusFirstControl();
    try {
        if (databaseConnected()) {
            if (!SavePendingChanges(m_query, m_query.editing(), true)) {
                event->ignore();
                return;
            }
            m_query.close();
            IBDatabase1().disconnect();
        }
    } catch (...) {
        // The slip could not be written: say so, then the program ends.
        TambrelApplication::showCurrentException();
        QCoreApplication::quit();
    }
    event->accept();
}
