#include "KivFunc.h"

#include "ShiftJis.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>

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

QString GetComputerNameText()
{
    return QSysInfo::machineHostName().left(16);
}

bool VariantIsOne(const QVariant &value)
{
    return value.toString() == QLatin1String("1");
}
