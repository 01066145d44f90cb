#pragma once

#include <QDialog>
#include <QString>

class AppHints;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TIniWinPlace;

// Computes the check digit of a slip number by 7DR (six digits) or by
// modulus 11 (ten digits) and hands number and check digit back to the slip.
// A number opens in the group its length selects and is computed at once.
class TCheckDigitCalcForm : public QDialog
{
    Q_OBJECT
public:
    // number: the slip number reduced to its digits.
    explicit TCheckDigitCalcForm(const QString &number, QWidget *parent = nullptr);
    ~TCheckDigitCalcForm() override;

    // The pair of the last computation that succeeded: what OK hands back.
    // Before any, the number as given and an empty check digit.
    const QString &resultNumber() const { return m_number; }
    const QString &resultCheckDigit() const { return m_checkDigit; }

    QLineEdit *Edit1() const { return m_edit1; }
    QLineEdit *Edit2() const { return m_edit2; }
    QLineEdit *Edit3() const { return m_edit3; }
    QLineEdit *Edit4() const { return m_edit4; }
    QCheckBox *CheckBox1() const { return m_noMissing; }
    QPushButton *SpeedButton1() const { return m_compute7DR; }
    QPushButton *SpeedButton2() const { return m_computeModulus11; }
    QPushButton *BitBtn1() const { return m_okBtn; }
    QPushButton *BitBtn2() const { return m_cancelBtn; }
    QLabel *hintPanel() const { return m_hintPanel; }

    // Handlers; a number of the wrong length is reported and changes nothing.
    void SpeedButton1Click();
    void SpeedButton2Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildScreen();

    QString m_number;
    QString m_checkDigit;
    QLineEdit *m_edit1 = nullptr;
    QLineEdit *m_edit2 = nullptr;
    QLineEdit *m_edit3 = nullptr;
    QLineEdit *m_edit4 = nullptr;
    QCheckBox *m_noMissing = nullptr;
    QPushButton *m_compute7DR = nullptr;
    QPushButton *m_computeModulus11 = nullptr;
    QPushButton *m_okBtn = nullptr;
    QPushButton *m_cancelBtn = nullptr;
    QLabel *m_hintPanel = nullptr;
    TIniWinPlace *m_place = nullptr;
    AppHints *m_hints = nullptr;
};

// Opens the dialog on the slip number (reduced to its digits first). OK:
// number and checkDigit receive the pair of the last successful computation;
// otherwise checkDigit is emptied and number is the digits of the input.
void CalcCheckDigit(QString &number, QString &checkDigit, QWidget *parent = nullptr);
