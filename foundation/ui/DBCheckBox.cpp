#include "DBCheckBox.h"

#include "db/EditableResultSet.h"

DBCheckBox::DBCheckBox(QWidget *parent) : QCheckBox(parent)
{
    connect(this, &QCheckBox::clicked, this, &DBCheckBox::onClicked);
}

void DBCheckBox::setDataSet(EditableResultSet *dataSet)
{
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (m_dataSet) {
        connect(m_dataSet, &EditableResultSet::recordDataChanged, this, [this](const QString &f) {
            if (f.isEmpty() || f.compare(m_field, Qt::CaseInsensitive) == 0)
                load();
        });
        connect(m_dataSet, &EditableResultSet::stateChanged, this, [this] { load(); });
    }
    load();
}

void DBCheckBox::setDataField(const QString &field)
{
    m_field = field;
    load();
}

void DBCheckBox::load()
{
    if (m_dataSet && m_dataSet->controlsDisabled())
        return;
    bool on = false;
    if (m_dataSet && m_dataSet->active() && m_dataSet->hasColumn(m_field)) {
        const QVariant v = m_dataSet->value(m_field);
        on = !v.isNull() && v.toString() == m_checkedValue;
    }
    setChecked(on);
}

void DBCheckBox::onClicked(bool checked)
{
    if (!m_dataSet || !m_dataSet->hasColumn(m_field) || !m_dataSet->Edit()) {
        load();
        return;
    }
    m_dataSet->setValue(m_field, checked ? m_checkedValue : m_uncheckedValue);
}
