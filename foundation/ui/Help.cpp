#include "Help.h"
#include "UiTexts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString g_folder;
QPointer<QDialog> g_window;

} // namespace

namespace Help {

void setHelpFolder(const QString &folder)
{
    g_folder = folder;
}

QString helpFolder()
{
    if (!g_folder.isEmpty())
        return g_folder;
    // An installed suite has help/ beside the programs; a build tree keeps
    // the pages with the other data files.
    const QDir dir(QCoreApplication::applicationDirPath());
    const QString installed = dir.filePath(QStringLiteral("help"));
    if (QFileInfo(installed).isDir())
        return installed;
    const QString built = dir.filePath(QStringLiteral("data/help"));
    if (QFileInfo(built).isDir())
        return built;
    return installed;
}

QString pageForContext(int context)
{
    const QDir dir(helpFolder());
    const QString page = dir.filePath(QStringLiteral("%1.html").arg(context));
    if (context != 0 && QFileInfo::exists(page))
        return page;
    return dir.filePath(QStringLiteral("index.html"));
}

void showContext(int context)
{
    if (!g_window) {
        g_window = new QDialog(nullptr, Qt::Window);
        g_window->setAttribute(Qt::WA_DeleteOnClose);
        g_window->setWindowTitle(QString::fromUtf8(kHelpWindowTitle));
        g_window->resize(720, 560);
        auto *layout = new QVBoxLayout(g_window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *browser = new QTextBrowser(g_window);
        browser->setObjectName(QStringLiteral("HelpBrowser"));
        browser->setOpenLinks(true);
        layout->addWidget(browser);
    }
    auto *browser = g_window->findChild<QTextBrowser *>(QStringLiteral("HelpBrowser"));
    browser->setSource(QUrl::fromLocalFile(pageForContext(context)));
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
}

} // namespace Help
