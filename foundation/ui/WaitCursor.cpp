#include "WaitCursor.h"

#include "db/OneShotWaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace WaitCursor {

void install()
{
    OneShotWaitCursor::setIndicator(
        [] {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            return true;
        },
        [] { QGuiApplication::restoreOverrideCursor(); });
}

} // namespace WaitCursor
