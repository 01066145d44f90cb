#include "TambrelOutForm.h"

#include <QLabel>

TTambrelOutForm::TTambrelOutForm(const QString &slipTypeName, QWidget *parent)
    : ConnectedMainWindow(QStringLiteral("．．．印刷"), parent), m_slipTypeName(slipTypeName)
{
    setObjectName(QStringLiteral("TambrelOutForm"));
    auto *label = new QLabel(slipTypeName, this);
    label->setObjectName(QStringLiteral("DenNameLabel"));
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
    resize(560, 360);
}
