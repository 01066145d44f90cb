#include "IniFile.h"

#include "text/ShiftJis.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <unistd.h>

namespace {

// A save takes milliseconds; a program still waiting after this gives up.
constexpr int kLockWaitMs = 20000;

// The file's lock: a lock of the system on a file beside it
// ("TAMBREL.ini.lock"), which the system releases with the process however it
// ends, so a killed program never leaves the others locked out.
class SettingsLock
{
public:
    explicit SettingsLock(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path + QStringLiteral(".lock")).constData(),
                      O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0) {
            // A folder that takes no new files: nobody can write the settings
            // file there but in place; go on without the lock.
            m_held = errno == EACCES || errno == EROFS || errno == EPERM;
            return;
        }
        QElapsedTimer clock;
        clock.start();
        unsigned long pause = 1;
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || clock.elapsed() > kLockWaitMs)
                return;
            QThread::msleep(pause);
            pause = std::min(pause * 2, 16UL);
        }
        m_held = true;
    }
    ~SettingsLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    SettingsLock(const SettingsLock &) = delete;
    SettingsLock &operator=(const SettingsLock &) = delete;
    bool held() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = false;
};

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

QByteArray readFile(const QString &path, bool *opened)
{
    QFile file(path);
    *opened = file.open(QIODevice::ReadOnly);
    return *opened ? file.readAll() : QByteArray();
}

bool writeOnlyIfAllowed(const QString &path)
{
    // A file without any write permission is read-only, also for root.
    const QFileDevice::Permissions writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    const QFileInfo info(path);
    return !info.exists() || (QFile::permissions(path) & writeBits);
}

// Puts the bytes into place whole: a program reading the file meanwhile sees
// the old or the new content, never a part, and a crash leaves one of them.
bool replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // A folder that takes no new files but holds a writable settings file
    // is written in place, as it always was.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

IniFile::IniFile(const QString &path) : m_path(path)
{
    bool opened = false;
    const QByteArray bytes = readFile(path, &opened);
    m_loaded = opened;
    parse(bytes);
}

IniFile::IniFile(const QString &path, const QByteArray &bytes) : m_path(path), m_loaded(true)
{
    parse(bytes);
}

void IniFile::parse(const QByteArray &bytes)
{
    m_sections.clear();
    m_sections.append(Section{});
    QList<QByteArray> rawLines = bytes.split('\n');
    if (!rawLines.isEmpty() && rawLines.last().isEmpty())
        rawLines.removeLast();
    for (QByteArray raw : rawLines) {
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QString line = ShiftJis::decode(raw);
        const QString t = trimmedAscii(line);
        if (t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']'))) {
            Section s;
            s.name = trimmedAscii(t.mid(1, t.indexOf(QLatin1Char(']')) - 1));
            s.header = line;
            s.rawHeader = raw;
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
        l.raw = raw;
        l.fromFile = true;
        m_sections.last().lines.append(l);
    }
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    for (Section &s : m_sections) {
        if (!s.header.isNull() && s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

const IniFile::Line *IniFile::findKey(const QString &section, const QString &key) const
{
    // Every copy of a repeated section is searched, the first copy first.
    for (const Section &s : m_sections) {
        if (s.header.isNull() || s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const Line &l : s.lines) {
            if (!l.key.isEmpty() && l.key.compare(key, Qt::CaseInsensitive) == 0)
                return &l;
        }
    }
    return nullptr;
}

IniFile::Line *IniFile::findKey(const QString &section, const QString &key)
{
    return const_cast<Line *>(static_cast<const IniFile *>(this)->findKey(section, key));
}

bool IniFile::sectionExists(const QString &section) const
{
    return const_cast<IniFile *>(this)->findSection(section) != nullptr;
}

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    return findKey(section, key) != nullptr;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    const Line *l = findKey(section, key);
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
        if (s.header.isNull())
            continue;
        bool seen = false;
        for (const QString &name : std::as_const(out))
            seen = seen || name.compare(s.name, Qt::CaseInsensitive) == 0;
        if (!seen)
            out << s.name;
    }
    return out;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList out;
    for (const Section &s : m_sections) {
        if (s.header.isNull() || s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const Line &l : s.lines) {
            if (!l.key.isEmpty() && !out.contains(l.key, Qt::CaseInsensitive))
                out << l.key;
        }
    }
    return out;
}

