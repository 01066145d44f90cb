#include "Printout.h"

#include "CommandFile.h"
#include "PrintoutTexts.h"
#include "VDBPrint.h"
#include "app/Messages.h"
#include "settings/WinColor.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

InterpreterState g_state;
PrintOutcome g_lastOutcome = PrintOutcome::Printed;

// Far beyond any paper at any resolution, and small enough that the sums of
// the transform cannot overflow.
constexpr double CoordinateLimit = 1.0e7;
constexpr int MaxFontHeight = 20000;
constexpr int MaxPenWidth = 100000;

int clampToInt(qint64 v)
{
    return static_cast<int>(std::clamp<qint64>(v, -static_cast<qint64>(CoordinateLimit) * 4,
                                               static_cast<qint64>(CoordinateLimit) * 4));
}

struct Transform
{
    double sx = 1;
    double sy = 1;
    int ox = 0;
    int oy = 0;
    int dx = 0;
    int dy = 0;

    int x(int v) const { return clampToInt(qint64(rnd(v * sx)) + 1 + ox - dx); }
    int y(int v) const { return clampToInt(qint64(rnd(v * sy)) + 1 + oy - dy); }
};

QRectF cornerRect(int x1, int y1, int x2, int y2)
{
    return QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
}

// The Windows system colours 1 to 20 as the desktop's palette gives them.
struct CachedImage
{
    QDateTime modified;
    qint64 size = -1;
    QImage image;
};

// Forms repeat their images on every page; read each file once while it is unchanged.
const QImage *loadBitmap(const QString &path)
{
    static QHash<QString, CachedImage> cache;
    const QFileInfo info(path);
    CachedImage &entry = cache[path];
    if (entry.size != info.size() || entry.modified != info.lastModified()) {
        QImageReader reader(path, "BMP");
        entry.image = reader.read();
        entry.size = info.size();
        entry.modified = info.lastModified();
    }
    return entry.image.isNull() ? nullptr : &entry.image;
}

void applyFont(QPainter &canvas, CanvasState &state, const QString &face, const FontStyle &style)
{
    QFont &f = state.font;
    if (f.family() != face)
        f.setFamily(face);
    if (f.pixelSize() != state.fontHeight)
        f.setPixelSize(state.fontHeight);
    f.setBold(style.bold);
    f.setItalic(style.italic);
    f.setUnderline(style.underline);
    f.setStrikeOut(style.strikeOut);
    f.setFixedPitch(true);
    canvas.setFont(f);
}

void drawText(QPainter &canvas, CanvasState &state, CommandRecord &rec, const Transform &t)
{
    const int x = t.x(rec.number());
    const int y = t.y(rec.number());
    const QString text = rec.text();
    QString face = rec.text();
    const int size = rec.number();
    const QString styleField = rec.text();
    const int color = rec.number();
    const int background = rec.number();

    const int dpi = canvas.device() ? canvas.device()->logicalDpiX() : 96;
    FontStyle style;
    if (!styleField.isEmpty())
        style = FontStyleFromText(styleField);
    if (face.isEmpty())
        face = PrintoutTexts::DefaultFace;
    const int points = size == 0 ? 12 : size;
    if (points > 0) {
        const qint64 h = (qint64(points) * dpi + 36) / 72;
        state.fontHeight = static_cast<int>(std::clamp<qint64>(h, 1, MaxFontHeight));
    } else if (state.fontHeight == 0) {
        state.fontHeight = std::max(1, (12 * dpi + 36) / 72);
    }
    applyFont(canvas, state, face, style);
    if (!text.isEmpty()) {
        const QFontMetricsF fm(canvas.font(), canvas.device());
        if (background == 0) {
            canvas.fillRect(QRectF(x, y, fm.horizontalAdvance(text), fm.height()), Qt::white);
        }
        canvas.setPen(ColorFromNumber(color));
        canvas.drawText(QPointF(x, y + fm.ascent()), text);
        canvas.setPen(state.pen);
    }
    // The style and the colour last for one record only.
}

// Returns true for the inside-frame pen.
bool readPenAndBrush(CommandRecord &rec, CanvasState &state, const Transform &t,
                     int emptyBrushColor, bool usesBrush)
{
    const int width = rec.number();
    const int penStyle = rec.number();
    const int penColor = rec.number();
    const int brushColor = rec.number(emptyBrushColor);
    const int brushStyle = rec.number();
    const int w = std::clamp(rnd(width * t.sx), 0, MaxPenWidth);
    state.pen = QPen(ColorFromNumber(penColor), w, PenStyleFromNumber(penStyle), Qt::SquareCap,
                     Qt::MiterJoin);
    if (usesBrush) {
        state.brushColor = ColorFromNumber(brushColor);
        state.brushStyle = BrushStyleFromNumber(brushStyle);
    }
    return penStyle == 6;
}

