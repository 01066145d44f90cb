#include "Settings.h"
#include "SettingsTexts.h"

#include "IniFile.h"
#include "app/Messages.h"
#include "db/Database.h"
#include "text/KivFunc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <exception>

namespace {

TambrelSettings g_settings;
bool g_oneLineMode = false;

QString withSeparator(const QString &folder)
{
    QString f = QDir::fromNativeSeparators(folder);
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    return f;
}

} // namespace

const TambrelSettings &settings()
{
    return g_settings;
}

void ReplaceSettings(const TambrelSettings &record)
{
    g_settings = record;
}

void SetOneLineMode(bool oneLine)
{
    g_oneLineMode = oneLine;
}

QString DefaultDatabasePath(const QString &programFolder)
{
    return withSeparator(programFolder) + QStringLiteral("Database/TAMBREL.FDB");
}

bool LoadSettingsInto(TambrelSettings &r, const QString &programFolder)
{
    // 1. The computer name keys the per-computer print settings.
    r.ComputerName = GetComputerNameText();
    // 2. Paths beside the program.
    const QString folder = withSeparator(programFolder);
    r.ProgramFolder = folder;
    r.PrintCommandFilePath = folder + QLatin1String(kPrintCommandFileName);
    r.SettingsFilePath = folder + QLatin1String(kSettingsFileName);
    const QString &ini = r.SettingsFilePath;
    const QString tambrel = QLatin1String(kSectionTambrel);
    const QString newRecord = QLatin1String(kSectionNewRecord);
    const QString exportSection = QLatin1String(kSectionExport);
    try {
        // 3.
        EnsureSettingsFile(ini);
        // 4. Whether the embedded engine serves this program (refined below
        // once the database path is known: a server path never is).
        r.EmbeddedServerPresent = Database::embeddedEngineInstalled();
        // 5.
        r.F_DbPath = ReadIniString(ini, tambrel, QStringLiteral("F_DbPath"), r.F_DbPath);
        // 6. Database path rule. A path on a server is used as written.
        if (Database::isServerPath(r.F_DbPath)) {
            r.EmbeddedServerPresent = false;
        } else {
            const QString trimmed = TrimWide(r.F_DbPath);
            if (trimmed.isEmpty() || !QFileInfo(r.F_DbPath).isFile())
                r.F_DbPath = DefaultDatabasePath(folder);
            if (QFileInfo(r.F_DbPath).isFile())
                WriteIniString(ini, tambrel, QStringLiteral("F_DbPath"), r.F_DbPath);
            else
                Messages::show(MsgType::Error, QString::fromUtf8(kMsgSetDatabase), MsgButton::Ok);
        }
        // 7. Every key with write-back, in this order.
        auto str = [&](const QString &section, const char *key, QString &field) {
            field = ReadIniString(ini, section, QLatin1String(key), field);
        };
        auto integer = [&](const QString &section, const char *key, int &field) {
            field = ReadIniInteger(ini, section, QLatin1String(key), field);
        };
        auto boolean = [&](const QString &section, const char *key, bool &field) {
            field = ReadIniBool(ini, section, QLatin1String(key), field);
        };
        str(tambrel, "CompanyName", r.CompanyName);
        str(tambrel, "UserName", r.UserName);
        boolean(tambrel, "HintShow", r.HintShow);
        integer(tambrel, "HintColor", r.HintColor);
        integer(tambrel, "HintTime", r.HintTime);
        integer(tambrel, "DenKetaCD", r.DenKetaCD);
        integer(tambrel, "EditColor", r.EditColor);
        boolean(tambrel, "AutoCalc", r.AutoCalc);
        boolean(tambrel, "AutoRenban", r.AutoRenban);
        boolean(tambrel, "UseTanka", r.UseTanka);
        integer(tambrel, "Marume", r.Marume);
        integer(tambrel, "DenIndex", r.DenIndex);
        integer(tambrel, "ItemCodeLen", r.ItemCodeLen);
        str(tambrel, "ServerUser", r.ServerUser);
        str(tambrel, "ServerPassword", r.ServerPassword);
        str(newRecord, "CoCode", r.CoCode);
        str(newRecord, "CoName", r.CoName);
        str(newRecord, "Tenmei", r.Tenmei);
        str(newRecord, "TorihikiCode1", r.TorihikiCode1);
        str(newRecord, "TorihikiCode2", r.TorihikiCode2);
        str(newRecord, "TorihikiName1", r.TorihikiName1);
        str(newRecord, "TorihikiName2", r.TorihikiName2);
        boolean(newRecord, "DateTr1", r.DateTr1);
        boolean(newRecord, "DateTr2", r.DateTr2);
        boolean(newRecord, "DateTr3", r.DateTr3);
        boolean(newRecord, "DateTy1", r.DateTy1);
        str(newRecord, "BunruiCode", r.BunruiCode);
        integer(exportSection, "ExportDen", r.ExportDen);
        integer(exportSection, "ExportDate", r.ExportDate);
        // 8.
        return true;
    } catch (const std::exception &) {
        Messages::show(MsgType::Error, QString::fromUtf8(kMsgIniError), MsgButton::Ok);
        return false;
    }
}

bool LoadSettings()
{
    g_settings = TambrelSettings{};
    g_settings.OneLineMode = g_oneLineMode;
    return LoadSettingsInto(g_settings, QCoreApplication::applicationDirPath());
}
