#include "FormHelp.h"

#include "Help.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

void InstallHelpKey(QWidget *form, int helpContext)
{
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), form);
    f1->setObjectName(QStringLiteral("HelpKey"));
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, form,
                     [helpContext] { Help::showContext(helpContext); });
}
