// tambrel-settings: loads TAMBREL.ini beside the programs exactly as every
// program does at start-up (writing back each missing key with its default)
// and prints what the suite will use. For set-up scripts and machines
// without a display. Its messages go to stderr.

#include "db/Database.h"
#include "settings/Settings.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool ok = LoadSettings();
    const TambrelSettings &s = settings();
    std::printf("settings file: %s\n", s.SettingsFilePath.toLocal8Bit().constData());
    std::printf("database:      %s\n", s.F_DbPath.toLocal8Bit().constData());
    std::printf("computer name: %s\n", s.ComputerName.toLocal8Bit().constData());
    std::printf("embedded:      %s\n", s.EmbeddedServerPresent ? "yes" : "no");
    Database::shutdownEngine();
    return ok ? 0 : 1;
}
