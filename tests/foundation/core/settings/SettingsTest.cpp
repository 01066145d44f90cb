#include "settings/Settings.h"
#include "ScopedSettings.h"
#include "ProgramFolder.h"
#include "ScriptedMessages.h"
#include "settings/IniFile.h"
#include "settings/WinColor.h"
#include "text/ShiftJis.h"
#include "ui/EditFieldSetup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray expectedFirstStart(const QString &dbPath)
{
    QByteArray b;
    b += "[TAMBREL]\r\n";
    b += "F_DbPath=" + ShiftJis::encode(dbPath) + "\r\n";
    b += "CompanyName=\r\nUserName=\r\nHintShow=0\r\nHintColor=-16777192\r\nHintTime=2000\r\n"
         "DenKetaCD=0\r\nEditColor=16776960\r\nAutoCalc=1\r\nAutoRenban=0\r\nUseTanka=0\r\n"
         "Marume=0\r\nDenIndex=0\r\nItemCodeLen=0\r\nServerUser=sysdba\r\n"
         "ServerPassword=quillfern\r\n";
    b += "\r\n[NewRecord]\r\n";
    b += "CoCode=\r\nCoName=\r\nTenmei=\r\nTorihikiCode1=\r\nTorihikiCode2=\r\n"
         "TorihikiName1=\r\nTorihikiName2=\r\nDateTr1=0\r\nDateTr2=0\r\nDateTr3=0\r\n"
         "DateTy1=0\r\nBunruiCode=\r\n";
    b += "\r\n[Export]\r\nExportDen=0\r\nExportDate=0\r\n";
    return b;
}

} // namespace

TEST(LoadSettings, FirstStartWritesEveryKeyInLoadOrder)
{
    ProgramFolder folder(true);
    ScriptedMessages messages;
    TambrelSettings r;
    ASSERT_TRUE(LoadSettingsInto(r, folder.path()));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(readAll(folder.ini()), expectedFirstStart(folder.dbPath()));
    EXPECT_EQ(r.F_DbPath, folder.dbPath());
    EXPECT_EQ(r.SettingsFilePath, folder.ini());
    EXPECT_EQ(r.PrintCommandFilePath, folder.path() + QStringLiteral("/Prntmpp.tmp"));
    EXPECT_EQ(r.HintColor, -16777192);
    EXPECT_EQ(r.EditColor, 16776960);
    EXPECT_TRUE(r.AutoCalc);
    EXPECT_FALSE(r.ComputerName.isEmpty());

    // A second start reads the same values and leaves the file as it is.
    TambrelSettings again;
    ASSERT_TRUE(LoadSettingsInto(again, folder.path()));
    EXPECT_EQ(readAll(folder.ini()), expectedFirstStart(folder.dbPath()));
}

TEST(LoadSettings, MissingDatabaseAsksForItsLocationAndKeepsTheDefault)
{
    ProgramFolder folder(false);
    ScriptedMessages messages;
    TambrelSettings r;
    ASSERT_TRUE(LoadSettingsInto(r, folder.path()));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().at(0).text, QStringLiteral("データベース位置を設定してください。"));
    EXPECT_EQ(messages.shown().at(0).type, MsgType::Error);
    EXPECT_EQ(messages.shown().at(0).buttons, MsgButtons(MsgButton::Ok));
    EXPECT_EQ(r.F_DbPath, folder.dbPath());
    EXPECT_EQ(
        IniFile(folder.ini())
            .readString(QStringLiteral("TAMBREL"), QStringLiteral("F_DbPath"), QStringLiteral("x")),
        QString());
}

TEST(LoadSettings, DatabasePathRule)
{
    ProgramFolder folder(true);
    QTemporaryDir elsewhere;
    const QString other = elsewhere.filePath(QStringLiteral("OTHER.FDB"));
    writeFile(other, "db");
    const struct
    {
        QString configured;
        QString expected;
        bool embedded;
    } cases[] = {
        {other, other, true},
        // Full-width spaces around an existing path: the untrimmed path does not exist.
        {QStringLiteral("\u3000") + other + QStringLiteral("\u3000"), folder.dbPath(), true},
        {QStringLiteral("\u3000 "), folder.dbPath(), true},
        {elsewhere.filePath(QStringLiteral("GONE.FDB")), folder.dbPath(), true},
        // A database on a server is used as written, never tested as a file.
        {QStringLiteral("dbhost/3050:/srv/tambrel/TAMBREL.FDB"),
         QStringLiteral("dbhost/3050:/srv/tambrel/TAMBREL.FDB"), false},
    };
    for (const auto &c : cases) {
        QFile::remove(folder.ini());
        ASSERT_TRUE(WriteIniString(folder.ini(), QStringLiteral("TAMBREL"),
                                   QStringLiteral("F_DbPath"), c.configured));
        ScriptedMessages messages;
        TambrelSettings r;
        ASSERT_TRUE(LoadSettingsInto(r, folder.path()));
        EXPECT_TRUE(messages.shown().isEmpty()) << c.configured.toStdString();
        EXPECT_EQ(r.F_DbPath, c.expected);
        EXPECT_EQ(IniFile(folder.ini())
                      .readString(QStringLiteral("tambrel"), QStringLiteral("f_dbpath"), QString()),
                  c.expected);
        if (!c.embedded) {
            EXPECT_FALSE(r.EmbeddedServerPresent);
        }
    }
}

