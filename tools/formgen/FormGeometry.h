#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QJsonObject>
#include <QMap>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <stdexcept>

// The geometry of the paper slips: one description per form (boxes, captions,
// paper) and one per slip type (item lines, column groups, window, edit
// positions). Pictures, screen edits, overlay files and layout rows are all
// derived from it, so they cannot disagree.
//
// Box coordinates are pixels in the window of the form's reference slip type
// (the picture sits at the form's screen origin); item boxes are given for
// line 1 with y relative to the row top. Paper coordinates are 0.1 mm from
// the top-left corner of the sheet.

class FormError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct FormBox
{
    QString id;
    QString caption;
    QRectF rect;
    // "t" caption cell above, "l" caption cell to the left, "h" caption in the
    // item header row, "-" none; capSize is the cell's height or width,
    // capSpan a width wider than the box (a caption over several boxes).
    QString capMode;
    double capSize = 0;
    double capSpan = 0;
    int chars = 0; // designed print capacity in bytes; 0 = the element's width
    // "box" drawn as a box, "in" lies inside a drawn box, "split" a dotted
    // rule along its top edge.
    QString style = QStringLiteral("box");
    bool item = false;
    int count = 0; // character boxes of a character row
};

struct FormText
{
    QString text;
    QRectF rect;
    bool frame = false;
};

struct FormVariant
{
    QString name;
    QString title;
    QString overlay;
    int colour = 0;
    QColor rgb;
};

struct Form
{
    QString id;
    double widthIn = 0;
    double lengthIn = 0;
    int bodyLeft = 0;
    int bodyRight = 0;
    int top = 0;
    int pitch = 0;
    QPointF origin;
    QSize picture;
    double kx = 0;
    double ky = 0;
    QVector<FormVariant> variants;
    QVector<FormBox> boxes; // header, footer and character rows
    QVector<FormBox> items;
    QVector<FormText> texts;
    double headerTop = 0;
    double headerBottom = 0;
    double rowHeight = 0;
    double rowsEnd = 0;
    QMap<QString, QJsonObject> edits;

    int paperWidth() const;  // 0.1 mm
    int paperLength() const; // 0.1 mm
    const FormBox *box(const QString &id) const;
    const FormVariant &variant(const QString &name) const;
};

struct SlipTypeGeometry
{
    QString id;
    QString formId;
    int lines = 0;
    int nameRows = 0;
    QMap<QString, bool> groups;
    QSize window;
    QSize picture; // empty: the form's picture size
    int fontPx = 12;
    QVector<int> lineTops;
    int rowTopOffset = 0;
    QMap<QString, QString> pictures; // variant -> file relative to the program folder
    QString picturesOf;
    QMap<QString, QString> displayNames; // variant -> display name
    QMap<QString, int> itemEditDy;
    QMap<QString, QJsonObject> edits;

    bool has(const QString &group) const;
};

struct ScreenEdit
{
    QString name;
    QString column;
    QRect rect;        // window coordinates
    int maxLength = 0; // 0: limited by the column
    QString setupKey;
    int tag = 0;
    int fontPx = 12;
    QStringList boxes;
    int line = 0; // 0 for header and footer edits
};

// One printed piece of the slip composition: which box it goes into, which
// layout columns place it, and how wide its text is.
struct PrintPiece
{
    enum Align
    {
        Left,
        Right,
        Centre
    };
    QString box;
    QString xColumn; // empty for the later characters of a character row
    QString yColumn;
    QString key; // the _S/_F group
    int width = 0;
    Align align = Left;
    bool item = false;
    QString group; // column group the piece belongs to; empty: always present
    int charIndex = -1;
};

struct LayoutRow
{
    QString displayName;
    QString typeId;
    QString variant;
    QMap<QString, QVariant> values; // column -> value
};

class FormSet
{
public:
    static FormSet load(const QString &folder);

    const QMap<QString, Form> &forms() const { return m_forms; }
    const QMap<QString, SlipTypeGeometry> &types() const { return m_types; }
    const SlipTypeGeometry &type(const QString &id) const;
    const Form &formOf(const SlipTypeGeometry &type) const;
    // The type whose pictures a type shows (itself unless it borrows them).
    const SlipTypeGeometry &pictureOwner(const SlipTypeGeometry &type) const;
    // Slip types in the order of the print-out program's list.
    QStringList typeOrder() const;

    // Screen side, in the type's window coordinates.
    QRectF screenRect(const SlipTypeGeometry &type, const QString &boxId, int line = 1) const;
    QRectF screenCharBox(const SlipTypeGeometry &type, const QString &rowId, int index) const;
    QVector<ScreenEdit> edits(const SlipTypeGeometry &type) const;
    QImage picture(const SlipTypeGeometry &type, const QString &variant) const;
    QJsonObject editTable(const SlipTypeGeometry &type) const;

    // Paper side, 0.1 mm.
    QRect paperRect(const Form &form, const QString &boxId, int line = 1) const;
    QRect paperCharBox(const Form &form, const QString &rowId, int index) const;
    int paperCharPitch(const Form &form, const QString &rowId) const;
    QStringList overlayLines(const Form &form, const QString &variant) const;
    QByteArray overlayFile(const Form &form, const QString &variant) const;
    LayoutRow layout(const SlipTypeGeometry &type, const QString &variant) const;
    QVector<LayoutRow> layoutRows() const;
    QString seedSql() const;
    // A print command file of one slip with every element filled to its full
    // width, placed from the type's layout row as the slip composition places
    // it, to be printed over the overlay.
    QByteArray sampleSlip(const SlipTypeGeometry &type, const QString &variant) const;

    // The printed pieces of the slip composition, in writing order; item
    // pieces once, for line 1.
    static QVector<PrintPiece> printPieces();
    // Every layout column of a layout row besides the fixed ones.
    static QStringList layoutColumns();
    static double textWidth(int bytes, int points);
    static double textHeight(int points);
    static constexpr int kMargin = 3;    // 0.1 mm between text and ruling
    static constexpr int kOffPage = 100; // 0.1 mm beyond the right edge

private:
    QPointF scale(const SlipTypeGeometry &type) const;
    QVector<double> rowTops(const SlipTypeGeometry &type) const;
    double rowBottom(const SlipTypeGeometry &type, int line) const;
    QRectF mapRef(const SlipTypeGeometry &type, const QRectF &ref) const;
    bool piecePresent(const SlipTypeGeometry &type, const PrintPiece &piece) const;
    QRect pieceBox(const Form &form, const SlipTypeGeometry &type, const PrintPiece &piece) const;

    QMap<QString, Form> m_forms;
    QMap<QString, SlipTypeGeometry> m_types;
};
