#include "SchemaSetup.h"

#include "Database.h"
#include "DbError.h"
#include "SqlScript.h"
#include "app/ConnectDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SchemaSetup {

namespace {

QString readScript(const QString &folder, const QString &name)
{
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(("cannot read " + file.fileName()).toStdString());
    return QString::fromUtf8(file.readAll());
}

} // namespace

void createDatabase(const QString &path, const QString &dataFolder, const QString &user,
                    const QString &password)
{
    const bool server = Database::isServerPath(path);
    if (!server && QFileInfo::exists(path))
        throw Exists();
    const QString schema = readScript(dataFolder, QStringLiteral("schema.sql"));
    const QString seed = readScript(dataFolder, QStringLiteral("seed.sql"));
    if (!server)
        QDir().mkpath(QFileInfo(path).absolutePath());

    Database db;
    ConnectParams params;
    params.path = path;
    params.user = user.isEmpty() ? QString::fromLatin1(DbParams::kUser) : user;
    params.password = user.isEmpty() ? QString::fromLatin1(DbParams::kPassword) : password;
    params.charset = QString::fromLatin1(DbParams::kCharset);
    params.dialect = DbParams::kDialect;
    db.setParams(params);
    db.create();
    try {
        SqlScript::run(db, schema);
        SqlScript::run(db, seed);
        db.disconnect();
    } catch (...) {
        // Leave no half-made database behind.
        try {
            db.disconnect();
        } catch (const DbError &) {
        }
        if (!server)
            QFile::remove(path);
        throw;
    }
}

} // namespace SchemaSetup
