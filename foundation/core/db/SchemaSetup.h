#pragma once

#include <QString>

#include <stdexcept>

// Creation of a slip database from the SQL files of data/ (schema.sql, then
// seed.sql), through the connection layer with the suite's fixed parameters.
namespace SchemaSetup {

struct Exists : std::runtime_error
{
    Exists() : std::runtime_error("database file exists") {}
};

// Throws Exists for an existing local file, DbError when the engine fails,
// std::runtime_error when an SQL file cannot be read. A half-made file is
// removed again.
void createDatabase(const QString &path, const QString &dataFolder);

} // namespace SchemaSetup
