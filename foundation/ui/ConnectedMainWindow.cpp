#include "ConnectedMainWindow.h"
#include "UiTexts.h"

#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "app/Messages.h"

ConnectedMainWindow::ConnectedMainWindow(const QString &designedCaption, QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(captionPrefix() + designedCaption);
    try {
        ConnectDatabase(m_database, m_transaction);
    } catch (const AppError &e) {
        // The window opens without data.
        Messages::error(e.message());
    }
}

ConnectedMainWindow::~ConnectedMainWindow() = default;

QString ConnectedMainWindow::captionPrefix()
{
    return QString::fromUtf8(kCaptionPrefix);
}

void ConnectedMainWindow::terminate()
{
    close();
}
