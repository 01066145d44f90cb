#include "ExportCommandLine.h"

#include "ExportColumns.h"
#include "ExportSession.h"
#include "ExportTexts.h"
#include "SheetWriter.h"
#include "app/AppError.h"
#include "app/Messages.h"
#include "db/Database.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {

const char kProgram[] = "tambrel-export";

void printLine(const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "%s: %s\n", kProgram, line.trimmed().toUtf8().constData());
}

// A message meant for a box becomes a line on stderr.
class StderrMessages : public MessageHandler
{
public:
    MsgResult showMessage(const MessageRequest &request) override
    {
        printLine(request.text);
        ++m_shown;
        return MsgResult::Ok;
    }
    bool inputQuery(const InputRequest &, QString &) override { return false; }
    int shown() const { return m_shown; }

private:
    int m_shown = 0;
};

struct Options
{
    bool masters = false;
    int masterChoice = 0;
    ExportConditions conditions;
    bool dateKindGiven = false;
    QString from;
    QString to;
    QString out;
    bool verbose = false;
};

std::optional<int> parseIndex(const QString &text, int count)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < 0 || v >= count)
        return std::nullopt;
    return v;
}

// An error text, or empty when the arguments are good.
QString parse(const QStringList &args, Options &o)
{
    if (args.size() < 2)
        return QStringLiteral("no export named");
    const QString &mode = args.at(1);
    if (mode == QLatin1String("masters"))
        o.masters = true;
    else if (mode != QLatin1String("slips"))
        return QStringLiteral("unknown export ") + mode;
    QStringList positional;
    QString dateKind;
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const auto value = [&](QString &out) {
            if (i + 1 >= args.size())
                return false;
            out = args.at(++i);
            return true;
        };
        QString v;
        if (a == QLatin1String("--verbose")) {
            o.verbose = true;
        } else if (o.masters && a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option ") + a;
        } else if (a == QLatin1String("--format")) {
            std::optional<int> f;
            if (!value(v) || !(f = parseIndex(v, kFormatCount)))
                return QStringLiteral("--format needs 0 or 1");
            o.conditions.format = *f;
        } else if (a == QLatin1String("--date-kind")) {
            if (!value(dateKind))
                return QStringLiteral("--date-kind needs a number");
            o.dateKindGiven = true;
        } else if (a == QLatin1String("--from") || a == QLatin1String("--to")) {
            if (!value(a == QLatin1String("--from") ? o.from : o.to))
                return a + QStringLiteral(" needs a date YYMMDD");
        } else if (a == QLatin1String("--company")) {
            if (!value(o.conditions.companyName))
                return QStringLiteral("--company needs a name");
        } else if (a == QLatin1String("--store")) {
            if (!value(o.conditions.storeName))
                return QStringLiteral("--store needs a name");
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option ") + a;
        } else {
            positional.append(a);
        }
    }
    if (o.masters) {
        if (positional.size() != 2)
            return QStringLiteral("give the master table (0, 1 or 2) and the output file");
        const std::optional<int> choice = parseIndex(positional.at(0), kMasterCount);
        if (!choice)
            return QStringLiteral("the master table is 0, 1 or 2");
        o.masterChoice = *choice;
        o.out = positional.at(1);
        return {};
    }
    if (positional.size() != 1)
        return QStringLiteral("give one output file");
    o.out = positional.at(0);
    if (o.dateKindGiven) {
        const std::optional<int> kind =
            parseIndex(dateKind, static_cast<int>(ExportDateKinds(o.conditions.format).size()));
        if (!kind)
            return QStringLiteral("no date kind %1 in format %2")
                .arg(dateKind)
                .arg(o.conditions.format);
        o.conditions.dateKind = *kind;
    }
    const bool dated = o.conditions.dateKind > 0;
    if (dated && (o.from.isEmpty() || o.to.isEmpty()))
        return QStringLiteral("--date-kind needs --from and --to");
    if (!dated && (!o.from.isEmpty() || !o.to.isEmpty()))
        return QStringLiteral("--from and --to need a --date-kind other than 0");
    return {};
}

// YYMMDD with a month 01 to 12 and a day 01 to 31.
bool goodDate(const QString &text)
{
    if (text.size() != 6)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const int month = text.mid(2, 2).toInt();
    const int day = text.mid(4, 2).toInt();
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// Qt's own chatter stays out of the one line on stderr.
void quietQt(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

int run(const Options &o, const StderrMessages &messages)
{
    // The settings load says what is wrong (a database not found, a file
    // that cannot be read); that line is the tool's answer.
    if (!LoadSettings() || messages.shown() > 0)
        return 1;
    ExportSession session;
    QStringList headers;
    bool rows = false;
    try {
        if (o.masters) {
            headers = MasterExportOf(o.masterChoice).headers;
            rows = session.openMaster(o.masterChoice);
        } else {
            headers = ExportHeaders(o.conditions.format);
            rows = session.openSlips(o.conditions);
        }
    } catch (const AppError &e) {
        printLine(e.message() + QStringLiteral(": ") + e.detail());
        return 1;
    }
    if (!rows) {
        printLine(QString::fromUtf16(ExportTexts::kNoData));
        return 1;
    }
    SheetOptions sheet;
    sheet.trueText = QString::fromUtf16(ExportTexts::kTrueText);
    sheet.falseText = QString::fromUtf16(ExportTexts::kFalseText);
    SheetOutcome outcome;
    try {
        outcome =
            SheetWriter::write(session.IBQuery1(), &headers, sheet,
                               QFileInfo(o.out).absoluteFilePath(), SheetWriter::Existing::Replace);
    } catch (const SheetError &e) {
        printLine(e.message() + QStringLiteral(": ") + e.detail());
        return 1;
    }
    session.close();
    if (o.verbose)
        std::printf("%lld rows: %s\n", static_cast<long long>(outcome.rows),
                    outcome.path.toUtf8().constData());
    return 0;
}

} // namespace

int RunExportCommandLine(int argc, char **argv)
{
    qInstallMessageHandler(quietQt);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(kProgram));
    StderrMessages messages;
    Messages::setHandler(&messages);

    Options o;
    const QString error = parse(QCoreApplication::arguments(), o);
    if (!error.isEmpty()) {
        printLine(error);
        std::fprintf(stderr, "%s\n", ExportTexts::kUsage);
        return 2;
    }
    if (!o.masters) {
        for (const QString &date : {o.from, o.to}) {
            if (!date.isEmpty() && !goodDate(date)) {
                printLine(QStringLiteral("bad date: ") + date);
                return 1;
            }
        }
        o.conditions.startYear = o.from.mid(0, 2);
        o.conditions.startMonth = o.from.mid(2, 2);
        o.conditions.startDay = o.from.mid(4, 2);
        o.conditions.endYear = o.to.mid(0, 2);
        o.conditions.endMonth = o.to.mid(2, 2);
        o.conditions.endDay = o.to.mid(4, 2);
    }
    const int rc = run(o, messages);
    Messages::setHandler(nullptr);
    Database::shutdownEngine();
    return rc;
}
