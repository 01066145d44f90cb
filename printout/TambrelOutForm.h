#pragma once

#include "ui/ConnectedMainWindow.h"

// The print-out program's window, started with a slip type display name.
class TTambrelOutForm : public ConnectedMainWindow
{
    Q_OBJECT
public:
    explicit TTambrelOutForm(const QString &slipTypeName, QWidget *parent = nullptr);

    const QString &slipTypeName() const { return m_slipTypeName; }

private:
    QString m_slipTypeName;
};
