#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A suite folder made by cmake --install, and the real programs in it run
// as separate processes under scripts (offscreen), as a clerk would use them.
class InstalledSuite
{
public:
    InstalledSuite();

    // Empty when the suite is ready, else what went wrong.
    const QString &error() const { return m_error; }
    QString folder() const { return m_dir.filePath(QStringLiteral("suite")); }
    QString home() const { return m_dir.filePath(QStringLiteral("home")); }
    QString documents() const { return home() + QStringLiteral("/Documents"); }
    QString database() const { return folder() + QStringLiteral("/Database/TAMBREL.FDB"); }
    QString settingsFile() const { return folder() + QStringLiteral("/TAMBREL.ini"); }

    // SQL through isql (so this process never holds the embedded database);
    // returns the output rows, one trimmed string per row (a query that
    // wants several values joins them itself). Throws std::runtime_error
    // when isql fails.
    QStringList sql(const QString &statements, const QString &database = QString()) const;

    struct Run
    {
        int exitCode = -1;
        QString output;
        QStringList failures; // the "FAIL step: reason" lines of the log
        QString log;          // the whole script log
    };
    // Runs program (in the suite folder) with arguments from workDir; the
    // scripts map a program name to its script text. Runs at the same time
    // need tags of their own (for their scripts and logs).
    Run run(const QString &program, const QStringList &arguments, const QString &workDir,
            const QMap<QString, QString> &scripts, int timeoutSeconds = 240,
            const QMap<QString, QString> &environment = {}, const QString &tag = {}) const;

private:
    QTemporaryDir m_dir;
    QString m_error;
};

// The boxes of an overlay file (its B records) in 0.1 mm.
struct OverlayBox
{
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
QList<OverlayBox> overlayBoxes(const QString &overlayFile);

// Whether each value is printed in the PDF inside a box of the overlay;
// returns the values that are not.
QStringList valuesOutsideBoxes(const QString &pdfFile, const QString &overlayFile,
                               const QStringList &values, int *pages);
