// tambrel-settings: loads TAMBREL.ini beside the programs exactly as every
// program does at start-up (writing back each missing key with its default)
// and prints what the suite will use. For set-up scripts and machines
// without a display.

#include "app/Messages.h"
#include "db/Database.h"
#include "settings/Settings.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// Messages go to the terminal here; there is no one to click a box.
class ConsoleMessages : public MessageHandler
{
public:
    MsgResult showMessage(const MessageRequest &request) override
    {
        QString text = request.text;
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        std::fprintf(stderr, "tambrel-settings: %s\n", text.toLocal8Bit().constData());
        return (request.buttons & MsgButton::Yes) ? MsgResult::Yes : MsgResult::Ok;
    }
    bool inputQuery(const InputRequest &, QString &) override { return false; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ConsoleMessages console;
    Messages::setHandler(&console);
    const bool ok = LoadSettings();
    const TambrelSettings &s = settings();
    std::printf("settings file: %s\n", s.SettingsFilePath.toLocal8Bit().constData());
    std::printf("database:      %s\n", s.F_DbPath.toLocal8Bit().constData());
    std::printf("computer name: %s\n", s.ComputerName.toLocal8Bit().constData());
    std::printf("embedded:      %s\n", s.EmbeddedServerPresent ? "yes" : "no");
    Messages::setHandler(nullptr);
    Database::shutdownEngine();
    return ok ? 0 : 1;
}
