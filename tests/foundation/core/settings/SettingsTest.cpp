#include "settings/Settings.h"
#include "ScopedSettings.h"
#include "ProgramFolder.h"
#include "ScriptedMessages.h"
#include "settings/IniFile.h"
#include "settings/WinColor.h"
#include "text/ShiftJis.h"
#include "ui/EditFieldSetup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <vector>

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

namespace {

QString helperPath()
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("settings-file-helper"));
}

// The settings of a program folder whose database is on a server, with a
// local database file beside the programs as well: a start that found the
// server path missing would switch to the local file.
QByteArray serverSettings()
{
    return "; shared by every computer of the shop\r\n"
           "[TAMBREL]\r\nF_DbPath=dbhost/3050:/srv/tambrel/"
           "TAMBREL.FDB\r\nCompanyName=\x8f\xa4\x89\xef\r\n"
           "UserName=\r\nHintShow=0\r\nHintColor=-16777192\r\nHintTime=2000\r\n"
           "DenKetaCD=0\r\nEditColor=16776960\r\nAutoCalc=1\r\nAutoRenban=0\r\nUseTanka=0\r\n"
           "Marume=0\r\nDenIndex=0\r\nItemCodeLen=0\r\n"
           "\r\n[NewRecord]\r\nCoCode=\r\nCoName=\r\nTenmei=\r\nTorihikiCode1=\r\nTorihikiCode2="
           "\r\n"
           "TorihikiName1=\r\nTorihikiName2=\r\nDateTr1=0\r\nDateTr2=0\r\nDateTr3=0\r\n"
           "DateTy1=0\r\nBunruiCode=\r\n"
           "\r\n[Export]\r\nExportDen=0\r\nExportDate=0\r\n";
}

const QString kServerPath = QStringLiteral("dbhost/3050:/srv/tambrel/TAMBREL.FDB");

// A snapshot of the file as another program would read it at that moment.
void expectComplete(const QByteArray &bytes)
{
    const QString text = ShiftJis::decode(bytes);
    ASSERT_TRUE(text.contains(QStringLiteral("F_DbPath=") + kServerPath)) << bytes.size();
    ASSERT_TRUE(text.contains(QStringLiteral("[Export]\r\nExportDen=0\r\nExportDate=0\r\n")));
    ASSERT_TRUE(text.startsWith(QStringLiteral("; shared by every computer of the shop\r\n")));
}

} // namespace

// Programs loading their settings while others save window places and grid
// widths: every load finds the server database, the file is whole at every
// moment, and no program's change is lost.
TEST(SharedSettingsFile, LoadsBesideWritersNeverSeeAPartialFile)
{
    ProgramFolder folder(true);
    writeFile(folder.ini(), serverSettings());
    ASSERT_TRUE(QFileInfo::exists(helperPath()));
    std::vector<std::unique_ptr<QProcess>> procs;
    auto start = [&](const QStringList &args) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(helperPath(), args);
        procs.push_back(std::move(p));
    };
    for (int i = 0; i < 2; ++i)
        start({QStringLiteral("write"), folder.ini(), QStringLiteral("200"), QString::number(i)});
    for (int i = 0; i < 2; ++i)
        start({QStringLiteral("load"), folder.path(), QStringLiteral("20")});
    int snapshots = 0;
    // QProcess learns of a child's end only while it waits on that child.
    auto running = [&] {
        bool any = false;
        for (auto &p : procs) {
            if (p->state() != QProcess::NotRunning && !p->waitForFinished(1))
                any = true;
        }
        return any;
    };
    while (running()) {
        expectComplete(readAll(folder.ini()));
        ++snapshots;
    }
    int writes = 0, loads = 0;
    for (auto &p : procs) {
        p->waitForFinished(60000);
        EXPECT_EQ(p->exitCode(), 0);
        for (const QByteArray &line : p->readAllStandardOutput().split('\n')) {
            if (line.startsWith("W ")) {
                ++writes;
                EXPECT_TRUE(line.endsWith(" ok")) << line.constData();
            } else if (line.startsWith("L ")) {
                ++loads;
                EXPECT_EQ(QString::fromUtf8(line.mid(2)), kServerPath);
            } else if (!line.isEmpty()) {
                ADD_FAILURE() << line.constData();
            }
        }
    }
    EXPECT_EQ(writes, 400);
    EXPECT_EQ(loads, 40);
    expectComplete(readAll(folder.ini()));
    const IniFile ini(folder.ini());
    EXPECT_EQ(ini.readString(QStringLiteral("TAMBREL"), QStringLiteral("CompanyName"), QString()),
              QStringLiteral("商会"));
    // Each writer touched all eight grid columns; none of them went missing.
    EXPECT_EQ(ini.keys(QStringLiteral("Grid")).size(), 8);
    std::printf("%d snapshots of the file read during the run\n", snapshots);
}

