#include "TambrelForm.h"

#include <QFileInfo>
#include <QLabel>
#include <QPixmap>

TambrelForm::TambrelForm(SlipType type, const QString &picturePath, QWidget *parent)
    : ConnectedMainWindow(QString::fromUtf16(slipTypeInfo(type).caption), parent), m_type(type),
      m_picturePath(picturePath.trimmed())
{
    setObjectName(QString::fromLatin1(slipTypeInfo(type).program) + QStringLiteral("Form"));
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QString path = m_picturePath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.isEmpty() && QFileInfo(path).isFile())
        picture->setPixmap(QPixmap(path));
    setCentralWidget(picture);
    resize(1024, 640);
}
