#include "DBEdit.h"

#include "db/EditableResultSet.h"
#include "text/ShiftJis.h"

#include <QApplication>
#include <QKeyEvent>

DBEdit::DBEdit(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &DBEdit::onTextEdited);
}

void DBEdit::setDataSet(EditableResultSet *dataSet)
{
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (m_dataSet) {
        connect(m_dataSet, &EditableResultSet::recordDataChanged, this,
                &DBEdit::onRecordDataChanged);
        connect(m_dataSet, &EditableResultSet::updateRecord, this, &DBEdit::updateRecord);
        connect(m_dataSet, &EditableResultSet::stateChanged, this, [this] { load(); });
    }
    load();
}

void DBEdit::setDataField(const QString &field)
{
    m_field = field;
    load();
}

void DBEdit::load()
{
    if (m_entering || (m_dataSet && m_dataSet->controlsDisabled()))
        return;
    QString text;
    int maxChars = 32767;
    if (m_dataSet && m_dataSet->active() && m_dataSet->hasColumn(m_field)) {
        const QVariant v = m_dataSet->value(m_field);
        text = v.isNull() ? QString() : v.toString();
        const ColumnInfo &c = m_dataSet->columns().at(m_dataSet->columnIndex(m_field));
        if (c.isText() && c.charLength() > 0)
            maxChars = c.charLength();
    }
    setMaxLength(maxChars);
    setReadOnly(!m_dataSet || !m_dataSet->canModify());
    if (text != this->text())
        setText(text);
    m_dirty = false;
}

void DBEdit::reset()
{
    m_dirty = false;
    load();
}

void DBEdit::onRecordDataChanged(const QString &field)
{
    if (field.isEmpty() || field.compare(m_field, Qt::CaseInsensitive) == 0)
        load();
}

void DBEdit::onTextEdited(const QString &typed)
{
    QString text = typed;
    int cursor = cursorPosition();
    if (m_maxBytes > 0 && ShiftJis::byteLength(text) > m_maxBytes) {
        // Keep what fits, dropping what was just typed past the limit.
        const QString head = ShiftJis::leftBytes(text.left(cursor), m_maxBytes);
        const qsizetype room = m_maxBytes - ShiftJis::byteLength(head);
        const QString tail = ShiftJis::leftBytes(text.mid(cursor), room);
        text = head + tail;
        cursor = static_cast<int>(head.size());
        setText(text);
        setCursorPosition(cursor);
        QApplication::beep();
    }
    if (m_dataSet && !m_dataSet->editing()) {
        // Entering edit state may start a new row whose defaults reload the
        // bound controls; what the user typed here wins.
        m_entering = true;
        bool ok = false;
        try {
            ok = m_dataSet->Edit();
        } catch (...) {
            m_entering = false;
            load();
            throw;
        }
        m_entering = false;
        if (!ok) {
            load();
            return;
        }
        if (this->text() != text) {
            setText(text);
            setCursorPosition(cursor);
        }
    }
    m_dirty = true;
    m_changed = true;
}

void DBEdit::updateRecord()
{
    if (!m_dirty || !m_dataSet || !m_dataSet->editing() || !m_dataSet->hasColumn(m_field))
        return;
    m_dataSet->setValue(m_field, text());
    m_dirty = false;
}

void DBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    updateRecord();
}

void DBEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_dirty) {
        reset();
        selectAll();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DBEdit::setTabStop(bool tabStop)
{
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool DBEdit::tabStop() const
{
    return (focusPolicy() & Qt::TabFocus) != 0;
}

void DBEdit::setImeOpen(bool open)
{
    m_imeOpen = open;
    // A closed input method asks for plain Latin input (codes, numbers).
    setInputMethodHints(open ? Qt::ImhNone : Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
}

void DBEdit::setBackgroundColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}
