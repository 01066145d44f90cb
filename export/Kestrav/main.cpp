#include "KestravForm.h"
#include "app/ProgramStart.h"
#include "app/TambrelApplication.h"
#include "db/Database.h"
#include "settings/Settings.h"

int main(int argc, char **argv)
{
    TambrelApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrav"));
    ProgramStart::installFontSubstitutions();
    LoadSettings();
    ProgramStart::setTitle(QStringLiteral("エクスポート"));
    int rc = 0;
    {
        TKestravForm form;
        rc = ProgramStart::run(app, form);
    }
    Database::shutdownEngine();
    return rc;
}
