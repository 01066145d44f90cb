#include "IniFile.h"

#include "text/ShiftJis.h"

#include <QFile>
#include <QFileInfo>

namespace {

QString trimmedAscii(const QString &s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && (s.at(b) == QLatin1Char(' ') || s.at(b) == QLatin1Char('\t')))
        ++b;
    while (e > b && (s.at(e - 1) == QLatin1Char(' ') || s.at(e - 1) == QLatin1Char('\t')))
        --e;
    return s.mid(b, e - b);
}

bool isBlankLine(const QString &s)
{
    return trimmedAscii(s).isEmpty();
}

} // namespace

IniFile::IniFile(const QString &path) : m_path(path)
{
    m_sections.append(Section{});
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    m_loaded = true;
    const QString text = ShiftJis::decode(file.readAll());
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString t = trimmedAscii(line);
        if (t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']'))) {
            Section s;
            s.name = trimmedAscii(t.mid(1, t.indexOf(QLatin1Char(']')) - 1));
            s.header = line;
            m_sections.append(s);
            continue;
        }
        Line l;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !t.startsWith(QLatin1Char(';'))) {
            l.key = trimmedAscii(line.left(eq));
            l.value = trimmedAscii(line.mid(eq + 1));
        }
        if (l.key.isEmpty())
            l.text = line;
        m_sections.last().lines.append(l);
    }
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    for (const Section &s : m_sections) {
        if (!s.header.isNull() && s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    return const_cast<Section *>(static_cast<const IniFile *>(this)->findSection(name));
}

const IniFile::Line *IniFile::findKey(const Section &s, const QString &key)
{
    for (const Line &l : s.lines) {
        if (!l.key.isEmpty() && l.key.compare(key, Qt::CaseInsensitive) == 0)
            return &l;
    }
    return nullptr;
}

bool IniFile::sectionExists(const QString &section) const
{
    return findSection(section) != nullptr;
}

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    return s && findKey(*s, key);
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    const Section *s = findSection(section);
    const Line *l = s ? findKey(*s, key) : nullptr;
    return l ? l->value : def;
}

