#include "PrintCommandLine.h"

#include "PrintJob.h"
#include "Printout.h"
#include "PrintoutTexts.h"
#include "SlipComposition.h"
#include "VDBPrint.h"
#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "app/Messages.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/EditableResultSet.h"
#include "db/Transaction.h"
#include "settings/Settings.h"
#include "ui/ProgramStart.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace T = PrintoutTexts;

namespace {

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
    QString marked;
    bool markedGiven = false;
    QString commandFile;
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
                return T::CliNeedsFile.arg(a);
        } else if (a == QLatin1String("--pdf")) {
            if (!value(o.pdf))
                return T::CliNeedsFile.arg(a);
        } else if (a == QLatin1String("--command-file")) {
            if (!value(o.commandFile))
                return T::CliNeedsFile.arg(a);
        } else if (a == QLatin1String("--marked")) {
            o.markedGiven = true;
            if (!value(o.marked))
                return T::CliNeedsName.arg(a);
        } else if (a == QLatin1String("--printer")) {
            if (!value(o.printer))
                return T::CliNeedsName.arg(a);
        } else if (a == QLatin1String("--left") || a == QLatin1String("--top") ||
                   a == QLatin1String("--paper")) {
            if (!value(v) || !parseInt(v))
                return T::CliNeedsInteger.arg(a);
            (a == QLatin1String("--left")  ? o.left
             : a == QLatin1String("--top") ? o.top
                                           : o.paper) = *parseInt(v);
        } else if (a.startsWith(QLatin1String("--"))) {
            return T::CliUnknownOption + a;
        } else if (o.data.isEmpty()) {
            o.data = a;
        } else {
            return T::CliTwoDataFiles;
        }
    }
    if (o.markedGiven && !o.data.isEmpty())
        return T::CliDataAndMarked;
    if (!o.markedGiven && !o.commandFile.isEmpty())
        return T::CliCommandFileNeedsMarked;
    if (o.data.isEmpty() && !o.markedGiven)
        return T::CliNoDataFile;
    if (o.pdf.isEmpty() == o.printer.isEmpty())
        return T::CliPdfOrPrinter;
    return {};
}

// Scripts read stderr for our one line; Qt's own chatter stays out of it.
void quietQt(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

int printFile(const Options &o, TVDBPrint &printer, StderrMessages &messages)
{
    for (const QString &path : {o.data, o.form}) {
        if (!path.isEmpty() && !QFileInfo(path).isFile()) {
            printLine(T::CliNoSuchFile + path);
            return 1;
        }
    }
    try {
        const PrintOutcome outcome =
            PrintWithoutDialogs(printer, o.form, o.data, 0, 0, o.top, o.left, o.printForm ? 1 : 0);
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

// The marked slips of one slip type, composed as the print-out program does
// and printed with this computer's offsets for it. Nothing is cleared.
int printMarked(const Options &o, TVDBPrint &printer, StderrMessages &messages)
{
    if (!LoadSettings())
        return 1;
    Database database;
    Transaction transaction;
    try {
        ConnectDatabase(database, transaction);
    } catch (const AppError &) {
        printLine(T::CliNoDatabase + settings().F_DbPath);
        return 1;
    }
    QTemporaryDir scratch;
    try {
        EditableResultSet rows;
        rows.setTransaction(&transaction);
        rows.setReadOnly(true);
        rows.setSql(QStringLiteral("SELECT * FROM TAMBRELSET"));
        rows.open();
        const QString name = o.marked.trimmed();
        const QString denName = QStringLiteral("DENNAME");
        if (name.isEmpty() || !rows.Locate(denName, name)) {
            printLine(T::CliUnknownSlipType + name);
            return 1;
        }
        SlipLayout layout = SlipLayout::read(rows);
        layout.formName = layout.formName.isEmpty()
                              ? QString()
                              : QDir(settings().ProgramFolder).filePath(layout.formName);
        ComposeJob job;
        job.batch = true;
        // This computer's offsets and paper; without its row, the layout row's.
        rows.Locate(denName, settings().ComputerName + name);
        job.leftOffset = rows.value(QStringLiteral("LEFT_M")).toInt();
        job.topOffset = rows.value(QStringLiteral("TOP_M")).toInt();
        const int storedPaper = rows.value(QStringLiteral("PAPERTYPE")).toInt();
        if (o.paper > 0)
            job.paperCode = o.paper;
        else if (storedPaper > 0 && printer.SetPaperSize(storedPaper))
            job.paperCode = storedPaper;
        else
            job.paperCode = printer.GetPaperSize();

        EditableResultSet slips;
        slips.setTransaction(&transaction);
        slips.setReadOnly(true);
        slips.setSql(QStringList{QStringLiteral("SELECT * FROM TAMBREL"),
                                 QStringLiteral("WHERE (PRINTOUT = 1)")});
        slips.open();
        if (slips.isEmpty()) {
            printLine(T::CliNoMarkedSlip);
            return 1;
        }
        job.dataFile = o.commandFile.isEmpty() ? scratch.filePath(QStringLiteral("Prntmpp.tmp"))
                                               : o.commandFile;
        SetLastPrintOutcome(PrintOutcome::NotStarted);
        ComposePrintData(layout, slips, job);
        Messages::setHandler(nullptr);
        if (LastPrintOutcome() != PrintOutcome::Printed)
            return 1;
    } catch (const AppError &e) {
        Messages::setHandler(nullptr);
        printLine(e.message());
        return 1;
    } catch (const DbError &e) {
        Messages::setHandler(nullptr);
        printLine(e.text());
        return 1;
    } catch (const std::exception &e) {
        Messages::setHandler(nullptr);
        printLine(QString::fromLocal8Bit(e.what()));
        return 1;
    }
    return messages.errors() == 0 ? 0 : 1;
}

} // namespace

namespace PrintCommandLine {

void prepareEnvironment()
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
}

int run(QApplication &)
{
    QApplication::setApplicationName(QStringLiteral("tambrel-print"));
    ProgramStart::installFontSubstitutions();
    StderrMessages messages;
    Messages::setHandler(&messages);

    Options o;
    const QString error = parse(QApplication::arguments(), o);
    if (!error.isEmpty()) {
        Messages::setHandler(nullptr);
        printLine(error);
        std::fprintf(stderr, "%s\n", T::CliUsage.toUtf8().constData());
        return 2;
    }

    TVDBPrint &printer = VDBPrint();
    if (!o.printer.isEmpty()) {
        if (!printer.selectPrinter(o.printer)) {
            Messages::setHandler(nullptr);
            printLine(T::CliUnknownPrinter + o.printer);
            return 1;
        }
    } else {
        printer.selectPdf(o.pdf);
    }
    if (o.paper > 0 && !printer.SetPaperSize(o.paper)) {
        Messages::setHandler(nullptr);
        printLine(T::CliUnknownPaper + QString::number(o.paper));
        return 1;
    }
    printer.setLandscape(false);
    const int rc =
        o.markedGiven ? printMarked(o, printer, messages) : printFile(o, printer, messages);
    Messages::setHandler(nullptr);
    return rc;
}

} // namespace PrintCommandLine
