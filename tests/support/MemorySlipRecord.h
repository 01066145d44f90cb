#pragma once

#include "totals/SlipRecord.h"

#include <QHash>

// A slip row held in memory: what the calculations and lookups see of the
// form's current record, without a form.
class MemorySlipRecord : public SlipRecord
{
public:
    QVariant value(const QString &column) const override { return m_values.value(column); }
    void setValue(const QString &column, const QVariant &value) override
    {
        m_values.insert(column, value);
        ++m_writes;
    }
    bool editing() const override { return m_editing; }

    void setEditing(bool editing) { m_editing = editing; }
    int writes() const { return m_writes; }
    const QHash<QString, QVariant> &values() const { return m_values; }

private:
    QHash<QString, QVariant> m_values;
    bool m_editing = true;
    int m_writes = 0;
};