// Hatches are drawn over white, as on an opaque background.
void fillShape(QPainter &canvas, const CanvasState &state, const std::function<void()> &draw)
{
    canvas.setPen(Qt::NoPen);
    if (state.brushStyle != Qt::SolidPattern && state.brushStyle != Qt::NoBrush) {
        canvas.setBrush(Qt::white);
        draw();
    }
    canvas.setBrush(QBrush(state.brushColor, state.brushStyle));
    draw();
}

void drawShape(QPainter &canvas, CanvasState &state, CommandRecord &rec, const Transform &t,
               QChar letter)
{
    const int x1 = t.x(rec.number());
    const int y1 = t.y(rec.number());
    const int x2 = t.x(rec.number());
    const int y2 = t.y(rec.number());
    int cw = 0;
    int ch = 0;
    if (letter == QLatin1Char('R')) {
        cw = clampToInt(qint64(rnd(rec.number() * t.sx)) + 1);
        ch = clampToInt(qint64(rnd(rec.number() * t.sy)) + 1);
    }
    const int emptyBrush = letter == QLatin1Char('B') ? 14 : 0;
    const bool insideFrame = readPenAndBrush(rec, state, t, emptyBrush, letter != QLatin1Char('L'));
    canvas.setBackgroundMode(Qt::OpaqueMode);
    canvas.setBackground(Qt::white);
    if (letter == QLatin1Char('L')) {
        canvas.setPen(state.pen);
        canvas.drawLine(QPointF(x1, y1), QPointF(x2, y2));
        canvas.setBackgroundMode(Qt::TransparentMode);
        return;
    }
    QRectF r = cornerRect(x1, y1, x2, y2);
    const QPen pen = state.pen;
    if (insideFrame && pen.widthF() > 1) {
        // Strokes are centred on the outline; an inside-frame pen keeps within it.
        const double half = pen.widthF() / 2;
        r.adjust(half, half, -half, -half);
    }
    std::function<void()> draw;
    if (letter == QLatin1Char('B'))
        draw = [&] { canvas.drawRect(r); };
    else if (letter == QLatin1Char('R'))
        draw = [&] { canvas.drawRoundedRect(r, cw / 2.0, ch / 2.0, Qt::AbsoluteSize); };
    else
        draw = [&] { canvas.drawEllipse(r); };
    fillShape(canvas, state, draw);
    canvas.setBrush(Qt::NoBrush);
    canvas.setPen(pen);
    draw();
    canvas.setBackgroundMode(Qt::TransparentMode);
}

void drawFill(QPainter &canvas, CanvasState &state, CommandRecord &rec, const Transform &t)
{
    const int x1 = t.x(rec.number());
    const int y1 = t.y(rec.number());
    const int x2 = t.x(rec.number());
    const int y2 = t.y(rec.number());
    state.brushColor = ColorFromNumber(rec.number());
    const QRectF r = cornerRect(x1, y1, x2, y2);
    if (state.brushStyle == Qt::NoBrush)
        return;
    if (state.brushStyle != Qt::SolidPattern)
        canvas.fillRect(r, Qt::white);
    canvas.fillRect(r, QBrush(state.brushColor, state.brushStyle));
}

// A picture that cannot be drawn is noted; the page goes on without it.
void drawImage(QPainter &canvas, CommandRecord &rec, const Transform &t, QStringList &problems)
{
    const int x1 = t.x(rec.number());
    const int y1 = t.y(rec.number());
    const int x2 = t.x(rec.number());
    const int y2 = t.y(rec.number());
    const QString path = rec.text();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        problems << PrintoutTexts::notFound(path);
        return;
    }
    const QImage *image = loadBitmap(path);
    if (!image) {
        problems << PrintoutTexts::quotedPath(path, PrintoutTexts::UnreadableSuffix);
        return;
    }
    canvas.drawImage(cornerRect(x1, y1, x2, y2), *image);
}

} // namespace

InterpreterState &PrintoutState()
{
    return g_state;
}

void SetJobSources(const QString &formPath, const QString &dataPath, int topOffset, int leftOffset,
                   quint8 printForm)
{
    g_state.formPath = formPath;
    g_state.dataPath = dataPath;
    g_state.topOffset = topOffset;
    g_state.leftOffset = leftOffset;
    g_state.printForm = printForm;
}

void ResetPrintoutState()
{
    g_state = InterpreterState();
}

