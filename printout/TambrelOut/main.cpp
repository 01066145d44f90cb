#include "TambrelOutForm.h"
#include "app/ProgramStart.h"
#include "app/TambrelApplication.h"
#include "db/Database.h"
#include "settings/Settings.h"

int main(int argc, char **argv)
{
    TambrelApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TambrelOut"));
    ProgramStart::installFontSubstitutions();
    LoadSettings();
    const QStringList args = QApplication::arguments();
    int rc = 0;
    {
        TTambrelOutForm form(args.size() > 1 ? args.at(1) : QString());
        ProgramStart::setTitle(QStringLiteral("伝票印刷"));
        rc = ProgramStart::run(app, form);
    }
    Database::shutdownEngine();
    return rc;
}
