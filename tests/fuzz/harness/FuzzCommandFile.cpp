// Arbitrary bytes as a print command file: reading, page counting, page
// positioning (indexed and sequential must agree) and rendering every page.
#include "CommandFile.h"
#include "PageIndex.h"
#include "Printout.h"
#include "app/Messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

class SilentMessages : public MessageHandler
{
public:
    MsgResult showMessage(const MessageRequest &) override { return MsgResult::Ok; }
    bool inputQuery(const InputRequest &, QString &) override { return false; }
};

QString g_path;

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: libFuzzer leaves through exit(), after Qt's own globals.
    new QApplication(*argc, *argv);
    static SilentMessages messages;
    Messages::setHandler(&messages);
    static const QString dir =
        QDir::tempPath() +
        QStringLiteral("/tambrel-fuzz-%1").arg(QCoreApplication::applicationPid());
    QDir().mkpath(dir);
    g_path = dir + QStringLiteral("/input.tmp");
    // libFuzzer ends through exit(): take the scratch folder along.
    std::atexit([] { QDir(dir).removeRecursively(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        QFile f(g_path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    ResetPrintoutState();
    const int pages = CountPages(g_path);
    PageIndex index;
    check(index.update(g_path), "index");
    check(index.pageCount() == pages, "page count");

    CommandFile seq(g_path);
    CommandFile indexed(g_path);
    for (bool wrap : {false, true}) {
        for (int n = 1; n <= std::min(pages + 2, 12); ++n) {
            seq.rewind();
            const bool a = SkipToPage(seq, n, wrap);
            const bool b = index.seekToPage(indexed, n, wrap);
            check(a == b, "skip result");
            check(!a || seq.pos() == indexed.pos(), "skip position");
        }
    }

    // Small canvas, printer-like scale at a tenth: every record is drawn.
    QImage image(160, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter canvas(&image);
    CanvasState state;
    CommandFile file(g_path);
    for (int page = 0; page < 64; ++page) {
        if (RenderPage(file, canvas, state, 10, 0.47, 0.47))
            break;
    }
    return 0;
}
