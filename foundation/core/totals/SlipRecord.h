#pragma once

#include <QString>
#include <QVariant>

// The row of the slip being entered, as the calculations and the master
// lookups read and write it: columns by name, null kept as a null value.
class SlipRecord
{
public:
    virtual ~SlipRecord() = default;
    virtual QVariant value(const QString &column) const = 0;
    virtual void setValue(const QString &column, const QVariant &value) = 0;
    // Whether the row is being edited or inserted (rather than browsed).
    virtual bool editing() const = 0;
};
