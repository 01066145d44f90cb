// tambrel-print: prints a command file without dialogs, for scripts and test prints.
#include "CommandFile.h"
#include "PrintJob.h"
#include "Printout.h"
#include "VDBPrint.h"
#include "app/Messages.h"
#include "ui/ProgramStart.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const char Usage[] = "usage: tambrel-print DATA [--form FILE] [--print-form] [--left N] [--top N] "
                     "[--paper CODE] (--pdf OUT | --printer NAME)";

void printLine(const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "tambrel-print: %s\n", line.toUtf8().constData());
}

// Message boxes become lines on stderr; questions get their first answer.
class StderrMessages : public MessageHandler
{
public:
    MsgResult showMessage(const MessageRequest &request) override
    {
        printLine(request.text);
        ++m_errors;
        if (request.buttons & MsgButton::Yes)
            return MsgResult::Yes;
        return MsgResult::Ok;
    }
    bool inputQuery(const InputRequest &, QString &) override { return false; }
    int errors() const { return m_errors; }

private:
    int m_errors = 0;
};

struct Options
{
    QString data;
    QString form;
    bool printForm = false;
    int left = 0;
    int top = 0;
    int paper = 0;
    QString pdf;
    QString printer;
};

std::optional<int> parseInt(const QString &text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

// Returns an error text, or an empty one when the arguments are good.
QString parse(const QStringList &args, Options &o)
{
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const auto value = [&](QString &out) {
            if (i + 1 >= args.size())
                return false;
            out = args.at(++i);
            return true;
        };
        QString v;
        if (a == QLatin1String("--print-form")) {
            o.printForm = true;
        } else if (a == QLatin1String("--form")) {
            if (!value(o.form))
                return QStringLiteral("--form needs a file");
        } else if (a == QLatin1String("--pdf")) {
            if (!value(o.pdf))
                return QStringLiteral("--pdf needs a file");
        } else if (a == QLatin1String("--printer")) {
            if (!value(o.printer))
                return QStringLiteral("--printer needs a name");
        } else if (a == QLatin1String("--left") || a == QLatin1String("--top") ||
                   a == QLatin1String("--paper")) {
            if (!value(v) || !parseInt(v))
                return a + QStringLiteral(" needs an integer");
            (a == QLatin1String("--left")  ? o.left
             : a == QLatin1String("--top") ? o.top
                                           : o.paper) = *parseInt(v);
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option ") + a;
        } else if (o.data.isEmpty()) {
            o.data = a;
        } else {
            return QStringLiteral("more than one data file");
        }
    }
    if (o.data.isEmpty())
        return QStringLiteral("no data file");
    if (o.pdf.isEmpty() == o.printer.isEmpty())
        return QStringLiteral("give one of --pdf and --printer");
    return {};
}

// Scripts read stderr for our one line; Qt's own chatter stays out of it.
void quietQt(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietQt);
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // What Qt would fall back to, without its warning on our stderr.
        const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/runtime-" +
                               QByteArray::number(static_cast<qulonglong>(getuid()));
        if (QDir().mkpath(QString::fromLocal8Bit(dir)) && chmod(dir.constData(), 0700) == 0)
            qputenv("XDG_RUNTIME_DIR", dir);
    }
    // Printing needs no screen; run headless when there is none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tambrel-print"));
    ProgramStart::installFontSubstitutions();
    StderrMessages messages;
    Messages::setHandler(&messages);

    Options o;
    const QString error = parse(QApplication::arguments(), o);
    if (!error.isEmpty()) {
        printLine(error);
        std::fprintf(stderr, "%s\n", Usage);
        return 2;
    }
    for (const QString &path : {o.data, o.form}) {
        if (!path.isEmpty() && !QFileInfo(path).isFile()) {
            printLine(QStringLiteral("no such file: ") + path);
            return 1;
        }
    }

    TVDBPrint &printer = VDBPrint();
    if (!o.printer.isEmpty()) {
        if (!printer.selectPrinter(o.printer)) {
            printLine(QStringLiteral("unknown printer: ") + o.printer);
            return 1;
        }
    } else {
        printer.selectPdf(o.pdf);
    }
    if (o.paper > 0 && !printer.SetPaperSize(o.paper)) {
        printLine(QStringLiteral("unknown paper code: ") + QString::number(o.paper));
        return 1;
    }
    printer.setLandscape(false);

    InterpreterState &s = PrintoutState();
    s.cancelled = false;
    s.formPath = o.form;
    s.dataPath = o.data;
    s.leftOffset = o.left;
    s.topOffset = o.top;
    s.printForm = o.printForm ? 1 : 0;

    PrintRange range;
    try {
        range.maxPage = CountPages(o.data);
        PrintJob job(printer, range);
        const PrintOutcome outcome = job.run();
        Messages::setHandler(nullptr);
        if (outcome != PrintOutcome::Printed)
            return 1;
    } catch (const std::exception &e) {
        Messages::setHandler(nullptr);
        printLine(QString::fromLocal8Bit(e.what()));
        return 1;
    }
    return messages.errors() == 0 ? 0 : 1;
}
