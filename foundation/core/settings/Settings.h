#pragma once

#include <QString>

// The settings of one program run, read from TAMBREL.ini once at start-up
// before any window exists and read-only afterwards. The fields are named as
// the keys of the file; the initial values are the built-in defaults.
struct TambrelSettings
{
    // [TAMBREL]
    QString F_DbPath;
    QString CompanyName;
    QString UserName;
    bool HintShow = false;
    int HintColor = -16777192; // system colour 24: the tooltip background
    int HintTime = 2000;
    int DenKetaCD = 0;
    int EditColor = 16776960; // cyan (00FFFF00, blue-green-red)
    bool AutoCalc = true;
    bool AutoRenban = false;
    bool UseTanka = false;
    int Marume = 0;
    int DenIndex = 0;
    int ItemCodeLen = 0;
    // Who signs in to a database on a Firebird server (a local database
    // always uses the suite's fixed user).
    QString ServerUser = QStringLiteral("sysdba");
    QString ServerPassword = QStringLiteral("quillfern");
    // [NewRecord]
    QString CoCode;
    QString CoName;
    QString Tenmei;
    QString TorihikiCode1;
    QString TorihikiCode2;
    QString TorihikiName1;
    QString TorihikiName2;
    bool DateTr1 = false;
    bool DateTr2 = false;
    bool DateTr3 = false;
    bool DateTy1 = false;
    QString BunruiCode;
    // [Export]
    int ExportDen = 0;
    int ExportDate = 0;

    // Derived at load.
    QString ProgramFolder; // with a trailing separator
    QString SettingsFilePath;
    QString PrintCommandFilePath;
    QString ComputerName;
    bool EmbeddedServerPresent = false;
    bool OneLineMode = false;
};

inline constexpr const char *kSettingsFileName = "TAMBREL.ini";
inline constexpr const char *kSectionTambrel = "TAMBREL";
inline constexpr const char *kSectionNewRecord = "NewRecord";
inline constexpr const char *kSectionExport = "Export";
inline constexpr const char *kSectionDBEdit = "DBEdit";
inline constexpr const char *kPrintCommandFileName = "Prntmpp.tmp";

// The settings of this process.
const TambrelSettings &settings();

// Set by each slip entry program before LoadSettings.
void SetOneLineMode(bool oneLine);

// Fills the settings of this process from TAMBREL.ini beside the program;
// false after the "INI ファイルエラー" message. Called once at start-up.
bool LoadSettings();

// The load itself, into a given record and from a given program folder, so
// a test can run it in a folder of its own.
bool LoadSettingsInto(TambrelSettings &record, const QString &programFolder);

// Replaces the settings of this process as a whole. Only start-up code and
// tests call it; the programs treat the settings as read-only.
void ReplaceSettings(const TambrelSettings &record);

// The default database path: folder + "Database/TAMBREL.FDB".
QString DefaultDatabasePath(const QString &programFolder);
