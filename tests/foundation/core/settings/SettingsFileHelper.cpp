// A program sharing the settings file with others, for the settings tests.
//   settings-file-helper write PATH COUNT SEED   changes keys COUNT times, as
//       saving window places and grid widths does ("W n" after each)
//   settings-file-helper load FOLDER COUNT       loads the settings COUNT
//       times as a program start does, printing "L <F_DbPath>" each time

#include "app/Messages.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cstdio>

namespace {

// A start-up never asks here; any message would be a failure of the test.
class PrintedMessages : public MessageHandler
{
public:
    MsgResult showMessage(const MessageRequest &request) override
    {
        std::printf("M %s\n", qPrintable(request.text));
        return MsgResult::Ok;
    }
    bool inputQuery(const InputRequest &, QString &) override { return false; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: %s write PATH COUNT SEED | load FOLDER COUNT\n", argv[0]);
        return 2;
    }
    PrintedMessages messages;
    Messages::setHandler(&messages);
    const int count = args[3].toInt();
    if (args[1] == QLatin1String("write")) {
        QRandomGenerator random(args.value(4).toUInt());
        for (int i = 0; i < count; ++i) {
            IniFile place(args[2]);
            const QString section = QStringLiteral("Form%1").arg(random.bounded(3));
            for (const char *key : {"Left", "Top", "Width", "Height"})
                place.writeInteger(section, QLatin1String(key), int(random.bounded(2000)));
            const bool placed = place.save();
            const bool grid = WriteIniInteger(args[2], QStringLiteral("Grid"),
                                              QStringLiteral("COL%1").arg(random.bounded(8)),
                                              int(random.bounded(400)));
            std::printf("W %d %s\n", i, placed && grid ? "ok" : "failed");
            std::fflush(stdout);
        }
        return 0;
    }
    if (args[1] == QLatin1String("load")) {
        for (int i = 0; i < count; ++i) {
            TambrelSettings record;
            if (!LoadSettingsInto(record, args[2]))
                std::printf("F load failed\n");
            std::printf("L %s\n", qPrintable(record.F_DbPath));
            std::fflush(stdout);
        }
        return 0;
    }
    return 2;
}
