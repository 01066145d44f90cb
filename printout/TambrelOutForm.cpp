#include "TambrelOutForm.h"

#include "EditEx.h"
#include "PrintoutTexts.h"
#include "QxPrinters.h"
#include "SlipComposition.h"
#include "app/AppError.h"
#include "app/Messages.h"
#include "db/IbFunc.h"
#include "settings/Settings.h"
#include "ui/AppHints.h"
#include "ui/FormHelp.h"
#include "ui/Help.h"
#include "ui/IniWinPlace.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <cstdlib>

namespace T = PrintoutTexts;

namespace {

const QString DenName = QStringLiteral("DENNAME");

// Selects the entry equal to text, letter case ignored; false when none is.
bool selectText(QComboBox *combo, const QString &text)
{
    const int i = text.isEmpty() ? -1 : combo->findText(text, Qt::MatchFixedString);
    if (i < 0)
        return false;
    combo->setCurrentIndex(i);
    return true;
}

void fill(QComboBox *combo, const QStringList &items)
{
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
}

QString formPath(const QString &formName)
{
    if (formName.isEmpty())
        return QString();
    return QDir(settings().ProgramFolder).filePath(formName);
}

} // namespace

TTambrelOutForm::TTambrelOutForm(TQxPrinter &printerInfo, const QString &defaultPrinterName,
                                 const QString &slipTypeName, QWidget *parent)
    : ConnectedMainWindow(T::FormCaption, parent), m_qx(printerInfo),
      m_defaultPrinterName(defaultPrinterName)
{
    setObjectName(QStringLiteral("TambrelOutForm"));
    buildControls();
    FormCreate(slipTypeName);
}

TTambrelOutForm::~TTambrelOutForm()
{
    m_qx.watchPrinterChanges(0);
    if (!m_closed)
        FormCloseQuery();
    // The command file lives as long as the program.
    if (!settings().PrintCommandFilePath.isEmpty())
        QFile::remove(settings().PrintCommandFilePath);
}

QString RecordDefaultPrinter(TQxPrinter &printerInfo)
{
    try {
        const QStringList names = printerInfo.GetPrinterNames();
        return names.value(printerInfo.GetIndex());
    } catch (const EQxPrinterNoPrinter &e) {
        // Nothing to print on: the program ends.
        Messages::error(e.message());
        std::exit(1);
    } catch (const EQxPrinter &e) {
        Messages::error(e.message());
        return QString();
    }
}

