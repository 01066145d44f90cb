#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// A Windows INI file in Shift-JIS held in memory: "[Section]" and "Key=Value"
// lines, names matched case-insensitively, everything else (comments, blank
// lines) kept as it was. Written back whole with CR LF line ends.
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

    // Writes the whole file and flushes it; false when it cannot be written
    // (read-only file or folder) or a text cannot be held in Shift-JIS.
    bool save() const;
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
    };
    struct Section
    {
        QString name;   // empty for lines before the first section
        QString header; // the header line as read
        QVector<Line> lines;
    };
    const Section *findSection(const QString &name) const;
    Section *findSection(const QString &name);
    static const Line *findKey(const Section &s, const QString &key);

    QString m_path;
    bool m_loaded = false;
    QVector<Section> m_sections;
};

// The settings-file operations; each opens the file afresh, acts on one key
// and releases it.
bool EnsureSettingsFile(const QString &path);
bool IniValueExists(const QString &path, const QString &section, const QString &key);
bool ReadIniBool(const QString &path, const QString &section, const QString &key, bool def);
int ReadIniInteger(const QString &path, const QString &section, const QString &key, int def);
QString ReadIniString(const QString &path, const QString &section, const QString &key,
                      const QString &def);
bool WriteIniBool(const QString &path, const QString &section, const QString &key, bool value);
bool WriteIniInteger(const QString &path, const QString &section, const QString &key, int value);
bool WriteIniString(const QString &path, const QString &section, const QString &key,
                    const QString &value);
