#include "CheckDigitCalcForm.h"

#include "SlipEntryTexts.h"
#include "app/AppError.h"
#include "app/Messages.h"
#include "serial/CheckDigit.h"
#include "settings/Settings.h"
#include "text/KivFunc.h"
#include "ui/AppHints.h"
#include "ui/ConnectedMainWindow.h"
#include "ui/IniWinPlace.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QValidator>

using namespace SlipActionTexts;

namespace {

QString text(const char16_t *t)
{
    return QString::fromUtf16(t);
}

// The length limit of a number edit counts digits, so a number typed with a
// hyphen or in full width still fits.
class DigitLimit : public QValidator
{
public:
    DigitLimit(int digits, QObject *parent) : QValidator(parent), m_digits(digits) {}
    State validate(QString &input, int &) const override
    {
        return ExtractDigits(input, true).size() > m_digits ? Invalid : Acceptable;
    }

private:
    int m_digits;
};

QLineEdit *numberEdit(int digits, const QString &sample, QWidget *parent)
{
    auto *edit = new QLineEdit(sample, parent);
    edit->setValidator(new DigitLimit(digits, edit));
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhPreferLatin);
    return edit;
}

QLineEdit *resultEdit(QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setMaximumWidth(40);
    return edit;
}

QPlainTextEdit *usageNote(const QString &lines, QWidget *parent)
{
    auto *note = new QPlainTextEdit(lines, parent);
    note->setReadOnly(true);
    note->setFocusPolicy(Qt::NoFocus);
    note->setFixedHeight(note->fontMetrics().lineSpacing() * 4 + 12);
    return note;
}

