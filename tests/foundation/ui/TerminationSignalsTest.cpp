// The programs as a desktop ends them: SIGTERM (kill, logout, shutdown) or
// SIGINT (Ctrl+C) must end each within a few seconds, without a question.
#include "TestDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// A program folder of its own: the program file, its slip pictures, a
// database and a settings file naming it.
class SuiteFolder
{
public:
    explicit SuiteFolder(const QString &program)
    {
        const QDir built(QCoreApplication::applicationDirPath());
        const QDir here(m_dir.path());
        m_ok = QFile::copy(built.filePath(program), here.filePath(program));
        here.mkpath(QStringLiteral("Database"));
        here.mkpath(QStringLiteral("FormImages"));
        const QString database = here.filePath(QStringLiteral("Database/TAMBREL.FDB"));
        m_ok = m_ok && QFile::copy(TestDatabase::templatePath(), database);
        const QDir images(built.filePath(QStringLiteral("FormImages")));
        for (const QString &name : images.entryList(QDir::Files))
            QFile::copy(images.filePath(name), here.filePath(QStringLiteral("FormImages/") + name));
        QFile ini(here.filePath(QStringLiteral("TAMBREL.ini")));
        m_ok = m_ok && ini.open(QIODevice::WriteOnly);
        ini.write("[TAMBREL]\r\nF_DbPath=" + QFile::encodeName(database) + "\r\n");
    }
    bool ok() const { return m_ok; }
    QString program(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

} // namespace

TEST(TerminationSignals, EachProgramEndsWithinSecondsOfTheSignal)
{
    const struct
    {
        const char *program;
        int signal;
    } cases[] = {
        {"Tambrel22", SIGTERM},
        {"TambrelOut", SIGTERM},
        {"Kestrav", SIGTERM},
        {"Tambrel22", SIGINT},
    };
    for (const auto &c : cases) {
        const QString name = QString::fromLatin1(c.program);
        SuiteFolder folder(name);
        ASSERT_TRUE(folder.ok()) << c.program;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(folder.program(name), {});
        ASSERT_TRUE(p.waitForStarted()) << c.program;
        // Up with its window and its database connection.
        ASSERT_FALSE(p.waitForFinished(3000)) << c.program << " ended by itself";
        ::kill(static_cast<pid_t>(p.processId()), c.signal);
        const bool ended = p.waitForFinished(6000);
        if (!ended) {
            p.kill();
            p.waitForFinished();
        }
        EXPECT_TRUE(ended) << c.program << " still ran 6 s after signal " << c.signal;
        if (ended) {
            EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << c.program;
        }
    }
}
