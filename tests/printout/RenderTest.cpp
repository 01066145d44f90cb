#include "CommandFile.h"
#include "Printout.h"
#include "ScriptedMessages.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Renders command text onto a white image of 100 x 100 pixels at one pixel
// per 0.1 mm (scale 1), zoom 10, and no page offsets.
class RenderTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetPrintoutState(); }
    void TearDown() override { ResetPrintoutState(); }

    QImage render(const QByteArray &commands, bool *reachedEnd = nullptr, int zoom = 10)
    {
        const QString path = dir.filePath("r.tmp");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(commands);
        f.close();
        state = CanvasState(); // what one rendering carries from record to record
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        CommandFile file(path);
        QPainter p(&image);
        const bool end = RenderPage(file, p, state, zoom, 1.0, 1.0);
        if (reachedEnd)
            *reachedEnd = end;
        return image;
    }

    QTemporaryDir dir;
    CanvasState state;
};

QRgb at(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace

TEST(Rounding, HalvesToEven)
{
    const struct
    {
        double in;
        int out;
    } cases[] = {{0.5, 0},   {1.5, 2},          {2.5, 2},           {3.5, 4},
                 {-0.5, 0},  {-1.5, -2},        {2.4999, 2},        {2.5001, 3},
                 {-2.6, -3}, {1e300, 10000000}, {-1e300, -10000000}};
    for (const auto &c : cases)
        EXPECT_EQ(rnd(c.in), c.out) << c.in;
    EXPECT_EQ(rnd(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(PaperTable, SizesAndClasses)
{
    ResetPrintoutState();
    const struct
    {
        int code, width, height;
        PaperClass cls;
    } cases[] = {
        {8, 297, 420, PaperClass::Listed},  {9, 210, 297, PaperClass::Listed},
        {11, 148, 210, PaperClass::Listed}, {12, 250, 354, PaperClass::Listed},
        {13, 182, 257, PaperClass::Listed}, {16, 254, 356, PaperClass::Listed},
        {17, 280, 432, PaperClass::Listed}, {44, 229, 280, PaperClass::Listed},
        {45, 254, 280, PaperClass::Listed}, {46, 381, 280, PaperClass::Listed},
        {90, 305, 280, PaperClass::Listed}, {256, 0, 0, PaperClass::Unlisted},
        {1, 0, 0, PaperClass::Unlisted},    {0, 0, 0, PaperClass::Unlisted},
    };
    for (const auto &c : cases) {
        const PaperMillimetres p = PaperSizeToMillimetres(c.code);
        EXPECT_EQ(p.width, c.width) << c.code;
        EXPECT_EQ(p.height, c.height) << c.code;
        EXPECT_EQ(p.paperClass, c.cls) << c.code;
    }
    // User-defined once a P record gave both sizes (integer division to mm).
    PrintoutState().customWidth = 2419;
    PrintoutState().customLength = 1016;
    const PaperMillimetres custom = PaperSizeToMillimetres(256);
    EXPECT_EQ(custom.width, 241);
    EXPECT_EQ(custom.height, 101);
    EXPECT_EQ(custom.paperClass, PaperClass::Custom);
    PrintoutState().customLength = 0;
    EXPECT_EQ(PaperSizeToMillimetres(256).paperClass, PaperClass::Unlisted);
    ResetPrintoutState();
}

TEST(Geometry, PageOffsetCentresThePrintableArea)
{
    // A4 width 210: 205 printable leaves 2.5 mm a side (rounds to 2), 203 leaves 3.5 (4).
    EXPECT_EQ(PageOffset(0, 210, 205), -20);
    EXPECT_EQ(PageOffset(0, 210, 203), -40);
    EXPECT_EQ(PageOffset(55, 210, 210), 55);
    EXPECT_EQ(PageOffset(-10, 297, 290), -50);
}

TEST(Colours, NumbersStylesAndFonts)
{
    EXPECT_EQ(ColorFromNumber(0), QColor(0, 0, 0));
    EXPECT_EQ(ColorFromNumber(1), QColor(0x80, 0, 0));
    EXPECT_EQ(ColorFromNumber(8), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(ColorFromNumber(12), QColor(0xFF, 0, 0xFF));
    EXPECT_EQ(ColorFromNumber(14), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(ColorFromNumber(15), QColor(0xFF, 0xFF, 0));
    EXPECT_EQ(ColorFromNumber(36), QColor(0, 0, 0));
    EXPECT_EQ(ColorFromNumber(-1), QColor(0, 0, 0));
    EXPECT_EQ(ColorFromNumber(20), QApplication::palette().color(QPalette::Base)); // window

    const struct
    {
        const char *style;
        bool b, i, u, s;
    } styles[] = {
        {"B", 1, 0, 0, 0},  {"I", 0, 1, 0, 0},    {"U", 0, 0, 1, 0},   {"S", 0, 0, 0, 1},
        {"bi", 1, 1, 0, 0}, {"BU", 1, 0, 1, 0},   {"BS", 1, 0, 0, 1},  {"IU", 0, 1, 1, 0},
        {"IS", 0, 1, 0, 1}, {"BIU", 1, 1, 1, 0},  {"BIS", 1, 1, 0, 1}, {"IB", 0, 0, 0, 0},
        {"US", 0, 0, 0, 0}, {"BIUS", 0, 0, 0, 0}, {"", 0, 0, 0, 0},    {"X", 0, 0, 0, 0},
    };
    for (const auto &c : styles) {
        const FontStyle f = FontStyleFromText(QString::fromLatin1(c.style));
        EXPECT_EQ(f.bold, c.b) << c.style;
        EXPECT_EQ(f.italic, c.i) << c.style;
        EXPECT_EQ(f.underline, c.u) << c.style;
        EXPECT_EQ(f.strikeOut, c.s) << c.style;
    }

    const QStringList &sjis = FontList(128);
    ASSERT_FALSE(sjis.isEmpty()) << "no Japanese font installed";
    EXPECT_EQ(CharsetForFace(sjis.first()), 128);
    EXPECT_EQ(CharsetForFace(sjis.first().toLower()), 128);
    // The Windows face counts as its installed substitute.
    EXPECT_EQ(CharsetForFace(QStringLiteral("ＭＳ 明朝")), 128);
    EXPECT_EQ(CharsetForFace(QStringLiteral("NoSuchFace")), 0);
}

TEST_F(RenderTest, ShapesFillsAndReturnValues)
{
    bool end = false;
    // A filled box (brush 9 red) with a black outline; the rest of the page
    // is after the E record and must not be drawn.
    QImage img = render("B10;10;50;50;0;0;0;9;0;\r\nE\r\nF0;0;100;100;4;\r\n", &end);
    EXPECT_FALSE(end);
    // Positions are moved by one device unit.
    EXPECT_EQ(at(img, 11, 30), 0x000000u); // outline
    EXPECT_EQ(at(img, 30, 30), 0xFF0000u); // fill
    EXPECT_EQ(at(img, 5, 5), 0xFFFFFFu);
    EXPECT_EQ(at(img, 80, 80), 0xFFFFFFu);

    // Pen style 5 has no outline; empty brush colour of B is white, of C black.
    img = render("B10;10;50;50;0;5;9;;0;\r\nC60;60;90;90;0;5;0;;0;\r\n", &end);
    EXPECT_TRUE(end);
    EXPECT_EQ(at(img, 11, 30), 0xFFFFFFu);
    EXPECT_EQ(at(img, 76, 76), 0x000000u);

    // F takes the colour and keeps the brush style the last shape left: hollow.
    img = render("B0;0;1;1;0;5;0;9;1;\r\nF10;10;90;90;11;\r\n");
    EXPECT_EQ(at(img, 50, 50), 0xFFFFFFu);
    img = render("F10;10;90;90;11;\r\n");
    EXPECT_EQ(at(img, 50, 50), 0x0000FFu);

    // A line with a pen 4 units wide.
    img = render("L0;50;99;50;4;0;2;;;\r\n");
    EXPECT_EQ(at(img, 30, 51), 0x008000u);
    EXPECT_EQ(at(img, 30, 40), 0xFFFFFFu);
}

TEST_F(RenderTest, ZoomScalesTheCanvas)
{
    const QImage img = render("F10;10;20;20;0;\r\n", nullptr, 20);
    // At 200 % the box from 11 to 21 covers 22 to 42.
    EXPECT_EQ(at(img, 30, 30), 0x000000u);
    EXPECT_EQ(at(img, 45, 45), 0xFFFFFFu);
}

TEST_F(RenderTest, TextOpaqueOrTransparentAndSizeRules)
{
    // Background 0 paints white under the text over a black fill.
    QImage img = render("F0;0;100;100;0;\r\nT5;5;WWWW;;8;;14;0;\r\n");
    int white = 0;
    for (int x = 6; x < 40; ++x)
        white += at(img, x, 7) == 0xFFFFFFu;
    EXPECT_GT(white, 20);
    // Transparent: white text strokes only, most of the row stays black.
    img = render("F0;0;100;100;0;\r\nT5;5;WWWW;;8;;14;1;\r\n");
    white = 0;
    for (int x = 6; x < 40; ++x)
        white += at(img, x, 7) == 0xFFFFFFu;
    EXPECT_LT(white, 10);

    // Size 0 is 12 points; a negative size keeps the size before it.
    render("T0;0;a;;0;\r\n");
    EXPECT_EQ(state.fontHeight, (12 * 96 + 36) / 72);
    render("T0;0;a;;30;\r\nT0;0;b;;-1;\r\n");
    EXPECT_EQ(state.fontHeight, (30 * 96 + 36) / 72);
    EXPECT_EQ(state.font.family(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_TRUE(state.font.fixedPitch());
}

TEST_F(RenderTest, MissingImageIsToldAndDrawingGoesOn)
{
    ScriptedMessages messages;
    const QString missing = dir.filePath("nope.bmp");
    const QImage img = render("I0;0;50;50;" + missing.toUtf8() + ";\r\nF60;60;90;90;9;\r\n");
    EXPECT_EQ(messages.texts(), QStringList{QLatin1Char('"') + missing + "\"が見つかりません!"});
    EXPECT_EQ(at(img, 75, 75), 0xFF0000u);
}

TEST_F(RenderTest, BitmapIsStretchedOverTheRectangle)
{
    QImage bmp(2, 2, QImage::Format_RGB32);
    bmp.fill(QColor(0, 0, 0xFF));
    bmp.setPixelColor(1, 1, QColor(0xFF, 0, 0));
    const QString path = dir.filePath("img.bmp");
    ASSERT_TRUE(bmp.save(path, "BMP"));
    ScriptedMessages messages;
    const QImage img = render("I9;9;49;49;" + path.toUtf8() + ";\r\n");
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(at(img, 15, 15), 0x0000FFu);
    EXPECT_EQ(at(img, 45, 45), 0xFF0000u);
    EXPECT_EQ(at(img, 60, 60), 0xFFFFFFu);

    // A file that is not a bitmap is told, not drawn.
    const QString bad = dir.filePath("bad.bmp");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a bitmap");
    f.close();
    render("I0;0;50;50;" + bad.toUtf8() + ";\r\n");
    EXPECT_EQ(messages.texts().last(), QLatin1Char('"') + bad + "\"を読み込めません!");
}

TEST_F(RenderTest, DisplayOffsetAndPageOffsetMovePositions)
{
    PrintoutState().pageOffsetX = 20; // 0.1 mm, scale 1: 20 device units
    PrintoutState().displayX = 5;     // device units, subtracted off the printer
    const QImage img = render("F0;0;10;10;0;\r\n");
    // 0 -> 0 + 1 + 20 - 5 = 16, 10 -> 26.
    EXPECT_EQ(at(img, 15, 5), 0xFFFFFFu);
    EXPECT_EQ(at(img, 17, 5), 0x000000u);
    EXPECT_EQ(at(img, 25, 5), 0x000000u);
    EXPECT_EQ(at(img, 27, 5), 0xFFFFFFu);
}

TEST_F(RenderTest, HugeValuesStayBounded)
{
    bool end = false;
    render("T2147483647;-2147483648;x;;2147483647;\r\nB-2147483648;0;2147483647;99;2147483647;"
           "6;0;1;7;\r\nR0;0;99;99;2147483647;2147483647;1;0;0;0;0;\r\n",
           &end);
    EXPECT_TRUE(end);
}

namespace {

// Looks at the page at the moment a message is shown.
class PageAtMessage : public MessageHandler
{
public:
    explicit PageAtMessage(const QImage &page) : m_page(page) { Messages::setHandler(this); }
    ~PageAtMessage() override { Messages::setHandler(nullptr); }
    MsgResult showMessage(const MessageRequest &request) override
    {
        texts << request.text;
        pixelsAtMessage << (m_page.pixel(75, 75) & 0xFFFFFF);
        return MsgResult::Ok;
    }
    bool inputQuery(const InputRequest &, QString &) override { return false; }

    QStringList texts;
    QList<QRgb> pixelsAtMessage;

private:
    const QImage &m_page;
};

} // namespace

TEST_F(RenderTest, PictureProblemsAreToldAfterThePageIsDrawn)
{
    const QString path = dir.filePath("r.tmp");
    const QString missing = dir.filePath("gone.bmp");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // The missing picture comes first; the red square after it.
    f.write("I0;0;50;50;" + missing.toUtf8() + ";\r\nF60;60;90;90;9;\r\n");
    f.close();
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    PageAtMessage watcher(image);
    CommandFile file(path);
    {
        QPainter p(&image);
        RenderPage(file, p, state, 10, 1.0, 1.0);
    }
    ASSERT_EQ(watcher.texts, QStringList{QLatin1Char('"') + missing + "\"が見つかりません!"});
    EXPECT_EQ(watcher.pixelsAtMessage, QList<QRgb>{0xFF0000u});
}
