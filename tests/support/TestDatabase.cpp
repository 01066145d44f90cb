#include "TestDatabase.h"

#include "db/Database.h"
#include "db/SchemaSetup.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QUuid>

#include <stdexcept>

QString TestDatabase::templatePath()
{
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        const QString p = dir.filePath(QStringLiteral("TEMPLATE.FDB"));
        SchemaSetup::createDatabase(p, QStringLiteral(TAMBREL_DATA_DIR));
        path = p;
    }
    return path;
}

TestDatabase::TestDatabase()
{
    m_path = m_dir.filePath(QStringLiteral("TAMBREL.FDB"));
    if (!QFile::copy(templatePath(), m_path))
        throw std::runtime_error("cannot copy the template database");
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                      QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther);
}

QString testServerPrefix()
{
    const QString port =
        QProcessEnvironment::systemEnvironment().value(QStringLiteral("TAMBREL_TEST_FB_PORT"));
    if (port.isEmpty())
        return {};
    return QStringLiteral("localhost/%1:").arg(port);
}

ServerTestDatabase::ServerTestDatabase()
{
    const QString prefix = testServerPrefix();
    if (prefix.isEmpty())
        return;
    const QString folder = QProcessEnvironment::systemEnvironment().value(
        QStringLiteral("TAMBREL_TEST_FB_DIR"), QDir::tempPath());
    m_file = QDir(folder).filePath(
        QStringLiteral("t_%1.fdb").arg(QUuid::createUuid().toString(QUuid::Id128)));
    const QString path = prefix + m_file;
    SchemaSetup::createDatabase(path, QStringLiteral(TAMBREL_DATA_DIR));
    m_path = path;
}

ServerTestDatabase::~ServerTestDatabase()
{
    if (!m_file.isEmpty())
        QFile::remove(m_file);
}
