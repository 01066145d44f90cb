#pragma once

#include <QColor>
#include <QJsonObject>
#include <QMap>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
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