bool IniFile::parseInteger(const QString &text, int *value)
{
    QString t = text;
    qsizetype i = 0;
    while (i < t.size() && t.at(i) == QLatin1Char(' '))
        ++i;
    t = t.mid(i);
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.startsWith(QLatin1Char('-'));
        t = t.mid(1);
    }
    int base = 10;
    if (t.startsWith(QLatin1Char('$'))) {
        base = 16;
        t = t.mid(1);
    } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t = t.mid(2);
    }
    if (t.isEmpty())
        return false;
    for (QChar c : t) {
        const bool ok = base == 10 ? (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                                   : (c.unicode() < 0x80 && isxdigit(c.toLatin1()));
        if (!ok)
            return false;
    }
    bool ok = false;
    const qlonglong magnitude = t.toLongLong(&ok, base);
    if (!ok)
        return false;
    qlonglong v = negative ? -magnitude : magnitude;
    // Hexadecimal texts name a 32-bit pattern ($FF000018 is negative).
    if (base == 16 && !negative && v > 0x7FFFFFFFLL && v <= 0xFFFFFFFFLL)
        v -= 0x100000000LL;
    if (v < INT_MIN || v > INT_MAX)
        return false;
    *value = static_cast<int>(v);
    return true;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    int v = def;
    if (!parseInteger(readString(section, key, QString()), &v))
        return def;
    return v;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

QStringList IniFile::sections() const
{
    QStringList out;
    for (const Section &s : m_sections) {
        if (!s.header.isNull())
            out << s.name;
    }
    return out;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList out;
    if (const Section *s = findSection(section)) {
        for (const Line &l : s->lines) {
            if (!l.key.isEmpty())
                out << l.key;
        }
    }
    return out;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    Section *s = findSection(section);
    if (!s) {
        // A new section goes at the end, after a blank line.
        bool hasContent = false;
        for (const Section &sec : m_sections)
            hasContent = hasContent || !sec.header.isNull() || !sec.lines.isEmpty();
        Section &last = m_sections.last();
        const bool endsBlank = !last.lines.isEmpty() && last.lines.last().key.isEmpty() &&
                               isBlankLine(last.lines.last().text);
        if (hasContent && !endsBlank)
            last.lines.append(Line{QStringLiteral(""), {}, {}});
        Section n;
        n.name = section;
        n.header = QLatin1Char('[') + section + QLatin1Char(']');
        m_sections.append(n);
        s = &m_sections.last();
    }
    for (Line &l : s->lines) {
        if (!l.key.isEmpty() && l.key.compare(key, Qt::CaseInsensitive) == 0) {
            l.value = value;
            return;
        }
    }
    // A new key follows the last key of its section, before trailing blank lines.
    qsizetype pos = s->lines.size();
    while (pos > 0 && s->lines.at(pos - 1).key.isEmpty() && isBlankLine(s->lines.at(pos - 1).text))
        --pos;
    s->lines.insert(pos, Line{QString(), key, value});
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString &section)
{
    for (qsizetype i = 1; i < m_sections.size(); ++i) {
        if (m_sections.at(i).name.compare(section, Qt::CaseInsensitive) == 0) {
            m_sections.remove(i);
            return;
        }
    }
}

QByteArray IniFile::toBytes(bool *ok) const
{
    QString text;
    for (const Section &s : m_sections) {
        if (!s.header.isNull())
            text += s.header + QLatin1String("\r\n");
        for (const Line &l : s.lines) {
            if (l.key.isEmpty())
                text += l.text + QLatin1String("\r\n");
            else
                text += l.key + QLatin1Char('=') + l.value + QLatin1String("\r\n");
        }
    }
    QByteArray bytes;
    const bool good = ShiftJis::tryEncode(text, &bytes);
    if (ok)
        *ok = good;
    return bytes;
}

bool IniFile::save() const
{
    bool ok = false;
    const QByteArray bytes = toBytes(&ok);
    if (!ok)
        return false;
    QFile file(m_path);
    // A file without any write permission is read-only, also for root.
    const QFileDevice::Permissions writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (file.exists() && !(file.permissions() & writeBits))
        return false;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return written;
}

bool EnsureSettingsFile(const QString &path)
{
    if (QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.close();
    return QFileInfo::exists(path);
}

bool IniValueExists(const QString &path, const QString &section, const QString &key)
{
    return IniFile(path).valueExists(section, key);
}

bool WriteIniString(const QString &path, const QString &section, const QString &key,
                    const QString &value)
{
    IniFile ini(path);
    ini.writeString(section, key, value);
    return ini.save();
}

bool WriteIniInteger(const QString &path, const QString &section, const QString &key, int value)
{
    return WriteIniString(path, section, key, QString::number(value));
}

bool WriteIniBool(const QString &path, const QString &section, const QString &key, bool value)
{
    return WriteIniString(path, section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool ReadIniBool(const QString &path, const QString &section, const QString &key, bool def)
{
    const IniFile ini(path);
    if (!ini.valueExists(section, key)) {
        WriteIniBool(path, section, key, def);
        return def;
    }
    return ini.readBool(section, key, def);
}

int ReadIniInteger(const QString &path, const QString &section, const QString &key, int def)
{
    const IniFile ini(path);
    if (!ini.valueExists(section, key)) {
        WriteIniInteger(path, section, key, def);
        return def;
    }
    return ini.readInteger(section, key, def);
}

QString ReadIniString(const QString &path, const QString &section, const QString &key,
                      const QString &def)
{
    const IniFile ini(path);
    if (!ini.valueExists(section, key)) {
        WriteIniString(path, section, key, def);
        return def;
    }
    return ini.readString(section, key, def);
}
