#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>
#include <QStringList>

class CommandFile;
class QPainter;
class TVDBPrint;

enum class PaperClass
{
    Listed = 0,
    Custom = 1,
    Unlisted = 2,
};

// What the interpreter keeps for the program run: the job's files and
// offsets, and what the form overlay's P, M and D records said.
struct InterpreterState
{
    QString formPath;
    QString dataPath;
    int leftOffset = 0;
    int topOffset = 0;
    quint8 printForm = 0;
    int pageOffsetX = 0;
    int pageOffsetY = 0;
    PaperClass paperClass = PaperClass::Listed;
    int customWidth = 0;
    int customLength = 0;
    int marginTop = 0;
    int marginLeft = 0;
    bool marginSeen = false;
    int displayX = 0;
    int displayY = 0;
    bool cancelled = false;
    bool rangeMode = false;
};

InterpreterState &PrintoutState();
// The files and offsets of the next job or preview.
void SetJobSources(const QString &formPath, const QString &dataPath, int topOffset, int leftOffset,
                   quint8 printForm);
// Back to the values of program start.
void ResetPrintoutState();

// Pen, brush and font as the last record left them; one per canvas, kept
// across the pages of a job.
struct CanvasState
{
    int fontHeight = 0; // logical units; 0 = not set yet (12 points)
    QFont font;
    QPen pen{Qt::black, 0, Qt::SolidLine};
    Qt::BrushStyle brushStyle = Qt::SolidPattern;
    QColor brushColor = Qt::white;
};

// Halves go to the even neighbour; the result is kept within the range a
// device coordinate can sensibly take.
int rnd(double value);

struct PaperMillimetres
{
    int width = 0;
    int height = 0;
    PaperClass paperClass = PaperClass::Unlisted;
};
PaperMillimetres PaperSizeToMillimetres(int code);

// Colour numbers of the command files (0 to 35, others black).
QColor ColorFromNumber(int number);
Qt::PenStyle PenStyleFromNumber(int number);
Qt::BrushStyle BrushStyleFromNumber(int number);
// The font style letters: bold, italic, underline, strike-out.
struct FontStyle
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};
FontStyle FontStyleFromText(const QString &style);

// The face lists by character set, built from the installed families once.
const QStringList &FontList(int charset);
// 128, 2, 238, 255 or 0 for a face name (compared ignoring case; a Windows
// face counts as its installed substitute).
int CharsetForFace(const QString &face);

// Draws one page of an open command file; true when the end of the file was
// reached, false when an E record ended the page. zoom in tenths; scales in
// device units per 0.1 mm. A picture that cannot be drawn is left out and
// told through the message service once the page is drawn.
bool RenderPage(CommandFile &file, QPainter &canvas, int zoom, double scaleX, double scaleY);
bool RenderPage(CommandFile &file, QPainter &canvas, CanvasState &state, int zoom, double scaleX,
                double scaleY);
// Positions the file at the start of page n (from the start of the file).
bool SkipToPage(CommandFile &file, int n, bool wrap);
// 1 + the number of E records; 1 for an empty path; a missing file is told
// and counts 1.
int CountPages(const QString &path);

// The page offset for one axis: the offset moved by half the paper the
// printable area leaves, in whole millimetres.
int PageOffset(int offset, int paperMm, int printableMm);

struct PaperGeometry
{
    int width = 0;  // mm, in the printer's orientation
    int height = 0; // mm
    PaperClass paperClass = PaperClass::Unlisted;
};
// Reads the form overlay's M and P records (and D for the preview), sets the
// printer's custom paper and computes the page offsets into the state.
PaperGeometry RunGeometry(TVDBPrint &printer, bool readDisplayOffset);

enum class PrintOutcome
{
    Printed,
    Cancelled,
    NotStarted,
    Failed, // a command file could not be read part way through
};
// How the last PrintCommandFile ended; -1 covers printed and not started alike.
PrintOutcome LastPrintOutcome();
void SetLastPrintOutcome(PrintOutcome outcome);
