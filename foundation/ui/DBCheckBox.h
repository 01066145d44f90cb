#pragma once

#include <QCheckBox>
#include <QPointer>

#include "db/EditableResultSet.h"

// A check box bound to a column: ticked when the column's text is the
// checked value; a click puts the set into edit state and writes "1" or "0".
class DBCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit DBCheckBox(QWidget *parent = nullptr);

    void setDataSet(EditableResultSet *dataSet);
    EditableResultSet *dataSet() const { return m_dataSet; }
    void setDataField(const QString &field);
    const QString &dataField() const { return m_field; }
    void setValueChecked(const QString &value) { m_checkedValue = value; }
    void setValueUnchecked(const QString &value) { m_uncheckedValue = value; }
    const QString &valueChecked() const { return m_checkedValue; }
    const QString &valueUnchecked() const { return m_uncheckedValue; }

private:
    void load();
    void onClicked(bool checked);

    QPointer<EditableResultSet> m_dataSet;
    QString m_field;
    QString m_checkedValue = QStringLiteral("1");
    QString m_uncheckedValue = QStringLiteral("0");
};
