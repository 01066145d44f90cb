#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>

QString WriteTestFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error(("cannot write fixture " + path).toStdString());
    return path;
}
