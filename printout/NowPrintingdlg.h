#pragma once

#include "PrintJob.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

// The progress dialog of a print job: the job runs inside it, started by a
// one-shot timer once the dialog is on screen.
class TNowPrintingdlg : public QDialog, private PrintProgress
{
    Q_OBJECT
public:
    explicit TNowPrintingdlg(TVDBPrint &printer, const PrintRange &range,
                             QWidget *parent = nullptr);
    ~TNowPrintingdlg() override;

    QPushButton *CancelButton;
    QLabel *PrintMessage;
    QLabel *PageMessage;
    QTimer *Timer;

    PrintOutcome outcome() const { return m_outcome; }
    bool printing() const { return m_job && m_job->printing(); }
    // True once the job ran (printed, cancelled, or failed to start).
    bool jobDone() const { return m_done; }

signals:
    void pageShown(int page);
    void jobFinished();

public slots:
    void CancelButtonClick();
    void PrintStart();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void pageStarted(int page) override;
    void pump() override;

    TVDBPrint &m_printer;
    PrintRange m_range;
    PrintJob *m_job = nullptr;
    PrintOutcome m_outcome = PrintOutcome::NotStarted;
    bool m_done = false;
};
