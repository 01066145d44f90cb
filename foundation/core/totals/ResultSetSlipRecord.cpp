#include "ResultSetSlipRecord.h"

#include "db/EditableResultSet.h"

QVariant ResultSetSlipRecord::value(const QString &column) const
{
    return m_dataSet.value(column);
}

void ResultSetSlipRecord::setValue(const QString &column, const QVariant &value)
{
    m_dataSet.setValue(column, value);
}

bool ResultSetSlipRecord::editing() const
{
    return m_dataSet.editing();
}
