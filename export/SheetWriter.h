#pragma once

#include "app/AppError.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class Query;
struct ColumnInfo;

// How a result column reaches the sheet.
enum class FieldKind
{
    Text,     // text and wide text: a text cell in a column of text format
    Memo,     // text blob: a text cell
    Number,   // integers, floating point, fixed point
    Date,     // date cell in the date format
    DateTime, // date and time cell in the date format
    Time,     // time of day
    Boolean,  // the true or false text
    LeftOut,  // byte strings, binary blobs, arrays: no column at all
};

FieldKind FieldKindOf(const ColumnInfo &column);

// Every CR LF, then every remaining CR, LF and TAB, becomes one space.
QString CellText(const QString &text);

// Display width of a text in the sheet: a full-width character counts two.
int DisplayWidth(const QString &text);

// The look of the sheet.
struct SheetOptions
{
    int startRow = 1; // 1-based top-left cell of the table (header row)
    int startColumn = 1;
    QString trueText;
    QString falseText;
    // A number format of the sheet for date and date-time cells; empty: the
    // spreadsheet application's short date format.
    QString dateFormat;
    bool freeze = true;
    int freezeRow = 2; // 1-based cell whose upper and left neighbours stay fixed
    int freezeColumn = 2;
};

// What write() did.
struct SheetOutcome
{
    bool cancelled = false;
    QString path;    // the file written (empty when cancelled)
    qint64 rows = 0; // data rows written
    int columns = 0; // exported columns
    // Per exported column: its position among the exported columns when it
    // holds text (and gets the text format), otherwise -1.
    QVector<int> calcColArray;
};

// Rows written so far; returning false cancels the export.
using SheetProgress = std::function<bool(qint64 rows)>;

// A failure of the spreadsheet output; message() is the user's text.
class SheetError : public AppError
{
public:
    explicit SheetError(const QString &detail);
};

// Writes the rows of an open query into a new .xlsx file: a header row at the
// start cell (centred), one row per record below, text columns in text format,
// fitted widths, frozen panes. Rows are streamed, so memory does not grow
// with their number.
namespace SheetWriter {

enum class Existing
{
    Replace, // a file at the path is replaced
    Keep,    // never overwrite: the file gets "name (2).xlsx", ... instead
};

// The query is positioned on its first row (Query::openFirst) or has none.
// headers: the header of each exported column in order; missing entries are
// empty; nullptr uses the field names. The sheet is written to a temporary
// file beside the target and moved into place at the end, so a failure or a
// cancel leaves no file behind. Throws SheetError.
SheetOutcome write(Query &query, const QStringList *headers, const SheetOptions &options,
                   const QString &path, Existing existing, const SheetProgress &progress = {});

// How often progress is called, in rows.
inline constexpr int kProgressEvery = 64;

} // namespace SheetWriter
