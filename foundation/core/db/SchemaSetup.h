#pragma once

#include <QString>

#include <stdexcept>

// Creation of a slip database from the SQL files of data/ (schema.sql, then
// seed.sql), through the connection layer.
namespace SchemaSetup {

struct Exists : std::runtime_error
{
    Exists() : std::runtime_error("database file exists") {}
};

// Throws Exists for an existing local file, DbError when the engine fails,
// std::runtime_error when an SQL file cannot be read. A half-made file is
// removed again. The database is made by the suite's fixed user unless a
// user is given (on a server, the user who is to own the database).
void createDatabase(const QString &path, const QString &dataFolder, const QString &user = {},
                    const QString &password = {});

} // namespace SchemaSetup
