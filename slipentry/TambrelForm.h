#pragma once

#include "SlipType.h"
#include "ui/ConnectedMainWindow.h"

// The slip entry form of one slip type.
class TambrelForm : public ConnectedMainWindow
{
    Q_OBJECT
public:
    TambrelForm(SlipType type, const QString &picturePath, QWidget *parent = nullptr);

    SlipType slipType() const { return m_type; }
    const QString &picturePath() const { return m_picturePath; }

private:
    SlipType m_type;
    QString m_picturePath;
};
