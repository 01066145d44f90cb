#include "KestravForm.h"

TKestravForm::TKestravForm(QWidget *parent)
    : ConnectedMainWindow(QStringLiteral("．．．エクスポート"), parent)
{
    setObjectName(QStringLiteral("KestravForm"));
    resize(560, 400);
}
