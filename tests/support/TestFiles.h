#pragma once

#include <QByteArray>
#include <QString>

class QTemporaryDir;

// Writes a fixture file into a test's temporary folder and returns its path;
// throws when it cannot be written, which fails the test.
QString WriteTestFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes);
