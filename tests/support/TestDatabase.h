#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A fresh slip database file, made by the same code as tambrel-initdb, in a
// temporary folder that goes away with the object.
class TestDatabase
{
public:
    TestDatabase();
    const QString &path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    // A template made once per test program and copied, since creating the
    // schema takes a second or two.
    static QString templatePath();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// The Firebird server on loopback that scripts/test-services starts, as
// "localhost/PORT:" (empty when it is not running).
QString testServerPrefix();
// A new database file created through the server; removed at destruction.
class ServerTestDatabase
{
public:
    ServerTestDatabase();
    ~ServerTestDatabase();
    bool available() const { return !m_path.isEmpty(); }
    // "localhost/PORT:/path/file.fdb"
    const QString &path() const { return m_path; }

private:
    QString m_file;
    QString m_path;
};
