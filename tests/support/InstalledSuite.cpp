#include "InstalledSuite.h"

#include "PdfWords.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <stdexcept>

namespace {

QString runQuiet(const QString &program, const QStringList &arguments, int *exitCode,
                 const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
                 const QString &workDir = QString(), int timeoutSeconds = 300)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(program, arguments);
    if (!p.waitForStarted(10000)) {
        *exitCode = -1;
        return QStringLiteral("cannot start ") + program;
    }
    if (!p.waitForFinished(timeoutSeconds * 1000)) {
        p.kill();
        p.waitForFinished(5000);
        *exitCode = -2;
        return QString::fromLocal8Bit(p.readAll()) + QStringLiteral("\n(timed out)");
    }
    *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -3;
    return QString::fromLocal8Bit(p.readAll());
}

} // namespace

InstalledSuite::InstalledSuite()
{
    int rc = 0;
    const QString out = runQuiet(QStringLiteral("cmake"),
                                 {QStringLiteral("--install"), QStringLiteral(TAMBREL_BUILD_DIR),
                                  QStringLiteral("--prefix"), folder()},
                                 &rc);
    if (rc != 0) {
        m_error = QStringLiteral("cmake --install: ") + out;
        return;
    }
    QDir().mkpath(documents());
    // The settings file as the first start writes it.
    const QString settingsOut = runQuiet(folder() + QStringLiteral("/tambrel-settings"), {}, &rc);
    if (rc != 0)
        m_error = QStringLiteral("tambrel-settings: ") + settingsOut;
}

QStringList InstalledSuite::sql(const QString &statements, const QString &database) const
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(QStringLiteral("isql-fb"),
            {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("UTF8"),
             QStringLiteral("-user"), QStringLiteral("sysdba"), QStringLiteral("-password"),
             QStringLiteral("quillfern"), database.isEmpty() ? this->database() : database});
    if (!p.waitForStarted(10000))
        throw std::runtime_error("isql-fb does not start");
    p.write(("SET HEADING OFF;\nSET LIST OFF;\n" + statements + "\nCOMMIT;\nQUIT;\n").toUtf8());
    p.closeWriteChannel();
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        throw std::runtime_error(("isql-fb: " + QString::fromUtf8(p.readAllStandardError()) +
                                  QString::fromUtf8(p.readAllStandardOutput()))
                                     .toStdString());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    if (!err.trimmed().isEmpty())
        throw std::runtime_error(("isql-fb: " + err).toStdString());
    QStringList rows;
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n')) {
        const QString t = line.trimmed();
        if (t.isEmpty())
            continue;
        rows << t;
    }
    return rows;
}

InstalledSuite::Run InstalledSuite::run(const QString &program, const QStringList &arguments,
                                        const QString &workDir,
                                        const QMap<QString, QString> &scripts, int timeoutSeconds,
                                        const QMap<QString, QString> &environment,
                                        const QString &tag) const
{
    const QString log = m_dir.filePath(QStringLiteral("ui%1.log").arg(tag));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home());
    env.remove(QStringLiteral("XDG_DOCUMENTS_DIR"));
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    env.remove(QStringLiteral("TAMBREL_UI_SCRIPT"));
    env.insert(QStringLiteral("TAMBREL_UI_LOG"), log);
    for (auto it = scripts.begin(); it != scripts.end(); ++it) {
        const QString path = m_dir.filePath(it.key() + tag + QStringLiteral(".script"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(it.value().toUtf8()) < 0)
            throw std::runtime_error("cannot write a script");
        env.insert(QStringLiteral("TAMBREL_UI_SCRIPT_") + it.key(), path);
    }
    for (auto it = environment.begin(); it != environment.end(); ++it)
        env.insert(it.key(), it.value());
    QFile::remove(log);

    Run r;
    r.output =
        runQuiet(folder() + u'/' + program, arguments, &r.exitCode, env, workDir, timeoutSeconds);
    QFile f(log);
    if (f.open(QIODevice::ReadOnly))
        r.log = QString::fromUtf8(f.readAll());
    for (const QString &line : r.log.split(u'\n')) {
        if (line.contains(QStringLiteral(": FAIL ")))
            r.failures << line;
    }
    return r;
}

QList<OverlayBox> overlayBoxes(const QString &overlayFile)
{
    QList<OverlayBox> boxes;
    QFile f(overlayFile);
    if (!f.open(QIODevice::ReadOnly))
        return boxes;
    for (const QByteArray &raw : f.readAll().split('\n')) {
        const QByteArray line = raw.trimmed();
        if (!line.startsWith('B') && !line.startsWith('b'))
            continue;
        const QList<QByteArray> f4 = line.mid(1).split(';');
        if (f4.size() < 4)
            continue;
        OverlayBox b{f4[0].toInt(), f4[1].toInt(), f4[2].toInt(), f4[3].toInt()};
        boxes << b;
    }
    return boxes;
}

QStringList valuesOutsideBoxes(const QString &pdfFile, const QString &overlayFile,
                               const QStringList &values, int *pages)
{
    const PdfContent pdf = readPdf(pdfFile);
    if (pages)
        *pages = pdf.pages;
    const QList<OverlayBox> boxes = overlayBoxes(overlayFile);
    QStringList outside;
    for (const QString &value : values) {
        bool inside = false;
        for (const PdfWord &w : pdf.words) {
            if (!w.text.contains(value))
                continue;
            // The word's middle, in 0.1 mm, inside a box of the form.
            const double x = (w.xMin + w.xMax) / 2 / PointsPerMm * 10;
            const double y = (w.yMin + w.yMax) / 2 / PointsPerMm * 10;
            for (const OverlayBox &b : boxes) {
                if (x > b.x1 && x < b.x2 && y > b.y1 && y < b.y2) {
                    inside = true;
                    break;
                }
            }
            if (inside)
                break;
        }
        if (!inside)
            outside << value;
    }
    return outside;
}
