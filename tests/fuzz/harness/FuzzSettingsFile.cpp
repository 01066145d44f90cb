// Arbitrary bytes as a settings file: reading every key of every section,
// writing the file back unchanged and with one key changed.
//   - a file saved without changes is left as it was, byte for byte;
//   - after a write, that key reads back as written and every other key of
//     the file reads as before.
#include "settings/IniFile.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <cstdio>
#include <cstdlib>

namespace {

QString g_path;

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

QByteArray readBack()
{
    QFile f(g_path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

using Values = QHash<QString, QString>; // "section\nkey" upper-cased → value

Values allValues(const IniFile &ini)
{
    Values out;
    for (const QString &s : ini.sections()) {
        for (const QString &k : ini.keys(s)) {
            const QString name = s.toUpper() + QLatin1Char('\n') + k.toUpper();
            check(ini.valueExists(s, k), "a listed key exists");
            if (!out.contains(name))
                out.insert(name, ini.readString(s, k, QStringLiteral("\x01")));
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Memory-backed when the machine has it: the harness reads and writes
    // the file several times per input.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static const QString dir = base + QStringLiteral("/tambrel-fuzz-ini-%1").arg(getpid());
    QDir().mkpath(dir);
    g_path = dir + QStringLiteral("/TAMBREL.ini");
    std::atexit([] { QDir(dir).removeRecursively(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        QFile f(g_path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(input);
    }
    IniFile ini(g_path);
    const Values before = allValues(ini);

    // Saving without a change leaves the file alone.
    check(ini.save(), "an unchanged save succeeds");
    check(readBack() == input, "an unchanged save leaves the bytes");

    // One key written: it reads back, the others stay.
    const QString section = ini.sections().value(0, QStringLiteral("Fuzz"));
    const QString key = ini.keys(section).value(0, QStringLiteral("Key"));
    const bool keyOk = !key.contains(QLatin1Char('=')) && !key.contains(QLatin1Char('\n')) &&
                       !key.contains(QLatin1Char('\r')) && !key.contains(QChar(0xFFFD)) &&
                       !section.contains(QLatin1Char(']')) && !section.contains(QChar(0xFFFD));
    // A write replaces the file and syncs it to disk: one input in 32
    // takes that way, so the reading runs millions of times.
    if (!keyOk || qHash(input) % 32 != 0)
        return 0;
    IniFile writer(g_path);
    writer.writeString(section, key, QStringLiteral("値1"));
    if (!writer.save())
        return 0; // a name the code page cannot hold
    const IniFile after(g_path);
    check(after.readString(section, key, QString()) == QStringLiteral("値1"), "written value");
    Values expected = before;
    expected.insert(section.toUpper() + QLatin1Char('\n') + key.toUpper(), QStringLiteral("値1"));
    const Values got = allValues(after);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        check(got.value(it.key(), QStringLiteral("\x02")) == it.value(), "other keys kept");
    return 0;
}
