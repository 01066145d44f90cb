#include "KestravForm.h"

#include "ExportColumns.h"
#include "ExportSelCompForm.h"
#include "ExportTexts.h"
#include "app/AppError.h"
#include "app/Messages.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "text/KivFunc.h"
#include "ui/AppHints.h"
#include "ui/ConnectedMainWindow.h"
#include "ui/FormHelp.h"
#include "ui/Help.h"
#include "ui/IniWinPlace.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kHelpContext = 27;

QString text(const char16_t *t)
{
    return QString::fromUtf16(t);
}

// A radio group: a titled box of buttons in columns, numbered from 0.
QButtonGroup *radioGroup(QGroupBox *box, const QList<const char16_t *> &items, int columns)
{
    auto *group = new QButtonGroup(box);
    auto *grid = new QGridLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(text(items.at(i)), box);
        group->addButton(button, i);
        grid->addWidget(button, i / columns, i % columns);
    }
    return group;
}

} // namespace

TKestravForm::TKestravForm(const QDate &today, QWidget *parent) : QMainWindow(parent)
{
    using namespace ExportTexts;
    setObjectName(QStringLiteral("KestravForm"));
    setWindowTitle(ConnectedMainWindow::captionPrefix() + text(kMainCaption));
    // Single border, system menu only.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildSlipPage(), text(kPageSlips));
    PageControl1->addTab(buildMasterPage(), text(kPageMasters));
    setCentralWidget(PageControl1);
    buildMenu();

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->addWidget(new QLabel(text(kStatusHelp), status));
    StatusPanel2 = new QLabel(status);
    StatusPanel2->setObjectName(QStringLiteral("StatusPanel2"));
    StatusPanel2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status->addWidget(StatusPanel2, 1);
    setStatusBar(status);

    m_hints = new AppHints(this, StatusPanel2);
    InstallHelpKey(this, kHelpContext);
    m_place = new TIniWinPlace(this);
    m_place->setIniName(settings().SettingsFilePath);
    m_place->setSectionName(QStringLiteral("KestravForm"));
    adjustSize();
    setFixedSize(sizeHint());
    m_place->LoadPlacement();
    setFixedSize(sizeHint());

    const QString yy = today.toString(QStringLiteral("yy"));
    const QString mm = today.toString(QStringLiteral("MM"));
    const QString dd = today.toString(QStringLiteral("dd"));
    for (QLineEdit *e : {Edit_SYear, Edit_EYear})
        e->setText(yy);
    for (QLineEdit *e : {Edit_SMonth, Edit_EMonth})
        e->setText(mm);
    for (QLineEdit *e : {Edit_SDay, Edit_EDay})
        e->setText(dd);

    // A saved format outside the list starts with the first one.
    const int den = settings().ExportDen;
    setRadioGroup1Index(den >= 0 && den < kFormatCount ? den : 0);
    qApp->installEventFilter(this);
}

TKestravForm::~TKestravForm()
{
    qApp->removeEventFilter(this);
}

QWidget *TKestravForm::buildSlipPage()
{
    using namespace ExportTexts;
    auto *page = new QWidget;
    auto *box1 = new QGroupBox(text(kRadioGroup1), page);
    box1->setObjectName(QStringLiteral("RadioGroup1"));
    box1->setToolTip(text(kRadioGroup1Hint));
    RadioGroup1 = radioGroup(box1, {kFormatTurnaroundText, kFormatTypewriterText}, 2);
    connect(RadioGroup1, &QButtonGroup::idClicked, this, [this] { RadioGroup1Click(); });

    auto *dates = new QGroupBox(text(kGroupBox1), page);
    dates->setObjectName(QStringLiteral("GroupBox1"));
    dates->setToolTip(text(kGroupBox1Hint));
    ComboSelDate = new QComboBox(dates);
    ComboSelDate->setObjectName(QStringLiteral("ComboSelDate"));
    Edit_SYear = dateEdit("Edit_SYear", kYearHint, {});
    Edit_SMonth = dateEdit("Edit_SMonth", kMonthHint, {});
    Edit_SDay = dateEdit("Edit_SDay", kDayHint, {});
    Edit_EYear = dateEdit("Edit_EYear", kYearHint, {});
    Edit_EMonth = dateEdit("Edit_EMonth", kMonthHint, {});
    Edit_EDay = dateEdit("Edit_EDay", kDayHint, {});
    auto *dateRow = new QHBoxLayout(dates);
    dateRow->addWidget(ComboSelDate);
    for (QLineEdit *e : {Edit_SYear, Edit_SMonth, Edit_SDay})
        dateRow->addWidget(e);
    dateRow->addWidget(new QLabel(text(kDateSeparator), dates));
    for (QLineEdit *e : {Edit_EYear, Edit_EMonth, Edit_EDay})
        dateRow->addWidget(e);
    dateRow->addStretch(1);
    for (QLineEdit *e : dateEdits())
        e->setParent(dates);

    auto *names = new QGroupBox(text(kGroupBox2), page);
    names->setObjectName(QStringLiteral("GroupBox2"));
    names->setToolTip(text(kGroupBox2Hint));
    SpeedButton1 = new QPushButton(text(kSelectButton), names);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setToolTip(text(kSelectButtonHint));
    SpeedButton3 = new QPushButton(text(kClearButton), names);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton3->setToolTip(text(kClearButtonHint));
    EditCoName = new QLineEdit(names);
    EditCoName->setObjectName(QStringLiteral("EditCoName"));
    EditTenpoName = new QLineEdit(names);
    EditTenpoName->setObjectName(QStringLiteral("EditTenpoName"));
    for (QLineEdit *e : {EditCoName, EditTenpoName}) {
        e->setReadOnly(true);
        e->setStyleSheet(QStringLiteral("color: blue;"));
        e->setMinimumWidth(260);
    }
    auto *nameGrid = new QGridLayout(names);
    nameGrid->addWidget(new QLabel(text(kCompanyLabel), names), 0, 0);
    nameGrid->addWidget(EditCoName, 0, 1);
    nameGrid->addWidget(SpeedButton1, 0, 2);
    nameGrid->addWidget(new QLabel(text(kStoreLabel), names), 1, 0);
    nameGrid->addWidget(EditTenpoName, 1, 1);
    nameGrid->addWidget(SpeedButton3, 1, 2);

    SpeedButton2 = new QPushButton(text(kOutputButton), page);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setToolTip(text(kOutputButtonHint));
    // Speed buttons take no focus: Enter and the arrows walk the edits.
    for (QPushButton *b : {SpeedButton1, SpeedButton2, SpeedButton3})
        b->setFocusPolicy(Qt::NoFocus);
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QPushButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(SpeedButton3, &QPushButton::clicked, this, [this] { SpeedButton3Click(); });

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(box1);
    layout->addWidget(dates);
    layout->addWidget(names);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(SpeedButton2);
    layout->addLayout(bottom);
    return page;
}

