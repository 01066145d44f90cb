// The programs as a desktop ends them: SIGTERM (kill, logout, shutdown) or
// SIGINT (Ctrl+C) must end each within a few seconds, without a question.
#include "SerialTestSupport.h"
#include "TestDatabase.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

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
    explicit SuiteFolder(const QString &program, const QByteArray &settings = {})
    {
        const QDir built(QCoreApplication::applicationDirPath());
        const QDir here(m_dir.path());
        m_ok = QFile::copy(built.filePath(program), here.filePath(program));
        here.mkpath(QStringLiteral("Database"));
        const QString database = here.filePath(QStringLiteral("Database/TAMBREL.FDB"));
        m_ok = m_ok && QFile::copy(TestDatabase::templatePath(), database);
        // The slip pictures and field layouts the slip entry programs load.
        for (const char *sub : {"FormImages", "FormEdits"}) {
            const QString folder = QString::fromLatin1(sub);
            here.mkpath(folder);
            const QDir from(built.filePath(folder));
            for (const QString &name : from.entryList(QDir::Files))
                QFile::copy(from.filePath(name), here.filePath(folder + QLatin1Char('/') + name));
        }
        QFile ini(here.filePath(QStringLiteral("TAMBREL.ini")));
        m_ok = m_ok && ini.open(QIODevice::WriteOnly);
        ini.write("[TAMBREL]\r\nF_DbPath=" + QFile::encodeName(database) + "\r\n" + settings);
        m_database = database;
    }
    const QString &database() const { return m_database; }
    QString file(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    bool ok() const { return m_ok; }
    QString program(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_database;
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

// The clerk posted one slip (登録) and is typing the next one, which holds a
// reserved number, when the desktop ends the program: the posted slip is in
// the table once, the slip being typed is dropped and its number released.
TEST(TerminationSignals, PostedSlipIsWrittenAndTheEditBeingMadeDropped)
{
    SuiteFolder folder(QStringLiteral("Tambrel22"), "AutoRenban=1\r\nDenKetaCD=1\r\n");
    ASSERT_TRUE(folder.ok());
    const QString script = folder.file(QStringLiteral("script.txt"));
    const QString log = folder.file(QStringLiteral("script.log"));
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("step post one slip\n"
                "click CaptionDBNavi1/nbInsert\n"
                "type CONA \xe4\xb8\xb8\xe4\xba\x95\n" // 丸井
                "click CaptionDBNavi1/nbPost\n"
                "step type the next one\n"
                "click CaptionDBNavi1/nbInsert\n"
                "type CONA \xe6\x9c\xaa\xe7\x99\xbb\xe9\x8c\xb2\n"); // 未登録
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TAMBREL_UI_SCRIPT_Tambrel22"), script);
    env.insert(QStringLiteral("TAMBREL_UI_LOG"), log);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(folder.program(QStringLiteral("Tambrel22")), {});
    ASSERT_TRUE(p.waitForStarted());
    auto logText = [&] {
        QFile f(log);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    for (int i = 0;
         i < 600 && !logText().contains(QStringLiteral(": done")) && p.state() == QProcess::Running;
         ++i)
        p.waitForFinished(100);
    ASSERT_EQ(p.state(), QProcess::Running) << qPrintable(logText());
    ASSERT_TRUE(logText().contains(QStringLiteral(": done"))) << qPrintable(logText());
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    const bool ended = p.waitForFinished(8000);
    if (!ended) {
        p.kill();
        p.waitForFinished();
    }
    ASSERT_TRUE(ended) << "Tambrel22 still ran 8 s after SIGTERM";

    Database db;
    Transaction tr;
    ConnectDatabaseTo(db, tr, folder.database());
    Query q(db, tr);
    q.setSql(QStringLiteral("SELECT CONAME, DENNO_1 FROM TAMBREL"));
    QStringList rows;
    for (q.open(); q.next();)
        rows << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString();
    tr.commit();
    db.disconnect();
    EXPECT_EQ(rows, QStringList{QStringLiteral("丸井 000001")});
    EXPECT_EQ(readCounter(folder.database()), (CounterRow{true, 1, 0}));
}
