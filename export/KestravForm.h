#pragma once

#include "ui/ConnectedMainWindow.h"

// The export program's window.
class TKestravForm : public ConnectedMainWindow
{
    Q_OBJECT
public:
    explicit TKestravForm(QWidget *parent = nullptr);
};
