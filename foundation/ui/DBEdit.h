#pragma once

#include "ui/EditFieldSetup.h"

#include <QLineEdit>
#include <QPointer>

#include "db/EditableResultSet.h"

// A line edit bound to a column of the current row of a result set. Typing
// puts the set into edit state; leaving the edit (or a post) writes the text
// to the column. The length limit counts Shift-JIS bytes.
class DBEdit : public QLineEdit, public DataEditField
{
    Q_OBJECT
public:
    explicit DBEdit(QWidget *parent = nullptr);

    void setDataSet(EditableResultSet *dataSet);
    EditableResultSet *dataSet() const { return m_dataSet; }
    void setDataField(const QString &field);
    const QString &dataField() const { return m_field; }

    // At most this many Shift-JIS bytes; 0 leaves the column's own size.
    void setMaxBytes(int bytes) { m_maxBytes = bytes; }
    int maxBytes() const { return m_maxBytes; }

    // The item line's tag (10 x line + 1) the field handlers read.
    void setTag(int tag) { m_tag = tag; }
    int tag() const { return m_tag; }

    // Set whenever the user changes the text; the field handlers read and
    // clear it.
    bool changed() const { return m_changed; }
    void setChanged(bool changed) { m_changed = changed; }

    // Writes typed text that has not reached the column yet.
    void updateRecord();
    // Shows the column's value again, dropping typed text.
    void reset();

    // DataEditField
    QString componentName() const override { return objectName(); }
    void setTabStop(bool tabStop) override;
    bool tabStop() const override;
    void setImeOpen(bool open) override;
    bool imeOpen() const override { return m_imeOpen; }
    void setBackgroundColor(const QColor &color) override;

protected:
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onTextEdited(const QString &text);
    void onRecordDataChanged(const QString &field);
    void load();

    QPointer<EditableResultSet> m_dataSet;
    QString m_field;
    int m_maxBytes = 0;
    int m_tag = 0;
    bool m_changed = false;
    bool m_dirty = false; // typed text not yet written
    bool m_imeOpen = true;
    bool m_entering = false;
};