void TTambrelOutForm::buildControls()
{
    setFont(QFont(T::FormFont, 9));
    auto *central = new QWidget(this);
    setCentralWidget(central);

    GroupBox1 = new QGroupBox(T::SettingsGroup, central);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    PaperCombo = new QComboBox(GroupBox1);
    PaperCombo->setObjectName(QStringLiteral("PaperCombo"));
    PaperCombo->setMaxVisibleItems(10);
    PaperCombo->setToolTip(T::PaperComboHint);
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMaxVisibleItems(10);
    ComboBox1->setToolTip(T::PrinterHint);
    ComboBox3 = new QComboBox(GroupBox1);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->setMaxVisibleItems(22);
    ComboBox3->setToolTip(T::PaperSizeHint);
    for (QComboBox *c : {PaperCombo, ComboBox1, ComboBox3})
        c->setMinimumWidth(280);

    auto *label1 = new QLabel(T::SlipTypeLabel, GroupBox1);
    auto *label2 = new QLabel(T::PrinterLabel, GroupBox1);
    Label3 = new QLabel(T::PaperSizeLabel, GroupBox1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setToolTip(T::PaperSizeLabelHint);

    GroupBox2 = new QGroupBox(T::OffsetGroup, GroupBox1);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setToolTip(T::OffsetGroupHint);
    EditEx2 = new TEditEx(GroupBox2);
    EditEx2->setObjectName(QStringLiteral("EditEx2"));
    TopUD = new TUpDown(GroupBox2);
    TopUD->setObjectName(QStringLiteral("TopUD"));
    EditEx1 = new TEditEx(GroupBox2);
    EditEx1->setObjectName(QStringLiteral("EditEx1"));
    LeftUD = new TUpDown(GroupBox2);
    LeftUD->setObjectName(QStringLiteral("LeftUD"));
    for (auto [edit, ud] : {std::pair{EditEx2, TopUD}, std::pair{EditEx1, LeftUD}}) {
        edit->setAlignment(Qt::AlignCenter);
        edit->setText(QStringLiteral("0"));
        edit->setFixedWidth(64);
        ud->setRange(-500, 500);
        ud->setWrap(true);
        ud->setAssociate(edit);
    }
    auto *offsets = new QGridLayout(GroupBox2);
    offsets->addWidget(new QLabel(T::TopLabel, GroupBox2), 0, 0);
    offsets->addWidget(EditEx2, 0, 1);
    offsets->addWidget(TopUD, 0, 2);
    offsets->addWidget(new QLabel(T::LeftLabel, GroupBox2), 1, 0);
    offsets->addWidget(EditEx1, 1, 1);
    offsets->addWidget(LeftUD, 1, 2);
    offsets->setColumnStretch(3, 1);

    auto *grid = new QGridLayout(GroupBox1);
    grid->addWidget(label1, 0, 0);
    grid->addWidget(PaperCombo, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(ComboBox1, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(ComboBox3, 2, 1);
    grid->addWidget(GroupBox2, 3, 0, 1, 2);

    BitBtn1 = new QPushButton(T::PrintButton, central);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(T::PrintHint);
    BitBtn3 = new QPushButton(T::CloseButton, central);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    HelpBtn = new QPushButton(T::HelpButton, central);
    HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn3);
    buttons->addWidget(HelpBtn);

    auto *layout = new QVBoxLayout(central);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel1 = new QLabel(T::StatusHelp, StatusBar1);
    StatusPanel1->setAlignment(Qt::AlignCenter);
    StatusPanel1->setMinimumWidth(80);
    StatusPanel2 = new QLabel(StatusBar1);
    StatusBar1->addWidget(StatusPanel1);
    StatusBar1->addWidget(StatusPanel2, 1);
    setStatusBar(StatusBar1);

    connect(PaperCombo, &QComboBox::activated, this, &TTambrelOutForm::PaperComboChange);
    connect(ComboBox1, &QComboBox::activated, this, &TTambrelOutForm::ComboBox1Change);
    connect(ComboBox3, &QComboBox::activated, this, &TTambrelOutForm::ComboBox3Change);
    connect(BitBtn1, &QPushButton::clicked, this, &TTambrelOutForm::BitBtn1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &QWidget::close);
    connect(HelpBtn, &QPushButton::clicked, this, [] { Help::showContext(HelpContext); });
    connect(&m_qx, &TQxPrinter::printersChanged, this, &TTambrelOutForm::PrintersChanged);

    // Fixed border, system menu only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    adjustSize();
    setFixedSize(sizeHint());
}

void TTambrelOutForm::FormCreate(const QString &slipTypeName)
{
    IniWinPlace1 = new TIniWinPlace(this);
    IniWinPlace1->setIniName(settings().SettingsFilePath);
    IniWinPlace1->setSectionName(QStringLiteral("TambrelOutForm"));
    IniWinPlace1->LoadPlacement();
    setFixedSize(sizeHint());
    m_hints = new AppHints(this, StatusPanel2);
    InstallHelpKey(this, HelpContext);

    if (!databaseConnected())
        return; // the connection's error was shown; the lists stay empty
    try {
        IBQueryTambrel.setTransaction(&IBTransaction1());
        IBQueryTambrel.setReadOnly(true);
        IBQueryTambrel.setSql(QStringList{QStringLiteral("SELECT * FROM TAMBREL"),
                                          QStringLiteral("WHERE (PRINTOUT = 1)")});
        IBQueryTambrel.open();

        IBQuerySet.setTransaction(&IBTransaction1());
        IBQuerySet.setSql(QStringLiteral("SELECT * FROM TAMBRELSET"));
        IBQuerySet.setUpdateObject(&IBUpdateSQLSet);
        IBQuerySet.open();
        IBQuerySet.fetchAll();
        BuildUpdateStatements(IBQuerySet, IBUpdateSQLSet, QStringLiteral("TAMBRELSET"));

        fill(ComboBox1, m_qx.GetPrinterNames());
        fill(PaperCombo, GetValueList(IBDatabase1(), QStringLiteral("TAMBRELSET"), DenName,
                                      QStringLiteral("ShowNo"),
                                      QStringLiteral("WHERE ((NotShow = 0) AND (Use = 1))"),
                                      QStringLiteral("ASC"), false, false));
    } catch (const AppError &e) {
        Messages::error(e.message());
        return;
    } catch (const std::exception &e) {
        Messages::error(QString::fromLocal8Bit(e.what()));
        return;
    }
    if (PaperCombo->count() > 0) {
        const QSignalBlocker block(PaperCombo);
        if (!selectText(PaperCombo, slipTypeName.trimmed()))
            PaperCombo->setCurrentIndex(0);
    }
    LoadPrintSetting();
    m_qx.watchPrinterChanges(2000);
}

void TTambrelOutForm::LoadPrintSetting()
{
    try {
        const QString name = PaperCombo->currentText();
        if (!IBQuerySet.active() || !IBQuerySet.Locate(DenName, name))
            throw AppError(T::DataReadError);
        const QString form = formPath(IBQuerySet.value(QStringLiteral("FORMNAME")).toString());
        BitBtn1->setEnabled(!IBQueryTambrel.isEmpty() && !form.isEmpty() &&
                            QFileInfo(form).isFile());
        // This computer's row; without one the layout row gives the defaults.
        IBQuerySet.Locate(DenName, settings().ComputerName + name);
        TopUD->setPosition(IBQuerySet.value(QStringLiteral("TOP_M")).toInt());
        LeftUD->setPosition(IBQuerySet.value(QStringLiteral("LEFT_M")).toInt());

        const QString printer = IBQuerySet.value(QStringLiteral("PRINTERNAME")).toString();
        {
            const QSignalBlocker block(ComboBox1);
            if (!selectText(ComboBox1, printer) && !selectText(ComboBox1, m_defaultPrinterName))
                ComboBox1->setCurrentIndex(-1);
        }
        m_qx.SetIndex(ComboBox1->currentIndex());
        m_qx.ApplySettings();
        fill(ComboBox3, m_qx.GetPaperSizeNames());
        {
            const QSignalBlocker block(ComboBox3);
            if (!selectText(ComboBox3, IBQuerySet.value(QStringLiteral("PAPERNAME")).toString()))
                ComboBox3->setCurrentIndex(m_qx.GetPaperSizeIndex());
        }
        m_qx.SetPaperSizeIndex(ComboBox3->currentIndex());
        m_qx.ApplySettings();
    } catch (...) {
        Messages::error(T::DataReadError);
    }
}

void TTambrelOutForm::PaperComboChange()
{
    LoadPrintSetting();
}

void TTambrelOutForm::ComboBox1Change()
{
    try {
        const int code = m_qx.GetPaperSizeNumber();
        m_qx.SetIndex(ComboBox1->currentIndex());
        fill(ComboBox3, m_qx.GetPaperSizeNames());
        int index = -1;
        for (int i = 0; i < m_qx.GetNumPaperSizes(); ++i) {
            if (m_qx.GetPaperNumbers(i) == code) {
                index = i;
                break;
            }
        }
        if (index < 0)
            index = m_qx.GetPaperSizeIndex();
        {
            const QSignalBlocker block(ComboBox3);
            ComboBox3->setCurrentIndex(index);
        }
        m_qx.SetPaperSizeIndex(index);
        m_qx.ApplySettings();
    } catch (const AppError &e) {
        Messages::error(e.message());
    }
}

void TTambrelOutForm::ComboBox3Change()
{
    try {
        m_qx.SetPaperSizeIndex(ComboBox3->currentIndex());
        m_qx.ApplySettings();
    } catch (const AppError &e) {
        Messages::error(e.message());
    }
}

void TTambrelOutForm::PrintersChanged()
{
    // The list follows the printers, so an entry never names another printer.
    const QString selected = ComboBox1->currentText();
    try {
        fill(ComboBox1, m_qx.GetPrinterNames());
    } catch (const AppError &e) {
        Messages::error(e.message());
        return;
    }
    const QSignalBlocker block(ComboBox1);
    if (selectText(ComboBox1, selected))
        return;
    if (!selectText(ComboBox1, m_defaultPrinterName))
        ComboBox1->setCurrentIndex(-1);
    QMetaObject::invokeMethod(this, &TTambrelOutForm::ComboBox1Change, Qt::QueuedConnection);
}

QString TTambrelOutForm::printQuestion() const
{
    return T::printQuestion(PaperCombo->currentText(), ComboBox1->currentText(),
                            ComboBox3->currentText());
}

void TTambrelOutForm::BitBtn1Click()
{
    if (Messages::show(MsgType::Confirmation, printQuestion(), MsgButton::Yes | MsgButton::No,
                       HelpContext) != MsgResult::Yes)
        return;
    try {
        SavePrintSetting();
        ComposePrintData();
        m_printed = true;
    } catch (...) {
        // The print steps told what the user needs to know.
        m_printed = false;
    }
}

void TTambrelOutForm::SavePrintSetting()
{
    try {
        const QString key = settings().ComputerName + PaperCombo->currentText();
        if (IBQuerySet.Locate(DenName, key)) {
            IBQuerySet.Edit();
        } else {
            const qint64 id =
                GetGeneratorValue(IBDatabase1(), QStringLiteral("IDNO_INC1"), QStringLiteral("0"));
            IBQuerySet.Append();
            IBQuerySet.setValue(QStringLiteral("ID"), id + 1);
            IBQuerySet.setValue(QStringLiteral("NOTSHOW"), 1);
        }
        IBQuerySet.setValue(DenName, key);
        IBQuerySet.setValue(QStringLiteral("PRINTERNAME"), ComboBox1->currentText());
        IBQuerySet.setValue(QStringLiteral("PAPERNAME"), ComboBox3->currentText());
        IBQuerySet.setValue(QStringLiteral("PAPERTYPE"), m_qx.GetPaperSizeNumber());
        IBQuerySet.setValue(QStringLiteral("LEFT_M"), LeftUD->position());
        IBQuerySet.setValue(QStringLiteral("TOP_M"), TopUD->position());
        IBQuerySet.setValue(QStringLiteral("NOTSHOW"), 1);
        if (!IBQuerySet.Post())
            throw AppError(T::DataWriteError);
    } catch (...) {
        if (IBQuerySet.editing())
            IBQuerySet.Cancel();
        throw AppError(T::DataWriteError);
    }
}

void TTambrelOutForm::ComposePrintData()
{
    m_qx.SetPaperSizeIndex(ComboBox3->currentIndex());
    ComposeJob job;
    job.paperCode = m_qx.GetPaperSizeNumber();
    if (!IBQuerySet.Locate(DenName, PaperCombo->currentText()))
        throw AppError(T::DataReadError);
    SlipLayout layout = SlipLayout::read(IBQuerySet);
    layout.formName = formPath(layout.formName);
    job.dataFile = settings().PrintCommandFilePath;
    job.leftOffset = LeftUD->position();
    job.topOffset = TopUD->position();
    ::ComposePrintData(layout, IBQueryTambrel, job);
}

void TTambrelOutForm::FormCloseQuery()
{
    m_closed = true;
    setWindowState(Qt::WindowNoState);
    if (!databaseConnected())
        return;
    try {
        if (IBQuerySet.active())
            SavePendingChanges(IBQuerySet, IBQuerySet.editing(), true);
        if (m_printed &&
            Messages::show(MsgType::Confirmation, Messages::twoPart(T::ClearMarks1, T::ClearMarks2),
                           MsgButton::Yes | MsgButton::No, HelpContext) == MsgResult::Yes)
            UpdateColumnWhere(QStringLiteral("TAMBREL"), QStringLiteral("PRINTOUT"),
                              QStringLiteral("PRINTOUT"), false, IBDatabase1(), 1, 0);
        IBQueryTambrel.close();
        IBQuerySet.close();
        IBDatabase1().disconnect();
    } catch (...) {
        // The program ends all the same.
        QCoreApplication::quit();
    }
}

void TTambrelOutForm::closeEvent(QCloseEvent *event)
{
    if (!m_closed)
        FormCloseQuery();
    event->accept();
}
