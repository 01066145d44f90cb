#include "WindowHelpers.h"

#include "text/KivFunc.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

void RunProgramAndWait(QWidget *window, const QString &program, const QString &parameters,
                       int showMode, Qt::WindowStates windowState, bool visible,
                       const QString &folder)
{
    const QString commandLine = TrimWide(program) + QLatin1Char(' ') + TrimWide(parameters);
    const QString workDir = TrimWide(folder).isEmpty() ? QString() : folder;

    Qt::WindowStates oldState;
    bool oldVisible = false;
    if (window) {
        oldState = window->windowState();
        oldVisible = window->isVisible();
        window->setEnabled(false);
        window->setWindowState(windowState);
        window->setVisible(visible);
    }
    struct Restore
    {
        QWidget *w;
        Qt::WindowStates state;
        bool visible;
        ~Restore()
        {
            if (!w)
                return;
            w->setWindowState(state);
            w->setEnabled(true);
            w->setVisible(visible);
            if (w->isVisible() && w->focusPolicy() != Qt::NoFocus)
                w->setFocus();
            else if (w->isVisible())
                w->activateWindow();
        }
    } restore{window, oldState, oldVisible};
    RunAndWait(commandLine, workDir, showMode);
}

namespace {

int qtKeyFromVirtualKey(int vk)
{
    if (vk >= 0x30 && vk <= 0x39)
        return Qt::Key_0 + (vk - 0x30);
    if (vk >= 0x41 && vk <= 0x5A)
        return Qt::Key_A + (vk - 0x41);
    if (vk >= 0x70 && vk <= 0x7B)
        return Qt::Key_F1 + (vk - 0x70);
    switch (vk) {
    case 0x08:
        return Qt::Key_Backspace;
    case 0x09:
        return Qt::Key_Tab;
    case 0x0D:
        return Qt::Key_Return;
    case 0x1B:
        return Qt::Key_Escape;
    case 0x20:
        return Qt::Key_Space;
    case 0x21:
        return Qt::Key_PageUp;
    case 0x22:
        return Qt::Key_PageDown;
    case 0x23:
        return Qt::Key_End;
    case 0x24:
        return Qt::Key_Home;
    case 0x25:
        return Qt::Key_Left;
    case 0x26:
        return Qt::Key_Up;
    case 0x27:
        return Qt::Key_Right;
    case 0x28:
        return Qt::Key_Down;
    case 0x2D:
        return Qt::Key_Insert;
    case 0x2E:
        return Qt::Key_Delete;
    default:
        return Qt::Key_unknown;
    }
}

} // namespace

void PressKey(int virtualKey, int count)
{
    const int key = qtKeyFromVirtualKey(virtualKey);
    for (int i = 0; i < count; ++i) {
        QWidget *target = QApplication::focusWidget();
        if (!target)
            target = QApplication::activeWindow();
        if (!target)
            return;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        // The press may have moved the focus; the release goes where it is now.
        QWidget *now = QApplication::focusWidget() ? QApplication::focusWidget() : target;
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(now, &release);
    }
}
