#pragma once

#include "CommonOffice.h"
#include "ExportSession.h"
#include "ExportSql.h"

#include <QDate>
#include <QMainWindow>

class AppHints;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TIniWinPlace;

// The export program's window: stored slips by format, date range and
// company/store on the first page, a master table on the second, each
// written into a new spreadsheet file.
class TKestravForm : public QMainWindow
{
    Q_OBJECT
public:
    // today: the date the six date edits start with.
    explicit TKestravForm(const QDate &today = QDate::currentDate(), QWidget *parent = nullptr);
    ~TKestravForm() override;

    int RadioGroup1Index() const;
    void setRadioGroup1Index(int index);
    int RadioGroup2Index() const;
    void setRadioGroup2Index(int index);
    // The conditions of the slip page as the edits show them.
    ExportConditions conditions() const;
    // Where new files go (the documents folder when empty).
    void setOutputFolder(const QString &folder) { m_outputFolder = folder; }

    void RadioGroup1Click();
    void Edit_SYearExit(QLineEdit *edit);
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();

    QTabWidget *PageControl1 = nullptr;
    QButtonGroup *RadioGroup1 = nullptr;
    QComboBox *ComboSelDate = nullptr;
    QLineEdit *Edit_SYear = nullptr;
    QLineEdit *Edit_SMonth = nullptr;
    QLineEdit *Edit_SDay = nullptr;
    QLineEdit *Edit_EYear = nullptr;
    QLineEdit *Edit_EMonth = nullptr;
    QLineEdit *Edit_EDay = nullptr;
    QLineEdit *EditCoName = nullptr;
    QLineEdit *EditTenpoName = nullptr;
    QPushButton *SpeedButton1 = nullptr;
    QPushButton *SpeedButton2 = nullptr;
    QPushButton *SpeedButton3 = nullptr;
    QPushButton *SpeedButton4 = nullptr;
    QButtonGroup *RadioGroup2 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QLabel *StatusPanel2 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildSlipPage();
    QWidget *buildMasterPage();
    void buildMenu();
    QLineEdit *dateEdit(const char *name, const char16_t *hint, const QString &text);
    QList<QLineEdit *> dateEdits() const;
    ExcelArguments excelArguments(const QString &exportName) const;
    bool handleKey(QWidget *target, QKeyEvent *event);

    ExportSession m_session;
    TIniWinPlace *m_place = nullptr;
    AppHints *m_hints = nullptr;
    QString m_outputFolder;
};
