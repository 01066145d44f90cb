#include "NowPrintingdlg.h"

#include "PrintoutTexts.h"
#include "app/Messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

TNowPrintingdlg::TNowPrintingdlg(TVDBPrint &printer, const PrintRange &range, QWidget *parent)
    : QDialog(parent), m_printer(printer), m_range(range)
{
    setWindowTitle(PrintoutTexts::PrintingCaption);
    setObjectName(QStringLiteral("NowPrintingdlg"));
    PrintMessage = new QLabel(this);
    PrintMessage->setObjectName(QStringLiteral("PrintMessage"));
    PrintMessage->setAlignment(Qt::AlignCenter);
    PrintMessage->setWordWrap(true);
    PageMessage = new QLabel(this);
    PageMessage->setObjectName(QStringLiteral("PageMessage"));
    PageMessage->setAlignment(Qt::AlignCenter);
    CancelButton = new QPushButton(PrintoutTexts::CancelCaption, this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PrintMessage);
    layout->addWidget(PageMessage);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    resize(320, 140);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Timer = new QTimer(this);
    Timer->setSingleShot(true);
    Timer->setInterval(500);
    connect(Timer, &QTimer::timeout, this, &TNowPrintingdlg::PrintStart);
    connect(CancelButton, &QPushButton::clicked, this, &TNowPrintingdlg::CancelButtonClick);
    Timer->start();
}

TNowPrintingdlg::~TNowPrintingdlg() = default;

void TNowPrintingdlg::PrintStart()
{
    // Runs once.
    disconnect(Timer, &QTimer::timeout, this, &TNowPrintingdlg::PrintStart);
    PrintJob job(m_printer, m_range, this);
    m_job = &job;
    m_outcome = job.run();
    m_job = nullptr;
    m_done = true;
    emit jobFinished();
    // After a start failure the dialog stays until the user closes it.
    if (m_outcome == PrintOutcome::Printed || m_outcome == PrintOutcome::Cancelled)
        accept();
}

void TNowPrintingdlg::CancelButtonClick()
{
    if (!printing()) {
        // Nothing to stop (the job could not start, or has not yet): just close.
        if (m_done || !Timer->isActive())
            reject();
        return;
    }
    if (Messages::show(MsgType::Confirmation, PrintoutTexts::ConfirmCancel,
                       MsgButton::Yes | MsgButton::No) == MsgResult::Yes) {
        if (m_job)
            m_job->cancel();
    }
}

void TNowPrintingdlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        CancelButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TNowPrintingdlg::closeEvent(QCloseEvent *event)
{
    // The close box cannot end a job half way; it asks like the abort button.
    if (printing()) {
        event->ignore();
        CancelButtonClick();
        return;
    }
    QDialog::closeEvent(event);
}

void TNowPrintingdlg::pageStarted(int page)
{
    PageMessage->setText(PrintoutTexts::pageMessage(page));
    emit pageShown(page);
}

void TNowPrintingdlg::pump()
{
    QApplication::processEvents();
}
