#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// A Windows INI file in Shift-JIS held in memory: "[Section]" and "Key=Value"
// lines, names matched case-insensitively, everything else (comments, blank
// lines) kept as it was. Several programs on several computers share one
// file, so a save never rewrites it in place: it takes the file's lock,
// reads the file afresh, applies this object's changes to what it finds and
// puts the result into place whole (or leaves the file alone when nothing
// changed). Lines written back unchanged keep their bytes, also bytes that
// are not Shift-JIS. Repeated copies of a section count as one section.
class IniFile
{
public:
    // Reads the file; a missing or unreadable file gives an empty one.
    explicit IniFile(const QString &path);

    const QString &path() const { return m_path; }
    bool loaded() const { return m_loaded; }

    bool sectionExists(const QString &section) const;
    bool valueExists(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &def) const;
    int readInteger(const QString &section, const QString &key, int def) const;
    bool readBool(const QString &section, const QString &key, bool def) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    // Changes the copy in memory; save() writes it.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void eraseSection(const QString &section);
    // Adds the key with the value unless the file has it already.
    void writeDefault(const QString &section, const QString &key, const QString &value);

    // Applies the changes made through this object to the file as it is now
    // and writes the result when it differs; false when it cannot be written
    // (read-only file or folder, the lock not to be had) or a written text
    // cannot be held in Shift-JIS. Afterwards this object shows the file.
    bool save();
    QByteArray toBytes(bool *ok = nullptr) const;

    // Integer text as the settings file holds it: optional blanks and sign,
    // decimal digits (or "$"/"0x" hexadecimal), within 32 bits.
    static bool parseInteger(const QString &text, int *value);

private:
    struct Line
    {
        QString text; // the line as read, for lines that are not key lines
        QString key;  // non-empty for key lines
        QString value;
        QByteArray raw; // the bytes as read; empty once the line changed
        bool fromFile = false;
    };
    struct Section
    {
        QString name;   // empty for lines before the first section
        QString header; // the header line as read
        QByteArray rawHeader;
        QVector<Line> lines;
    };
    struct Change
    {
        enum Kind
        {
            Write,
            Default,
            Erase,
        } kind;
        QString section, key, value;
    };
    explicit IniFile(const QString &path, const QByteArray &bytes);
    void parse(const QByteArray &bytes);
    Line *findKey(const QString &section, const QString &key);
    const Line *findKey(const QString &section, const QString &key) const;
    Section *findSection(const QString &name);
    // Applies one change; true when the content changed.
    bool apply(const Change &change);

    QString m_path;
    bool m_loaded = false;
    QVector<Section> m_sections;
    QVector<Change> m_changes;
};

// The settings-file operations; each opens the file afresh, acts on one key
// and releases it.
bool EnsureSettingsFile(const QString &path);
bool IniValueExists(const QString &path, const QString &section, const QString &key);
// The Read functions write a missing key back with its default; when another
// program wrote the key meanwhile, its value is the one returned.
bool ReadIniBool(const QString &path, const QString &section, const QString &key, bool def);
int ReadIniInteger(const QString &path, const QString &section, const QString &key, int def);
QString ReadIniString(const QString &path, const QString &section, const QString &key,
                      const QString &def);
bool WriteIniBool(const QString &path, const QString &section, const QString &key, bool value);
bool WriteIniInteger(const QString &path, const QString &section, const QString &key, int value);
bool WriteIniString(const QString &path, const QString &section, const QString &key,
                    const QString &value);