PrintOutcome LastPrintOutcome()
{
    return g_lastOutcome;
}

void SetLastPrintOutcome(PrintOutcome outcome)
{
    g_lastOutcome = outcome;
}

int rnd(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double clamped = std::clamp(value, -CoordinateLimit, CoordinateLimit);
    // nearbyint rounds in the default mode: to nearest, halves to even.
    return static_cast<int>(std::nearbyint(clamped));
}

PaperMillimetres PaperSizeToMillimetres(int code)
{
    struct Paper
    {
        int code, width, height;
    };
    static constexpr Paper table[] = {
        {8, 297, 420},  {9, 210, 297},  {11, 148, 210}, {12, 250, 354},
        {13, 182, 257}, {16, 254, 356}, {17, 280, 432}, {44, 229, 280},
        {45, 254, 280}, {46, 381, 280}, {90, 305, 280},
    };
    for (const Paper &p : table) {
        if (p.code == code)
            return {p.width, p.height, PaperClass::Listed};
    }
    if (code == 256 && g_state.customWidth > 0 && g_state.customLength > 0)
        return {g_state.customWidth / 10, g_state.customLength / 10, PaperClass::Custom};
    return {0, 0, PaperClass::Unlisted};
}

QColor ColorFromNumber(int number)
{
    static const QRgb table[16] = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
        0xC0C0C0, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF, 0xFFFF00,
    };
    if (number >= 0 && number <= 15)
        return QColor(table[number]);
    if (number >= 16 && number <= 35) {
        // The desktop palette; numbers past the system colours draw black.
        const QColor c = WinSystemColor(number - 15);
        return c.isValid() ? c : QColor(Qt::black);
    }
    return Qt::black;
}

Qt::PenStyle PenStyleFromNumber(int number)
{
    switch (number) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case 5:
        return Qt::NoPen;
    default:
        return Qt::SolidLine; // 0, 6 (inside frame) and the unassigned numbers
    }
}

Qt::BrushStyle BrushStyleFromNumber(int number)
{
    switch (number) {
    case 1:
        return Qt::NoBrush;
    case 2:
        return Qt::HorPattern;
    case 3:
        return Qt::VerPattern;
    case 4:
        return Qt::FDiagPattern;
    case 5:
        return Qt::BDiagPattern;
    case 6:
        return Qt::CrossPattern;
    case 7:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

FontStyle FontStyleFromText(const QString &style)
{
    const QString s = style.toUpper();
    FontStyle f;
    static const char *const table[] = {"B",  "I",  "U",  "S",   "BI", "BU",
                                        "BS", "IU", "IS", "BIU", "BIS"};
    for (const char *entry : table) {
        if (s != QLatin1String(entry))
            continue;
        for (const char *c = entry; *c; ++c) {
            f.bold |= *c == 'B';
            f.italic |= *c == 'I';
            f.underline |= *c == 'U';
            f.strikeOut |= *c == 'S';
        }
        break;
    }
    return f;
}

const QStringList &FontList(int charset)
{
    // Built once per run; each face once, as the families come.
    static const auto build = [](QFontDatabase::WritingSystem ws) {
        QStringList list;
        for (const QString &family : QFontDatabase::families(ws)) {
            if (list.isEmpty() || list.last().compare(family, Qt::CaseInsensitive) != 0)
                list.append(family);
        }
        return list;
    };
    static const QStringList shiftJis = build(QFontDatabase::Japanese);
    static const QStringList symbol = build(QFontDatabase::Symbol);
    // Qt's fonts are Unicode; it knows no Eastern European or OEM code page.
    static const QStringList none;
    switch (charset) {
    case 128:
        return shiftJis;
    case 2:
        return symbol;
    default:
        return none;
    }
}

int CharsetForFace(const QString &face)
{
    QStringList names{face};
    names += QFont::substitutes(face);
    for (int charset : {128, 2, 238, 255}) {
        for (const QString &name : names) {
            if (FontList(charset).contains(name, Qt::CaseInsensitive))
                return charset;
        }
    }
    return 0;
}

bool RenderPage(CommandFile &file, QPainter &canvas, int zoom, double scaleX, double scaleY)
{
    CanvasState state;
    return RenderPage(file, canvas, state, zoom, scaleX, scaleY);
}

bool RenderPage(CommandFile &file, QPainter &canvas, CanvasState &state, int zoom, double scaleX,
                double scaleY)
{
    if (zoom <= 0)
        zoom = 10;
    canvas.save();
    canvas.scale(zoom / 10.0, zoom / 10.0);
    canvas.setRenderHint(QPainter::Antialiasing, false);

    Transform t;
    t.sx = scaleX;
    t.sy = scaleY;
    t.ox = rnd(g_state.pageOffsetX * scaleX);
    t.oy = rnd(g_state.pageOffsetY * scaleY);
    const bool onPrinter = canvas.device() && canvas.device()->devType() == QInternal::Printer;
    if (!(onPrinter && g_state.printForm == 1)) {
        t.dx = g_state.displayX;
        t.dy = g_state.displayY;
    }

    bool reachedEnd = true;
    QStringList problems;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.isEmpty())
            continue;
        CommandRecord rec(line);
        const char letter = rec.letter().toLatin1();
        if (letter == 'E') {
            reachedEnd = false;
            break;
        }
        switch (letter) {
        case 'T':
            drawText(canvas, state, rec, t);
            break;
        case 'L':
        case 'B':
        case 'R':
        case 'C':
            drawShape(canvas, state, rec, t, rec.letter());
            break;
        case 'F':
            drawFill(canvas, state, rec, t);
            break;
        case 'I':
            drawImage(canvas, rec, t, problems);
            break;
        default:
            break; // P, M, D and lines without a record letter
        }
    }
    canvas.restore();
    // Told once the page is drawn: a message box must not run in the middle
    // of painting it.
    for (const QString &problem : problems)
        Messages::show(MsgType::Error, problem, MsgButton::Ok);
    return reachedEnd;
}