// A program killed in the middle of saving leaves the file as it was before
// or after that save, never empty or cut.
TEST(SharedSettingsFile, KilledWriterLeavesTheFileWhole)
{
    ProgramFolder folder(true);
    writeFile(folder.ini(), serverSettings());
    for (int delayMs : {5, 20, 45, 80, 130}) {
        QProcess p;
        p.start(helperPath(), {QStringLiteral("write"), folder.ini(), QStringLiteral("100000"),
                               QString::number(delayMs)});
        ASSERT_TRUE(p.waitForStarted());
        // Let it write for a while, then end it without warning.
        for (int seen = 0; seen < 3 && p.state() == QProcess::Running;)
            seen += p.waitForReadyRead(2000) ? int(p.readAll().count('\n')) : 1;
        QThread::msleep(static_cast<unsigned long>(delayMs % 7));
        ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
        p.waitForFinished();
        expectComplete(readAll(folder.ini()));
        // The next writer is not held up by the lock of the killed one.
        EXPECT_TRUE(WriteIniInteger(folder.ini(), QStringLiteral("Grid"), QStringLiteral("AFTER"),
                                    delayMs));
        EXPECT_EQ(ReadIniInteger(folder.ini(), QStringLiteral("Grid"), QStringLiteral("AFTER"), 0),
                  delayMs);
    }
}

// Bytes that are not Shift-JIS (here in a comment and a value) stay as they
// are; the rest of the file is still written.
TEST(IniFile, UndecodableBytesAreKeptAndTheRestWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.ini"));
    const QByteArray comment = "; \x81\xFF\xFD old note";
    const QByteArray value = "Name=\xF0";
    writeFile(path, comment + "\r\n[S]\r\n" + value + "\r\nK=1\r\n");
    ASSERT_TRUE(
        WriteIniString(path, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("2")));
    ASSERT_TRUE(
        WriteIniString(path, QStringLiteral("S"), QStringLiteral("New"), QStringLiteral("社")));
    EXPECT_EQ(readAll(path), comment + "\r\n[S]\r\n" + value + "\r\nK=2\r\nNew=\x8e\xd0\r\n");
    EXPECT_EQ(ReadIniString(path, QStringLiteral("S"), QStringLiteral("K"), QString()),
              QStringLiteral("2"));
}

// A section written twice is one section: keys of either copy are read and
// written where they stand.
TEST(IniFile, RepeatedSectionIsOneSection)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.ini"));
    writeFile(path, "[S]\r\nA=1\r\n[T]\r\nX=1\r\n[s]\r\nB=2\r\n");
    const IniFile before(path);
    EXPECT_EQ(before.readString(QStringLiteral("S"), QStringLiteral("B"), QString()),
              QStringLiteral("2"));
    EXPECT_EQ(before.keys(QStringLiteral("S")),
              (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(before.sections(), (QStringList{QStringLiteral("S"), QStringLiteral("T")}));
    ASSERT_TRUE(
        WriteIniString(path, QStringLiteral("S"), QStringLiteral("B"), QStringLiteral("3")));
    ASSERT_TRUE(
        WriteIniString(path, QStringLiteral("S"), QStringLiteral("C"), QStringLiteral("4")));
    EXPECT_EQ(readAll(path), QByteArray("[S]\r\nA=1\r\nC=4\r\n[T]\r\nX=1\r\n[s]\r\nB=3\r\n"));
    IniFile erase(path);
    erase.eraseSection(QStringLiteral("S"));
    ASSERT_TRUE(erase.save());
    EXPECT_EQ(readAll(path), QByteArray("[T]\r\nX=1\r\n"));
}

// Saving what the file holds already does not rewrite it: grid widths and
// window places are saved on every close.
TEST(IniFile, UnchangedValuesAreNotWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.ini"));
    writeFile(path, "[Grid]\r\nA=10\r\nB=20\r\n");
    auto inode = [&] {
        struct stat st
        {
        };
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
    };
    const auto first = inode();
    ASSERT_NE(first, 0u);
    EXPECT_TRUE(WriteIniInteger(path, QStringLiteral("grid"), QStringLiteral("a"), 10));
    IniFile same(path);
    same.writeInteger(QStringLiteral("Grid"), QStringLiteral("B"), 20);
    EXPECT_TRUE(same.save());
    EXPECT_EQ(inode(), first);
    // A real change replaces the file whole.
    EXPECT_TRUE(WriteIniInteger(path, QStringLiteral("Grid"), QStringLiteral("B"), 21));
    EXPECT_NE(inode(), first);
    EXPECT_EQ(readAll(path), QByteArray("[Grid]\r\nA=10\r\nB=21\r\n"));
}
