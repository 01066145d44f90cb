#include "TambrelApplication.h"
#include "UiTexts.h"

#include "MessageBoxes.h"
#include "WaitCursor.h"
#include "app/AppError.h"
#include "app/Messages.h"
#include "db/OneShotWaitCursor.h"
#include "text/ShiftJis.h"

#include <exception>

TambrelApplication::TambrelApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    MessageBoxes::install();
    WaitCursor::install();
}

TambrelApplication::~TambrelApplication()
{
    Messages::setDefaultHandler(nullptr);
    OneShotWaitCursor::setIndicator(nullptr, nullptr);
}

bool TambrelApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showCurrentException();
        return false;
    }
}

void TambrelApplication::showCurrentException()
{
    try {
        throw;
    } catch (const AppError &e) {
        Messages::error(e.message());
    } catch (const ShiftJisError &e) {
        Messages::error(e.userMessage());
    } catch (const std::exception &e) {
        Messages::error(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Messages::error(QString::fromUtf8(kUnknownError));
    }
}
