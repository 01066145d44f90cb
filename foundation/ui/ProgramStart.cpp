#include "ProgramStart.h"

#include "TambrelApplication.h"
#include "UiScript.h"
#include "TerminationSignals.h"
#include "app/Messages.h"
#include "db/Database.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QMainWindow>

namespace ProgramStart {

void installFontSubstitutions()
{
    // The layouts and settings name the Windows faces; the IPA fonts stand in.
    const QStringList mincho{QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝"),
                             QStringLiteral("IPAexMincho")};
    const QStringList pmincho{QStringLiteral("IPAPMincho"), QStringLiteral("IPAP明朝"),
                              QStringLiteral("IPAMincho")};
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                             QStringLiteral("IPAexGothic")};
    const QStringList pgothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPAPゴシック"),
                              QStringLiteral("IPAGothic")};
    const struct
    {
        const char16_t *face;
        const QStringList *subst;
    } table[] = {
        {u"ＭＳ 明朝", &mincho},
        {u"MS Mincho", &mincho},
        {u"ＭＳ Ｐ明朝", &pmincho},
        {u"MS PMincho", &pmincho},
        {u"ＭＳ ゴシック", &gothic},
        {u"MS Gothic", &gothic},
        {u"ＭＳ Ｐゴシック", &pgothic},
        {u"MS PGothic", &pgothic},
        {u"ＭＳ ＵＩ Ｇｏｔｈｉｃ", &pgothic},
        {u"MS UI Gothic", &pgothic},
        {u"@ＭＳ 明朝", &mincho},
        {u"@ＭＳ ゴシック", &gothic},
    };
    for (const auto &entry : table)
        QFont::insertSubstitutions(QString::fromUtf16(entry.face), *entry.subst);
}

void setTitle(const QString &title)
{
    QApplication::setApplicationDisplayName(title);
    Messages::setTitle(title);
}

int Run(int argc, char **argv, const Program &program)
{
    TambrelApplication app(argc, argv);
    QApplication::setApplicationName(program.name);
    installFontSubstitutions();
    if (program.beforeSettings)
        program.beforeSettings();
    LoadSettings();
    if (program.afterSettings)
        program.afterSettings();
    setTitle(program.title);
    int rc = 0;
    {
        QStringList arguments = QApplication::arguments();
        if (!arguments.isEmpty())
            arguments.removeFirst();
        const std::unique_ptr<QMainWindow> window = program.createMainWindow(arguments);
        window->show();
        UiScript::startFromEnvironment(program.name);
        TerminationSignals::install(window.get());
        rc = app.exec();
    }
    Database::shutdownEngine();
    return rc;
}

} // namespace ProgramStart
