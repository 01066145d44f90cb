#pragma once

#include <QString>

#include <ostream>

// The slip-number counter row as stored, read on a connection of its own.
struct CounterRow
{
    bool exists = false;
    qint64 renban = 0;
    qint64 scount = 0;
    bool operator==(const CounterRow &) const = default;
};

inline void PrintTo(const CounterRow &row, std::ostream *os)
{
    if (!row.exists)
        *os << "(no counter row)";
    else
        *os << "RENBAN " << row.renban << ", SCOUNT " << row.scount;
}

CounterRow readCounter(const QString &databasePath, int kind = 1);
void writeCounter(const QString &databasePath, qint64 renban, qint64 scount, int kind = 1);
void executeSql(const QString &databasePath, const QString &sql);
