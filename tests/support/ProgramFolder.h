#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>

// A program folder of its own, with or without the default database file
// (a placeholder: the settings only test that it exists).
class ProgramFolder
{
public:
    explicit ProgramFolder(bool withDatabase)
    {
        if (withDatabase) {
            QDir(m_dir.path()).mkpath(QStringLiteral("Database"));
            QFile f(dbPath());
            if (!f.open(QIODevice::WriteOnly) || f.write("db") != 2)
                throw std::runtime_error("cannot write the database placeholder");
        }
    }
    QString path() const { return m_dir.path(); }
    QString ini() const { return QDir(m_dir.path()).filePath(QStringLiteral("TAMBREL.ini")); }
    QString dbPath() const { return m_dir.path() + QStringLiteral("/Database/TAMBREL.FDB"); }

private:
    QTemporaryDir m_dir;
};
