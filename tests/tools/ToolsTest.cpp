#include "settings/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Result
{
    int exitCode;
    QString out;
    QString err;
};

Result runTool(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(QDir(QCoreApplication::applicationDirPath()).filePath(tool), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

} // namespace

TEST(InitDb, CreatesOnceAndNeverOverwrites)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/TAMBREL.FDB"));
    const QStringList args{path, QStringLiteral("--data"), QStringLiteral(TAMBREL_DATA_DIR)};
    const Result first = runTool(QStringLiteral("tambrel-initdb"), args);
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    ASSERT_TRUE(QFile::exists(path));
    const qint64 size = QFileInfo(path).size();

    const Result second = runTool(QStringLiteral("tambrel-initdb"), args);
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.err.contains(QStringLiteral("already exists"))) << second.err.toStdString();
    EXPECT_EQ(QFileInfo(path).size(), size);
}

TEST(InitDb, BadSchemaFolderLeavesNoFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TAMBREL.FDB"));
    const Result r =
        runTool(QStringLiteral("tambrel-initdb"),
                {path, QStringLiteral("--data"), dir.filePath(QStringLiteral("none"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}
