#pragma once

#include <QList>
#include <QString>

#include <functional>

class EditableResultSet;
class TPrintTool;

// The print layout of one slip type, read from its layout row: where each
// printed piece of a slip goes, in which font, and the run's output flags.
class SlipLayout
{
public:
    // Reads the current row of the print settings; a missing column throws
    // the database layer's error.
    static SlipLayout read(EditableResultSet &settingsRows);

    QString denName;
    QString formName;
    int prForm = 0;
    int showPD = 0;
    int lineSkip = 0;  // HINMEI_Y_SKIP
    int lineCount = 0; // HINMEI_GYOU: 9, or six lines for any other value

    bool nineLines() const { return lineCount == 9; }

    // One text record of a slip: the source column, how its text is cut,
    // and where the piece goes.
    struct Piece
    {
        QString column;
        int width = 0;  // right(width); 0 = the text as stored
        int offset = 0; // first byte of the piece in the right(width) text
        int length = 0; // bytes of the piece; 0 = all of it
        int x = 0;
        int y = 0;
        int size = 0;
        QString font;
    };
    // The records of one slip in the order they are written.
    const QList<Piece> &pieces() const { return m_pieces; }

private:
    QList<Piece> m_pieces;
};

// right(w) of a text: w blanks and the text, of which the last w bytes of the
// Shift-JIS text remain; then the bytes [offset, offset + length) of that. A
// double-byte character cut by either edge prints as a blank.
QString RightPiece(const QString &text, int width, int offset, int length);

// The text of a slip column as the database layer gives it; null is empty.
QString ColumnText(const QVariant &value);

// Writes the records of every slip in the set, one page each, into the open
// command file. Throws when a slip column is missing or writing fails.
void WriteSlipPages(const SlipLayout &layout, EditableResultSet &slips, TPrintTool &tool);

// Can the preview show paper of this size code?
bool CanPreviewPaper(int code);

// The print run of the marked slips of one slip type.
struct ComposeJob
{
    QString dataFile;  // the command file
    int paperCode = 0; // the paper set on the printer
    int leftOffset = 0;
    int topOffset = 0;
    // Batch runs print at once on the current printer: no printer dialog,
    // no progress dialog, no preview.
    bool batch = false;
};

// How the command file left the run.
enum class ComposeOutput
{
    None,      // nothing was printed or previewed
    Printed,   // handed to printing (printed or cancelled there)
    Previewed, // shown in the preview
};

// Writes every slip of the set onto its own page of the command file from the
// layout, then prints it or shows the preview (ShowPD 1 and paper the
// preview can show). The closing steps run also after an error that came
// once the writer was set up, so the pages written so far are printed or
// previewed; the error is then rethrown. output tells what happened.
void ComposePrintData(const SlipLayout &layout, EditableResultSet &slips, const ComposeJob &job,
                      ComposeOutput *output = nullptr);
