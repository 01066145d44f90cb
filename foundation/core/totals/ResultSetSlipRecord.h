#pragma once

#include "SlipRecord.h"

class EditableResultSet;

// The current row of a form's editable result set as a slip record.
class ResultSetSlipRecord : public SlipRecord
{
public:
    explicit ResultSetSlipRecord(EditableResultSet &dataSet) : m_dataSet(dataSet) {}

    QVariant value(const QString &column) const override;
    void setValue(const QString &column, const QVariant &value) override;
    bool editing() const override;

private:
    EditableResultSet &m_dataSet;
};