QWidget *TKestravForm::buildMasterPage()
{
    using namespace ExportTexts;
    auto *page = new QWidget;
    auto *box2 = new QGroupBox(text(kRadioGroup2), page);
    box2->setObjectName(QStringLiteral("RadioGroup2"));
    RadioGroup2 = radioGroup(box2, {kMasterCompanies, kMasterPartners, kMasterItems}, 3);
    RadioGroup2->button(0)->setChecked(true);
    Memo1 = new QPlainTextEdit(page);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(QStringList{QString(), text(kMemoLine2), QString(), text(kMemoLine4)}.join(
        QLatin1Char('\n')));
    Memo1->setFocusPolicy(Qt::NoFocus);
    SpeedButton4 = new QPushButton(text(kOutputButton), page);
    SpeedButton4->setObjectName(QStringLiteral("SpeedButton4"));
    SpeedButton4->setToolTip(text(kOutputButtonHint));
    SpeedButton4->setFocusPolicy(Qt::NoFocus);
    connect(SpeedButton4, &QPushButton::clicked, this, [this] { SpeedButton4Click(); });
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(box2);
    layout->addWidget(Memo1, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(SpeedButton4);
    layout->addLayout(bottom);
    return page;
}

void TKestravForm::buildMenu()
{
    using namespace ExportTexts;
    QMenu *file = menuBar()->addMenu(text(kMenuFile));
    QAction *exit = file->addAction(text(kMenuExit));
    exit->setObjectName(QStringLiteral("Exit1"));
    exit->setStatusTip(text(kMenuExitHint));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    QMenu *help = menuBar()->addMenu(text(kMenuHelp));
    QAction *helpItem = help->addAction(text(kMenuHelpItem));
    helpItem->setObjectName(QStringLiteral("Help1"));
    helpItem->setStatusTip(text(kMenuHelpItemHint));
    connect(helpItem, &QAction::triggered, this, [] { Help::showContext(kHelpContext); });
}

QLineEdit *TKestravForm::dateEdit(const char *name, const char16_t *hint, const QString &value)
{
    auto *e = new QLineEdit(value);
    e->setObjectName(QLatin1String(name));
    e->setToolTip(text(hint));
    e->setMaxLength(2);
    e->setFixedWidth(36);
    e->setAlignment(Qt::AlignCenter);
    // Digits only: no input method.
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->setInputMethodHints(Qt::ImhDigitsOnly);
    return e;
}

QList<QLineEdit *> TKestravForm::dateEdits() const
{
    return {Edit_SYear, Edit_SMonth, Edit_SDay, Edit_EYear, Edit_EMonth, Edit_EDay};
}

int TKestravForm::RadioGroup1Index() const
{
    return RadioGroup1->checkedId();
}

void TKestravForm::setRadioGroup1Index(int index)
{
    if (QAbstractButton *b = RadioGroup1->button(index))
        b->setChecked(true);
    RadioGroup1Click();
}

int TKestravForm::RadioGroup2Index() const
{
    return RadioGroup2->checkedId();
}

void TKestravForm::setRadioGroup2Index(int index)
{
    if (QAbstractButton *b = RadioGroup2->button(index))
        b->setChecked(true);
}

void TKestravForm::RadioGroup1Click()
{
    ComboSelDate->clear();
    ComboSelDate->addItems(ExportDateKinds(RadioGroup1Index()));
    const int saved = settings().ExportDate;
    ComboSelDate->setCurrentIndex(saved >= 0 && saved < ComboSelDate->count() ? saved : 0);
}

void TKestravForm::Edit_SYearExit(QLineEdit *edit)
{
    // Half-width digits only; one digit gets its leading zero, since the
    // dates are compared as YYMMDD texts.
    edit->setText(DatePartText(ExtractDigits(edit->text(), true)));
}

ExportConditions TKestravForm::conditions() const
{
    ExportConditions c;
    c.format = RadioGroup1Index();
    c.dateKind = ComboSelDate->currentIndex();
    c.startYear = Edit_SYear->text();
    c.startMonth = Edit_SMonth->text();
    c.startDay = Edit_SDay->text();
    c.endYear = Edit_EYear->text();
    c.endMonth = Edit_EMonth->text();
    c.endDay = Edit_EDay->text();
    c.companyName = EditCoName->text();
    c.storeName = EditTenpoName->text();
    return c;
}

void TKestravForm::SpeedButton1Click()
{
    QString company = TrimWide(EditCoName->text());
    QString store = TrimWide(EditTenpoName->text());
    if (SelectExportCompany(this, company, store)) {
        EditCoName->setText(company);
        EditTenpoName->setText(store);
    }
}

void TKestravForm::SpeedButton3Click()
{
    EditCoName->clear();
    EditTenpoName->clear();
}

ExcelArguments TKestravForm::excelArguments(const QString &exportName) const
{
    ExcelArguments a;
    a.confirm = true;
    a.helpContext = 0;
    a.sheet.startRow = 1;
    a.sheet.startColumn = 1;
    a.sheet.trueText = text(ExportTexts::kTrueText);
    a.sheet.falseText = text(ExportTexts::kFalseText);
    a.sheet.freeze = true;
    a.sheet.freezeRow = 2;
    a.sheet.freezeColumn = 2;
    a.visible = true;
    a.exportName = exportName;
    a.outputFolder = m_outputFolder;
    return a;
}

void TKestravForm::SpeedButton2Click()
{
    const ExportConditions c = conditions();
    const QStringList headers = ExportHeaders(c.format);
    try {
        if (!m_session.openSlips(c)) {
            Messages::show(MsgType::Confirmation, text(ExportTexts::kNoData), MsgButton::Ok,
                           kHelpContext);
        } else {
            QueryToExcel(m_session.IBQuery1(), &headers,
                         excelArguments(text(ExportTexts::kPageSlips)), this);
        }
    } catch (const AppError &e) {
        m_session.close();
        Messages::error(e.message());
        return;
    }
    m_session.close();
}

void TKestravForm::SpeedButton4Click()
{
    const int choice = RadioGroup2Index();
    const MasterExport master = MasterExportOf(choice);
    try {
        if (!m_session.openMaster(choice)) {
            Messages::show(MsgType::Confirmation, text(ExportTexts::kNoData), MsgButton::Ok,
                           kHelpContext);
        } else {
            QueryToExcel(m_session.IBQuery1(), &master.headers, excelArguments(master.name), this);
        }
    } catch (const AppError &e) {
        // Any failure of a master export reads the same.
        m_session.close();
        Messages::error(QString::fromLatin1(ExportTexts::kExcelOutError));
        return;
    }
    m_session.close();
}

void TKestravForm::closeEvent(QCloseEvent *event)
{
    if (isMaximized() || isMinimized())
        showNormal();
    const QString ini = settings().SettingsFilePath;
    if (!ini.isEmpty()) {
        const QString section = QLatin1String(kSectionExport);
        WriteIniInteger(ini, section, QStringLiteral("ExportDen"), RadioGroup1Index());
        WriteIniInteger(ini, section, QStringLiteral("ExportDate"), ComboSelDate->currentIndex());
    }
    event->accept();
}

bool TKestravForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || w->window() != this)
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        if (auto *e = qobject_cast<QLineEdit *>(w); e && dateEdits().contains(e))
            Edit_SYearExit(e);
    } else if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto *key = static_cast<QKeyEvent *>(event);
        // The Alt key alone does nothing.
        if (key->key() == Qt::Key_Alt)
            return true;
        if (event->type() == QEvent::KeyPress && handleKey(w, key))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TKestravForm::handleKey(QWidget *target, QKeyEvent *event)
{
    if (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        focusNextChild();
        // A radio group is passed over by Enter.
        QWidget *now = QApplication::focusWidget();
        if (auto *b = qobject_cast<QAbstractButton *>(now); b && RadioGroup1->buttons().contains(b))
            focusNextChild();
        return true;
    }
    case Qt::Key_Up:
        if (target == Edit_SYear)
            Edit_EDay->setFocus(Qt::BacktabFocusReason);
        else
            focusPreviousChild();
        return true;
    case Qt::Key_Down:
        if (target == Edit_EDay)
            Edit_SYear->setFocus(Qt::TabFocusReason);
        else
            focusNextChild();
        return true;
    default:
        return false;
    }
}
