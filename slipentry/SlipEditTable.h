#pragma once

#include "SlipType.h"

#include <QMap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

// What a double-click on a slip edit does (the handler it is wired to).
enum class SlipFieldClick
{
    None,
    Company,    // company and store: choose from the company list
    Partner,    // trading partner: choose from the partner list
    Item,       // item name and code: choose from the item list
    CheckDigit, // slip number: compute the check digit
};

// What leaving a slip edit does.
enum class SlipFieldExit
{
    None,
    CompanyCode,       // look the company/store code up
    ItemCode,          // look the item code up
    Quantity,          // quantity and prices: recompute the line and totals
    CorrectedQuantity, // corrected quantity: recompute the corrected totals
};

// The right-click menu of a slip edit.
enum class SlipFieldMenu
{
    None,
    Item,       // PopupMenu1
    Company,    // PopupMenu2
    Partner,    // PopupMenu3
    CheckDigit, // PopupMenuCD
};

// One edit of the slip form: where it sits over the picture and how it is
// bound and wired.
struct SlipEditDef
{
    QString name;      // component name
    QString column;    // bound column of TAMBREL
    QRect rect;        // window coordinates
    int maxLength = 0; // Shift-JIS bytes; 0: the column's size
    QString setupKey;  // key of [DBEdit]
    int tag = 0;       // item line tag 10n+1 of name and code edits
    int fontPx = 12;
    int line = 0; // item line, 0 for header and footer
    SlipFieldClick click = SlipFieldClick::None;
    SlipFieldExit exit = SlipFieldExit::None;
    SlipFieldMenu menu = SlipFieldMenu::None;
};

// The screen edit table of one slip type, as the form generator writes it
// beside the programs (FormEdits/<type>.json), in tab order.
struct SlipEditTable
{
    QString type;
    QSize window;      // client area
    QPoint picturePos; // where the picture is drawn
    QSize pictureSize; // designed picture area
    int fontPx = 12;
    QVector<SlipEditDef> edits;

    // Reads the table of a type from the folder that holds FormEdits/.
    // Throws AppError when it is missing or malformed.
    static SlipEditTable load(SlipType type, const QString &programFolder);
    static QString path(SlipType type, const QString &programFolder);
};

// The wiring of an edit by its component name and column (the roles are
// the same in every type).
void assignFieldRoles(SlipEditDef &edit);
