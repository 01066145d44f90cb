#pragma once

#include "db/FieldNameRole.h"

#include <QColor>
#include <QString>

class QTableView;
class QWidget;

// What the edit-field setup needs of a data-bound edit of the slip form.
class DataEditField
{
public:
    virtual ~DataEditField() = default;
    virtual QString componentName() const = 0;
    virtual void setTabStop(bool tabStop) = 0;
    virtual bool tabStop() const = 0;
    virtual void setImeOpen(bool open) = 0;
    virtual bool imeOpen() const = 0;
    virtual void setBackgroundColor(const QColor &color) = 0;
};

// Applies the [DBEdit] flags to every data-bound edit that is a direct child
// of the form: tab stop and EditColor, and the input method.
void SetupEditFields(QWidget *form);

// Column widths of a list grid in the settings file, keyed by field name.
bool SaveGridColumns(QTableView *grid, const QString &filePath, const QString &section);
bool LoadGridColumns(QTableView *grid, const QString &filePath, const QString &section,
                     Qt::Alignment titleAlignment);
