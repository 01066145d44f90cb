#include "KivFunc.h"

#include "ShiftJis.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <QWidget>

namespace {

constexpr QChar kWideSpace(0x3000);

bool isBlank(QChar c)
{
    return c.unicode() <= 0x20;
}

QString trimLeftBlanks(const QString &s)
{
    qsizetype i = 0;
    while (i < s.size() && isBlank(s.at(i)))
        ++i;
    return s.mid(i);
}

QString trimRightBlanks(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && isBlank(s.at(n - 1)))
        --n;
    return s.left(n);
}

QString trimBlanks(const QString &s)
{
    return trimRightBlanks(trimLeftBlanks(s));
}

} // namespace

QString TrimLeftWide(const QString &text)
{
    QString s = trimLeftBlanks(text);
    qsizetype i = 0;
    while (i < s.size() && (s.at(i) == kWideSpace || s.at(i) == QLatin1Char(' ')))
        ++i;
    return trimLeftBlanks(s.mid(i));
}

QString TrimRightWide(const QString &text)
{
    // Works on characters, not bytes: a double-byte character whose trail
    // byte happens to be 0x81 followed by "@" is not a full-width space.
    QString s = trimRightBlanks(text);
    qsizetype n = s.size();
    while (n > 0 && (s.at(n - 1) == kWideSpace || s.at(n - 1) == QLatin1Char(' ')))
        --n;
    return trimRightBlanks(s.left(n));
}

QString TrimWide(const QString &text)
{
    return trimBlanks(TrimRightWide(TrimLeftWide(trimBlanks(text))));
}

QString ToHalfWidth(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            out.append(QChar(u - 0xFF01 + 0x21));
        else if (u == 0x3000)
            out.append(QLatin1Char(' '));
        else if (u == 0x2212) // MINUS SIGN, what some inputs give for "－"
            out.append(QLatin1Char('-'));
        else
            out.append(c);
    }
    return out;
}

bool IsNumberChar(QChar c, bool digitsOnly)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return true;
    return !digitsOnly && (u == '.' || u == '+' || u == '-');
}

QString ExtractDigits(const QString &text, bool digitsOnly)
{
    // The converted text is limited to 64 KiB of Shift-JIS.
    const QString converted = ShiftJis::leftBytes(ToHalfWidth(text), 65536);
    QString out;
    for (QChar c : converted) {
        if (c.unicode() < 0x80 && IsNumberChar(c, digitsOnly))
            out.append(c);
    }
    return out;
}

namespace {

QString resolveProgram(const QString &name)
{
    QStringList candidates{name};
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        candidates << name.left(name.size() - 4);
    for (const QString &candidate : candidates) {
        if (candidate.contains(QLatin1Char('/'))) {
            if (QFileInfo(candidate).isExecutable())
                return candidate;
            continue;
        }
        const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(candidate);
        if (QFileInfo(beside).isExecutable() && QFileInfo(beside).isFile())
            return beside;
        const QString onPath = QStandardPaths::findExecutable(candidate);
        if (!onPath.isEmpty())
            return onPath;
    }
    return {};
}

} // namespace

int RunAndWait(const QString &commandLine, const QString &folder, int showMode)
{
    Q_UNUSED(showMode); // there is no start-up window state to hand over here
    int exitCode = -1;
    QStringList words = QProcess::splitCommand(commandLine);
    const QString program = words.isEmpty() ? QString() : resolveProgram(words.takeFirst());
    if (!program.isEmpty()) {
        QProcess process;
        process.setProgram(program);
        process.setArguments(words);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        if (!folder.isEmpty())
            process.setWorkingDirectory(folder);
        process.start();
        if (process.waitForStarted(10000)) {
            // Keep the windows painted but take no input until the child ends.
            while (!process.waitForFinished(30)) {
                if (process.state() == QProcess::NotRunning)
                    break;
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
            exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : 1;
        }
    }
    QCoreApplication::processEvents();
    return exitCode;
}

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

QString GetComputerNameText()
{
    return QSysInfo::machineHostName().left(16);
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

bool VariantIsOne(const QVariant &value)
{
    return value.toString() == QLatin1String("1");
}
