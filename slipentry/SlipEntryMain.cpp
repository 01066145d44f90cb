#include "SlipEntryMain.h"

#include "TambrelForm.h"
#include "settings/Settings.h"
#include "ui/ProgramStart.h"

#include <QMainWindow>

int SlipEntryMain(int argc, char **argv, SlipType type)
{
    const SlipTypeInfo &info = slipTypeInfo(type);
    ProgramStart::Program program;
    program.name = QString::fromLatin1(info.program);
    program.title = QString::fromUtf16(info.title);
    program.beforeSettings = [&info] { SetOneLineMode(info.oneLineMode); };
    program.createMainWindow = [type](const QStringList &arguments) {
        return std::make_unique<TambrelForm>(type, arguments.value(0));
    };
    return ProgramStart::Run(argc, argv, program);
}