TEST(LoadSettings, ExistingValuesAreReadCaseInsensitivelyAndBadNumbersKept)
{
    ProgramFolder folder(true);
    writeFile(folder.ini(), "; kept comment\r\n[tambrel]\r\nhintshow=1\r\nHintTime=abc\r\n"
                            "Marume=7\r\nDenKetaCD= 3\r\nEditColor=$FF0000\r\n"
                            "[NEWRECORD]\r\nconame=\x8a\x94\x8e\xae\x89\xef\x8e\xd0\r\n"
                            "DateTr1=2\r\n");
    ScriptedMessages messages;
    TambrelSettings r;
    ASSERT_TRUE(LoadSettingsInto(r, folder.path()));
    EXPECT_TRUE(r.HintShow);
    EXPECT_EQ(r.HintTime, 2000);
    EXPECT_EQ(r.Marume, 7);
    EXPECT_EQ(r.DenKetaCD, 3);
    EXPECT_EQ(r.EditColor, 0xFF0000);
    EXPECT_EQ(r.CoName, QStringLiteral("株式会社"));
    EXPECT_TRUE(r.DateTr1);
    const IniFile ini(folder.ini());
    // The bad text stays, no duplicate keys were added, the comment is kept.
    EXPECT_EQ(ini.readString(QStringLiteral("TAMBREL"), QStringLiteral("HintTime"), QString()),
              QStringLiteral("abc"));
    EXPECT_EQ(ini.keys(QStringLiteral("TAMBREL"))
                  .filter(QRegularExpression(QStringLiteral("^hintshow$"),
                                             QRegularExpression::CaseInsensitiveOption))
                  .size(),
              1);
    EXPECT_TRUE(readAll(folder.ini()).startsWith("; kept comment\r\n[tambrel]\r\nhintshow=1\r\n"));
    EXPECT_TRUE(ini.valueExists(QStringLiteral("NewRecord"), QStringLiteral("BunruiCode")));
}

TEST(LoadSettings, ReadOnlyFileIsToleratedSilently)
{
    ProgramFolder folder(true);
    const QByteArray content = "[TAMBREL]\r\nHintShow=1\r\nMarume=2\r\n";
    writeFile(folder.ini(), content);
    QFile::setPermissions(folder.ini(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    ScriptedMessages messages;
    TambrelSettings r;
    EXPECT_TRUE(LoadSettingsInto(r, folder.path()));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_TRUE(r.HintShow);
    EXPECT_EQ(r.Marume, 2);
    EXPECT_EQ(r.HintTime, 2000);
    EXPECT_EQ(r.F_DbPath, folder.dbPath());
    EXPECT_EQ(readAll(folder.ini()), content);
    EXPECT_FALSE(WriteIniString(folder.ini(), QStringLiteral("A"), QStringLiteral("B"),
                                QStringLiteral("C")));
}

TEST(IniFile, IntegerText)
{
    const struct
    {
        const char *text;
        bool ok;
        int value;
    } cases[] = {
        {"12", true, 12},
        {"-16777192", true, -16777192},
        {" 5", true, 5},
        {"5 ", false, 0},
        {"abc", false, 0},
        {"", false, 0},
        {"$FF000018", true, -16777192},
        {"0x10", true, 16},
        {"2147483648", false, 0},
        {"+7", true, 7},
        {"1.5", false, 0},
    };
    for (const auto &c : cases) {
        int v = 0;
        EXPECT_EQ(IniFile::parseInteger(QString::fromLatin1(c.text), &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(IniFile, TextOutsideShiftJisIsNotWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.ini"));
    ASSERT_TRUE(
        WriteIniString(path, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("社名")));
    EXPECT_FALSE(WriteIniString(path, QStringLiteral("S"), QStringLiteral("K"),
                                QStringLiteral("\U0001F600")));
    EXPECT_EQ(ReadIniString(path, QStringLiteral("S"), QStringLiteral("K"), QString()),
              QStringLiteral("社名"));
}

TEST(WinColor, NumbersAndSystemColours)
{
    EXPECT_EQ(WinColorToQColor(16776960), QColor(0, 255, 255));
    EXPECT_EQ(WinColorToQColor(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(WinColorToQColor(-16777192), QApplication::palette().color(QPalette::ToolTipBase));
}
