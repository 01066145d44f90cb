// One long line in a print command file: the reader's time against a bare
// read of the same file that finds the line end with memchr, at 1 MiB and at
// 16 MiB, so a reader that searches a line again after every chunk shows as
// a ratio growing with the length.
//   bench-command-file [--size N]   the long line in MiB (default 16)

#include "CommandFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

QString writeLine(const QTemporaryDir &dir, qint64 bytes)
{
    const QString path = dir.filePath(QStringLiteral("long-%1.tmp").arg(bytes));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    const QByteArray chunk(1 << 20, 'T');
    for (qint64 left = bytes; left > 0; left -= chunk.size())
        f.write(chunk.constData(), std::min<qint64>(left, chunk.size()));
    f.write("\r\nE;\r\n");
    return path;
}

// Seconds per run of fn, best of three.
template <typename Fn> double best(Fn &&fn)
{
    double out = 1e9;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer clock;
        clock.start();
        fn();
        out = std::min(out, clock.nsecsElapsed() / 1e9);
    }
    return out;
}

qint64 readerLine(const QString &path)
{
    CommandFile file(path);
    return file.readLine().size();
}

qint64 bareLine(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray all = f.readAll();
    const void *end = std::memchr(all.constData(), '\r', size_t(all.size()));
    return end ? static_cast<const char *>(end) - all.constData() : all.size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    qint64 mib = 16;
    const int at = args.indexOf(QStringLiteral("--size"));
    if (at > 0 && at + 1 < args.size())
        mib = std::max(1, args[at + 1].toInt());
    QTemporaryDir dir;
    double ratioSmall = 0, ratioLarge = 0;
    for (qint64 size : {qint64(1) << 20, mib << 20}) {
        const QString path = writeLine(dir, size);
        if (path.isEmpty() || readerLine(path) != size || bareLine(path) != size) {
            std::fprintf(stderr, "the long line was not read whole\n");
            return 1;
        }
        const double reader = best([&] { readerLine(path); });
        const double bare = best([&] { bareLine(path); });
        std::printf("line-%lldMiB: %.2f ms\n", size >> 20, reader * 1000);
        std::printf("floor-%lldMiB: %.2f ms\n", size >> 20, bare * 1000);
        (size == (qint64(1) << 20) ? ratioSmall : ratioLarge) = reader / bare;
    }
    std::printf("ratio long-line-1MiB: %.3f\n", ratioSmall);
    std::printf("ratio long-line-%lldMiB: %.3f\n", mib, ratioLarge);
    return 0;
}
