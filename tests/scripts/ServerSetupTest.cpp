#include "ScopedSettings.h"
#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A Firebird server of its own whose administrator has a password of his
// own, prepared for the suite by scripts/fb-prepare-suite.

namespace {

const QString kAdminPassword = QStringLiteral("adm-Kq81z");
const QString kSuiteUser = QStringLiteral("TAMBREL_CLERK");
const QString kSuitePassword = QStringLiteral("suite-7Hw2");

QString script(const char *name)
{
    return QDir(QStringLiteral(TAMBREL_SOURCE_DIR "/scripts")).filePath(QString::fromLatin1(name));
}

struct ProcessRun
{
    int exitCode = -1;
    QString output;
};

ProcessRun run(const QString &program, const QStringList &arguments, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    ProcessRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = QString::fromLocal8Bit(p.readAll());
    return r;
}

class OwnServer
{
public:
    OwnServer()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FB_ADMIN_PASSWORD"), kAdminPassword);
        // A port nobody answers on (fb-server refuses a taken one).
        for (int attempt = 0; attempt < 10 && !m_started; ++attempt) {
            m_port = 20000 + int(QRandomGenerator::global()->bounded(20000));
            const ProcessRun r = run(QStringLiteral("bash"),
                                     {script("fb-server"), QStringLiteral("start"),
                                      QString::number(m_port), m_state.path()},
                                     env);
            m_started = r.exitCode == 0;
            m_log += r.output;
        }
    }
    ~OwnServer()
    {
        run(QStringLiteral("bash"), {script("fb-server"), QStringLiteral("stop"), m_state.path()},
            QProcessEnvironment::systemEnvironment());
    }
    bool started() const { return m_started; }
    const QString &log() const { return m_log; }
    QString server() const { return QStringLiteral("localhost/%1").arg(m_port); }
    QString file(const QString &name) const
    {
        return m_state.path() + QStringLiteral("/db/") + name;
    }
    QString path(const QString &name) const { return server() + QLatin1Char(':') + file(name); }

private:
    QTemporaryDir m_state;
    int m_port = 0;
    bool m_started = false;
    QString m_log;
};

ProcessRun prepare(const OwnServer &server, const QString &database)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FB_ADMIN_PASSWORD"), kAdminPassword);
    env.insert(QStringLiteral("TAMBREL_SUITE_PASSWORD"), kSuitePassword);
    return run(
        QStringLiteral("bash"),
        {script("fb-prepare-suite"), QStringLiteral("--server"), server.server(),
         QStringLiteral("--database"), server.file(database), QStringLiteral("--user"), kSuiteUser,
         QStringLiteral("--initdb"),
         QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tambrel-initdb"))},
        env);
}

TambrelSettings signingInAs(const QString &user, const QString &password)
{
    TambrelSettings s;
    s.ServerUser = user;
    s.ServerPassword = password;
    return s;
}

// A slip stored and read back through the suite's own connection.
void storeAndReadSlip(const QString &path)
{
    Database db;
    Transaction tr;
    ConnectDatabaseTo(db, tr, path);
    Query ins(db, tr);
    ins.setSql(QStringLiteral("INSERT INTO TAMBREL (CONAME, PRINTOUT) VALUES (:NAME, 1)"));
    ins.setParam(QStringLiteral("NAME"), QStringLiteral("株式会社丸ノ内"));
    ins.execute();
    tr.commit();
    Query sel(db, tr);
    sel.setSql(QStringLiteral("SELECT CONAME FROM TAMBREL WHERE CONAME = :NAME"));
    sel.setParam(QStringLiteral("NAME"), QStringLiteral("株式会社丸ノ内"));
    ASSERT_TRUE(sel.openFirst());
    EXPECT_EQ(sel.value(0).toString(), QStringLiteral("株式会社丸ノ内"));
}

} // namespace

TEST(ServerSetup, SuiteWorksThroughItsOwnUserAndTheOldFixedPasswordIsRefused)
{
    OwnServer server;
    ASSERT_TRUE(server.started()) << server.log().toStdString();

    const ProcessRun prepared = prepare(server, QStringLiteral("TAMBREL.FDB"));
    ASSERT_EQ(prepared.exitCode, 0) << prepared.output.toStdString();
    const QString suiteDb = server.path(QStringLiteral("TAMBREL.FDB"));

    {
        SCOPED_TRACE("the suite signs in as its own user");
        ScopedSettings own(signingInAs(kSuiteUser, kSuitePassword));
        storeAndReadSlip(suiteDb);
    }
    {
        SCOPED_TRACE("the settings' defaults (the old fixed password) are refused");
        ScopedSettings defaults(TambrelSettings{});
        Database db;
        Transaction tr;
        EXPECT_THROW(ConnectDatabaseTo(db, tr, suiteDb), AppError);
    }
    {
        SCOPED_TRACE("the administrator's password is still his own, not the suite's");
        Database db;
        ConnectParams admin;
        admin.path = suiteDb;
        admin.user = QStringLiteral("SYSDBA");
        admin.password = kAdminPassword;
        db.setParams(admin);
        EXPECT_NO_THROW(db.connect());
        admin.password = kSuitePassword;
        Database other;
        other.setParams(admin);
        EXPECT_THROW(other.connect(), DbError);
    }
}

TEST(ServerSetup, ExistingDatabaseIsGrantedAndOthersStayClosed)
{
    OwnServer server;
    ASSERT_TRUE(server.started()) << server.log().toStdString();

    // Two databases made by the administrator; only the first is the suite's.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAMBREL_DB_USER"), QStringLiteral("SYSDBA"));
    env.insert(QStringLiteral("TAMBREL_DB_PASSWORD"), kAdminPassword);
    const QString initdb =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tambrel-initdb"));
    for (const char *name : {"SUITE.FDB", "OTHER.FDB"}) {
        const ProcessRun made = run(initdb, {server.path(QString::fromLatin1(name))}, env);
        ASSERT_EQ(made.exitCode, 0) << made.output.toStdString();
    }

    const ProcessRun prepared = prepare(server, QStringLiteral("SUITE.FDB"));
    ASSERT_EQ(prepared.exitCode, 0) << prepared.output.toStdString();
    EXPECT_TRUE(prepared.output.contains(QStringLiteral("granted")))
        << prepared.output.toStdString();

    ScopedSettings own(signingInAs(kSuiteUser, kSuitePassword));
    {
        SCOPED_TRACE("the granted database");
        storeAndReadSlip(server.path(QStringLiteral("SUITE.FDB")));
    }
    {
        SCOPED_TRACE("a database of the same server that is not the suite's");
        Database db;
        Transaction tr;
        ConnectDatabaseTo(db, tr, server.path(QStringLiteral("OTHER.FDB")));
        Query sel(db, tr);
        sel.setSql(QStringLiteral("SELECT COUNT(*) FROM TAMBREL"));
        EXPECT_THROW(sel.openFirst(), DbError);
    }
}
