#include "CommonOffice.h"

#include "ExportTexts.h"
#include "app/Messages.h"
#include "db/Query.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QUrl>

#include <memory>

namespace {

SpreadsheetOpener g_opener;
int g_progressDelay = 500;
QString g_lastPath;

bool openWithDesktop(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

class OverrideCursor
{
public:
    OverrideCursor()
    {
        if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            m_set = true;
        }
    }
    ~OverrideCursor()
    {
        if (m_set)
            QApplication::restoreOverrideCursor();
    }
    OverrideCursor(const OverrideCursor &) = delete;
    OverrideCursor &operator=(const OverrideCursor &) = delete;

private:
    bool m_set = false;
};

QString outputFolder(const ExcelArguments &a)
{
    QString folder = a.outputFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    if (!QDir().mkpath(folder))
        throw SheetError(folder + QStringLiteral(": cannot create the folder"));
    return folder;
}

} // namespace

QString ExportFileName(const QString &exportName, const QDateTime &when)
{
    return exportName + QLatin1Char('_') + when.toString(QStringLiteral("yyyyMMdd_HHmmss")) +
           QStringLiteral(".xlsx");
}

void SetSpreadsheetOpener(SpreadsheetOpener opener)
{
    g_opener = std::move(opener);
}

void SetProgressDelay(int milliseconds)
{
    g_progressDelay = milliseconds;
}

QString LastExportPath()
{
    return g_lastPath;
}

bool QueryToExcel(Query &query, const QStringList *headers, const ExcelArguments &a,
                  QWidget *parent)
{
    using namespace ExportTexts;
    if (a.confirm) {
        const MsgResult answer = Messages::show(
            MsgType::Confirmation,
            Messages::twoPart(QString::fromUtf16(kConfirm1), QString::fromUtf16(kConfirm2)),
            MsgButton::Ok | MsgButton::Cancel, a.helpContext);
        if (answer != MsgResult::Ok)
            return false;
    }

    SheetOutcome outcome;
    {
        OverrideCursor cursor;
        const bool ownFile = !a.fileName.isEmpty();
        const QString path =
            ownFile ? a.fileName
                    : QDir(outputFolder(a))
                          .filePath(ExportFileName(a.exportName, QDateTime::currentDateTime()));

        // The progress dialog appears once the export has run for a moment.
        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<QProgressDialog> dialog;
        const bool gui = qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
        const SheetProgress progress = [&](qint64 rows) {
            if (!gui)
                return true;
            if (!dialog && clock.elapsed() >= g_progressDelay) {
                dialog = std::make_unique<QProgressDialog>(parent);
                dialog->setObjectName(QStringLiteral("ExportProgress"));
                dialog->setWindowTitle(QApplication::applicationDisplayName());
                dialog->setCancelButtonText(QString::fromUtf16(kProgressCancel));
                dialog->setRange(0, 0);
                dialog->setMinimumDuration(0);
                dialog->setWindowModality(Qt::WindowModal);
                dialog->setAutoClose(false);
                dialog->setAutoReset(false);
                dialog->show();
            }
            if (dialog) {
                dialog->setLabelText(QString::fromUtf16(kProgressRows).arg(rows));
                QCoreApplication::processEvents();
                if (dialog->wasCanceled())
                    return false;
            }
            return true;
        };
        outcome = SheetWriter::write(
            query, headers, a.sheet, path,
            ownFile ? SheetWriter::Existing::Replace : SheetWriter::Existing::Keep, progress);
        if (outcome.cancelled)
            return false;
        g_lastPath = outcome.path;
        if (!a.visible || ownFile)
            return true;
    }
    const bool opened = g_opener ? g_opener(outcome.path) : openWithDesktop(outcome.path);
    if (!opened)
        Messages::information(
            Messages::twoPart(QString::fromUtf16(ExportTexts::kSaved1), outcome.path));
    return true;
}
