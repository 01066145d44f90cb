#pragma once

#include "FormModel.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QStringList>
#include <QVariant>

// What is derived from the form descriptions: screen edits, pictures, overlay
// files, and the print composition with its layout rows.

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
    // Loading and the model (FormGeometry.cpp).
    static FormSet load(const QString &folder);

    const QMap<QString, Form> &forms() const { return m_forms; }
    const QMap<QString, SlipTypeGeometry> &types() const { return m_types; }
    const SlipTypeGeometry &type(const QString &id) const;
    const Form &formOf(const SlipTypeGeometry &type) const;
    // The type whose pictures a type shows (itself unless it borrows them).
    const SlipTypeGeometry &pictureOwner(const SlipTypeGeometry &type) const;
    // Slip types in the order of the print-out program's list.
    QStringList typeOrder() const;

    // Screen side, in the type's window coordinates (FormGeometry.cpp).
    QRectF screenRect(const SlipTypeGeometry &type, const QString &boxId, int line = 1) const;
    QRectF screenCharBox(const SlipTypeGeometry &type, const QString &rowId, int index) const;
    // The screen edits and the table the slip programs place them from
    // (FormScreenEdits.cpp).
    QVector<ScreenEdit> edits(const SlipTypeGeometry &type) const;
    QJsonObject editTable(const SlipTypeGeometry &type) const;
    // The slip picture of a variant (FormPicture.cpp).
    QImage picture(const SlipTypeGeometry &type, const QString &variant) const;

    // Paper side, 0.1 mm (FormGeometry.cpp).
    QRect paperRect(const Form &form, const QString &boxId, int line = 1) const;
    QRect paperCharBox(const Form &form, const QString &rowId, int index) const;
    int paperCharPitch(const Form &form, const QString &rowId) const;
    static double textWidth(int bytes, int points);
    static double textHeight(int points);
    // The overlay file of a variant: its ruling and captions (FormOverlay.cpp).
    QByteArray overlayFile(const Form &form, const QString &variant) const;

    // The print composition (FormComposition.cpp).
    // The printed pieces of the slip composition, in writing order; item
    // pieces once, for line 1.
    static QVector<PrintPiece> printPieces();
    // Every layout column of a layout row besides the fixed ones.
    static QStringList layoutColumns();
    LayoutRow layout(const SlipTypeGeometry &type, const QString &variant) const;
    QVector<LayoutRow> layoutRows() const;
    QString seedSql() const;
    // A print command file of one slip with every element filled to its full
    // width, placed from the type's layout row as the slip composition places
    // it, to be printed over the overlay.
    QByteArray sampleSlip(const SlipTypeGeometry &type, const QString &variant) const;
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