bool isEnter(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TCheckDigitCalcForm::TCheckDigitCalcForm(const QString &number, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_number(number)
{
    setObjectName(QStringLiteral("CheckDigitForm"));
    buildScreen();

    m_place = new TIniWinPlace(this);
    m_place->setIniName(settings().SettingsFilePath);
    m_place->setSectionName(QStringLiteral("CheckDigitForm"));
    m_place->LoadPlacement();
    m_hints = new AppHints(this, m_hintPanel);
    setWindowTitle(ConnectedMainWindow::captionPrefix() + text(kCheckDigitCaption));

    m_noMissing->setChecked(settings().DenKetaCD == 4);

    // The number's length picks the method; other lengths leave the samples.
    if (m_number.size() == 6) {
        m_edit1->setText(m_number);
        m_edit3->clear();
        m_edit1->setFocus();
        SpeedButton1Click();
    } else if (m_number.size() == 10) {
        m_edit1->clear();
        m_edit3->setText(m_number);
        m_edit3->setFocus();
        SpeedButton2Click();
    }
}

TCheckDigitCalcForm::~TCheckDigitCalcForm() = default;

void TCheckDigitCalcForm::buildScreen()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);

    auto makeGroup = [this](const char16_t *title, const char16_t *numberLabel, QLineEdit *number,
                            QLineEdit *result, QPushButton *compute, QCheckBox *option,
                            const char16_t *usage) {
        auto *group = new QGroupBox(text(title), this);
        auto *grid = new QGridLayout(group);
        grid->addWidget(new QLabel(text(numberLabel), group), 0, 0);
        grid->addWidget(number, 1, 0);
        grid->addWidget(new QLabel(text(kCheckDigit), group), 0, 1);
        grid->addWidget(result, 1, 1);
        if (option)
            grid->addWidget(option, 2, 0, 1, 2);
        grid->addWidget(compute, 3, 0, 1, 2);
        grid->addWidget(new QLabel(text(kUsage), group), 0, 2);
        grid->addWidget(usageNote(text(usage), group), 1, 2, 3, 1);
        return group;
    };

    m_edit1 = numberEdit(6, text(kSample6), this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit2 = resultEdit(this);
    m_edit2->setObjectName(QStringLiteral("Edit2"));
    m_compute7DR = new QPushButton(text(kCompute), this);
    m_compute7DR->setObjectName(QStringLiteral("SpeedButton1"));
    m_compute7DR->setToolTip(text(kComputeHint));
    m_compute7DR->setAutoDefault(false);
    m_compute7DR->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(
        makeGroup(kGroup7DR, kNumber6, m_edit1, m_edit2, m_compute7DR, nullptr, kUsage7DR));

    m_edit3 = numberEdit(10, text(kSample10), this);
    m_edit3->setObjectName(QStringLiteral("Edit3"));
    m_edit4 = resultEdit(this);
    m_edit4->setObjectName(QStringLiteral("Edit4"));
    m_noMissing = new QCheckBox(text(kNoMissing), this);
    m_noMissing->setObjectName(QStringLiteral("CheckBox1"));
    m_computeModulus11 = new QPushButton(text(kCompute), this);
    m_computeModulus11->setObjectName(QStringLiteral("SpeedButton2"));
    m_computeModulus11->setToolTip(text(kComputeHint));
    m_computeModulus11->setAutoDefault(false);
    m_computeModulus11->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(makeGroup(kGroupModulus11, kNumber10, m_edit3, m_edit4, m_computeModulus11,
                                m_noMissing, kUsageModulus11));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_okBtn = new QPushButton(text(kOkButton), this);
    m_okBtn->setObjectName(QStringLiteral("BitBtn1"));
    m_okBtn->setToolTip(text(kApplyHint));
    m_cancelBtn = new QPushButton(text(kCancelButton), this);
    m_cancelBtn->setObjectName(QStringLiteral("BitBtn2"));
    m_cancelBtn->setToolTip(text(kStopHint));
    buttons->addWidget(m_okBtn);
    buttons->addWidget(m_cancelBtn);
    layout->addLayout(buttons);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    m_hintPanel = new QLabel(status);
    status->addWidget(m_hintPanel, 1);
    layout->addWidget(status);

    connect(m_compute7DR, &QPushButton::clicked, this, &TCheckDigitCalcForm::SpeedButton1Click);
    connect(m_computeModulus11, &QPushButton::clicked, this,
            &TCheckDigitCalcForm::SpeedButton2Click);
    connect(m_okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    m_edit1->installEventFilter(this);
    m_edit3->installEventFilter(this);

    setMinimumSize(448, 323);
    setFixedSize(sizeHint().expandedTo(QSize(448, 323)));
}

bool TCheckDigitCalcForm::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in a number edit computes; it never reaches the OK button.
    if (isEnter(event) && (watched == m_edit1 || watched == m_edit3)) {
        if (watched == m_edit1)
            SpeedButton1Click();
        else
            SpeedButton2Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TCheckDigitCalcForm::SpeedButton1Click()
{
    QString number = m_edit1->text();
    try {
        const QString digit = CheckDigit7DR(number);
        m_number = number;
        m_checkDigit = digit;
        m_edit1->setText(number);
        m_edit2->setText(digit);
    } catch (const AppError &e) {
        // The result shown and the pair OK hands back stay those of the last
        // number that could be computed.
        Messages::error(e.message());
    }
}

void TCheckDigitCalcForm::SpeedButton2Click()
{
    QString number = m_edit3->text();
    try {
        const QString digit = CheckDigitModulus11(number, !m_noMissing->isChecked());
        m_number = number;
        m_checkDigit = digit;
        m_edit3->setText(number);
        m_edit4->setText(digit);
    } catch (const AppError &e) {
        Messages::error(e.message());
    }
}

void CalcCheckDigit(QString &number, QString &checkDigit, QWidget *parent)
{
    number = ExtractDigits(number, true);
    TCheckDigitCalcForm form(number, parent);
    if (form.exec() == QDialog::Accepted) {
        number = form.resultNumber();
        checkDigit = form.resultCheckDigit();
    } else {
        checkDigit.clear();
    }
}