bool SkipToPage(CommandFile &file, int n, bool wrap)
{
    int i = 1;
    while (!file.atEnd() && i < n) {
        const QByteArray line = file.readLine();
        if (file.atEnd() && wrap) {
            file.rewind();
            ++i;
        } else if (!line.isEmpty() && (line.at(0) == 'E' || line.at(0) == 'e')) {
            ++i;
        }
    }
    return i >= n;
}

int CountPages(const QString &path)
{
    if (path.isEmpty())
        return 1;
    if (!QFileInfo(path).isFile()) {
        Messages::show(MsgType::Error, PrintoutTexts::notFound(path), MsgButton::Ok);
        return 1;
    }
    CommandFile file(path);
    int pages = 1;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (!line.isEmpty() && (line.at(0) == 'E' || line.at(0) == 'e'))
            ++pages;
    }
    return pages;
}

int PageOffset(int offset, int paperMm, int printableMm)
{
    return offset - rnd((paperMm - printableMm) / 2.0) * 10;
}

PaperGeometry RunGeometry(TVDBPrint &printer, bool readDisplayOffset)
{
    InterpreterState &s = g_state;
    s.marginSeen = false;
    if (!s.formPath.isEmpty() && QFileInfo(s.formPath).isFile()) {
        CommandFile form(s.formPath);
        bool pSeen = false;
        bool dSeen = !readDisplayOffset;
        while (!form.atEnd() && !(s.marginSeen && pSeen && dSeen)) {
            const QByteArray line = form.readLine();
            if (line.isEmpty())
                continue;
            CommandRecord rec(line);
            const QChar letter = rec.letter();
            if (letter == QLatin1Char('M') && !s.marginSeen) {
                s.marginTop = rec.number();
                s.marginLeft = rec.number();
                s.marginSeen = true;
            } else if (letter == QLatin1Char('P') && !pSeen) {
                s.customWidth = rec.number();
                s.customLength = rec.number();
                pSeen = true;
            } else if (letter == QLatin1Char('D') && !dSeen) {
                s.displayX = rec.number();
                s.displayY = rec.number();
                dSeen = true;
            }
        }
    }
    const int code = printer.GetPaperSize();
    const PaperMillimetres paper = PaperSizeToMillimetres(code);
    s.paperClass = paper.paperClass;
    if (code == 256 && paper.paperClass == PaperClass::Custom)
        printer.SetCustomPaper(s.customLength, s.customWidth);
    else
        printer.ClearCustomPaper();

    const int printableW = printer.printableWidthMm();
    const int printableH = printer.printableHeightMm();
    PaperGeometry g;
    g.paperClass = paper.paperClass;
    if (paper.paperClass == PaperClass::Unlisted) {
        g.width = printableW + 20;
        g.height = printableH + 20;
    } else {
        g.width = paper.width;
        g.height = paper.height;
        if (printer.landscape())
            std::swap(g.width, g.height);
    }
    s.pageOffsetX = PageOffset(s.marginSeen ? s.marginLeft : s.leftOffset, g.width, printableW);
    s.pageOffsetY = PageOffset(s.marginSeen ? s.marginTop : s.topOffset, g.height, printableH);
    return g;
}
