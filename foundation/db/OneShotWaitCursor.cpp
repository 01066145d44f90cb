#include "OneShotWaitCursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

OneShotWaitCursor::OneShotWaitCursor()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_shown = true;
    }
}

OneShotWaitCursor::~OneShotWaitCursor()
{
    if (m_shown)
        QGuiApplication::restoreOverrideCursor();
}
