#pragma once

#include <QStringList>

// The four statements that write an editable result set's cached changes
// back to its table, each a list of lines. ":NAME" stands for a column's new
// value, ":OLD_NAME" for its value as read.
class UpdateSql
{
public:
    QStringList modifySql;
    QStringList insertSql;
    QStringList deleteSql;
    QStringList refreshSql;

    void clear()
    {
        modifySql.clear();
        insertSql.clear();
        deleteSql.clear();
        refreshSql.clear();
    }
};
