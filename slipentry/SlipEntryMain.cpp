#include "SlipEntryMain.h"

#include "TambrelForm.h"
#include "app/ProgramStart.h"
#include "app/TambrelApplication.h"
#include "db/Database.h"
#include "settings/Settings.h"
#include "ui/Help.h"

int SlipEntryMain(int argc, char **argv, SlipType type)
{
    const SlipTypeInfo &info = slipTypeInfo(type);
    SetOneLineMode(info.oneLineMode);
    TambrelApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(info.program));
    ProgramStart::installFontSubstitutions();
    LoadSettings();
    ProgramStart::setTitle(QString::fromUtf16(info.title));
    const QStringList args = QApplication::arguments();
    const QString picture = args.size() > 1 ? args.at(1) : QString();
    int rc = 0;
    {
        TambrelForm form(type, picture);
        rc = ProgramStart::run(app, form);
    }
    Database::shutdownEngine();
    return rc;
}