bool IniFile::apply(const Change &change)
{
    if (change.kind == Change::Erase) {
        bool erased = false;
        for (qsizetype i = m_sections.size() - 1; i >= 1; --i) {
            if (m_sections.at(i).name.compare(change.section, Qt::CaseInsensitive) == 0) {
                m_sections.remove(i);
                erased = true;
            }
        }
        return erased;
    }
    if (Line *l = findKey(change.section, change.key)) {
        if (change.kind == Change::Default || l->value == change.value)
            return false;
        l->value = change.value;
        l->raw.clear();
        l->fromFile = false;
        return true;
    }
    Section *s = findSection(change.section);
    if (!s) {
        // A new section goes at the end, after a blank line.
        bool hasContent = false;
        for (const Section &sec : std::as_const(m_sections))
            hasContent = hasContent || !sec.header.isNull() || !sec.lines.isEmpty();
        Section &last = m_sections.last();
        const bool endsBlank = !last.lines.isEmpty() && last.lines.last().key.isEmpty() &&
                               isBlankLine(last.lines.last().text);
        if (hasContent && !endsBlank)
            last.lines.append(Line{QStringLiteral(""), {}, {}, {}, false});
        Section n;
        n.name = change.section;
        n.header = QLatin1Char('[') + change.section + QLatin1Char(']');
        m_sections.append(n);
        s = &m_sections.last();
    }
    // A new key follows the last key of its section, before trailing blank lines.
    qsizetype pos = s->lines.size();
    while (pos > 0 && s->lines.at(pos - 1).key.isEmpty() && isBlankLine(s->lines.at(pos - 1).text))
        --pos;
    s->lines.insert(pos, Line{QString(), change.key, change.value, {}, false});
    return true;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const Change c{Change::Write, section, key, value};
    apply(c);
    m_changes.append(c);
}

void IniFile::writeDefault(const QString &section, const QString &key, const QString &value)
{
    const Change c{Change::Default, section, key, value};
    apply(c);
    m_changes.append(c);
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
    const Change c{Change::Erase, section, {}, {}};
    apply(c);
    m_changes.append(c);
}

QByteArray IniFile::toBytes(bool *ok) const
{
    QByteArray bytes;
    bool good = true;
    auto add = [&](const QString &text) {
        QByteArray encoded;
        if (ShiftJis::tryEncode(text, &encoded))
            bytes += encoded;
        else
            good = false;
    };
    for (const Section &s : m_sections) {
        if (!s.header.isNull()) {
            if (!s.rawHeader.isNull())
                bytes += s.rawHeader;
            else
                add(s.header);
            bytes += "\r\n";
        }
        for (const Line &l : s.lines) {
            if (l.fromFile)
                bytes += l.raw;
            else if (l.key.isEmpty())
                add(l.text);
            else
                add(l.key + QLatin1Char('=') + l.value);
            bytes += "\r\n";
        }
    }
    if (ok)
        *ok = good;
    return bytes;
}

bool IniFile::save()
{
    // Nothing to do when what this object would write is there already.
    {
        IniFile current(m_path);
        bool changed = false;
        for (const Change &c : std::as_const(m_changes))
            changed = current.apply(c) || changed;
        if (!changed) {
            m_sections = current.m_sections;
            m_loaded = current.m_loaded;
            m_changes.clear();
            return true;
        }
    }
    if (!writeOnlyIfAllowed(m_path))
        return false;
    // One program at a time reads, changes and writes the file.
    const SettingsLock lock(m_path);
    if (!lock.held())
        return false;
    bool opened = false;
    IniFile fresh(m_path, readFile(m_path, &opened));
    bool changed = false;
    for (const Change &c : std::as_const(m_changes))
        changed = fresh.apply(c) || changed;
    if (changed) {
        bool ok = false;
        const QByteArray bytes = fresh.toBytes(&ok);
        if (!ok || !replaceFile(m_path, bytes))
            return false;
    }
    m_sections = fresh.m_sections;
    m_loaded = true;
    m_changes.clear();
    return true;
}

bool EnsureSettingsFile(const QString &path)
{
    if (QFileInfo::exists(path))
        return true;
    QFile file(path);
    // Never truncates: another program may have made it meanwhile.
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
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

namespace {

// The key's text, written back with the default when the file lacks it.
// Another program may add the key between the read and the write; its value
// then stands.
std::optional<QString> readWithDefault(const QString &path, const QString &section,
                                       const QString &key, const QString &def)
{
    IniFile ini(path);
    if (ini.valueExists(section, key))
        return ini.readString(section, key, def);
    ini.writeDefault(section, key, def);
    ini.save();
    if (ini.valueExists(section, key))
        return ini.readString(section, key, def);
    return std::nullopt;
}

} // namespace

bool ReadIniBool(const QString &path, const QString &section, const QString &key, bool def)
{
    return ReadIniInteger(path, section, key, def ? 1 : 0) != 0;
}

int ReadIniInteger(const QString &path, const QString &section, const QString &key, int def)
{
    const std::optional<QString> text = readWithDefault(path, section, key, QString::number(def));
    int v = def;
    if (!text || !IniFile::parseInteger(*text, &v))
        return def;
    return v;
}

QString ReadIniString(const QString &path, const QString &section, const QString &key,
                      const QString &def)
{
    return readWithDefault(path, section, key, def).value_or(def);
}
