#pragma once

#include "SheetWriter.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class Query;
class QWidget;

// The arguments of QueryToExcel beside the query and the headers.
struct ExcelArguments
{
    bool confirm = true;
    int helpContext = 0; // of the confirmation
    SheetOptions sheet;
    // When not empty the sheet is written to this file (replacing it) and not
    // opened; otherwise it goes into the output folder under a new name made
    // of exportName and the time, and is opened when visible is true.
    QString fileName;
    bool visible = true;
    QString exportName;
    QString outputFolder; // empty: the user's documents folder
};

// Writes an open query (positioned on its first row) with its headers into a
// new spreadsheet file: asks first when confirm is set, shows a progress
// dialog with a cancel button when it takes more than a moment, then opens
// the file with the desktop's spreadsheet application or says where it is.
// False when the user declined or cancelled (no file is left then). Throws
// SheetError "出力中にエラーが発生しました。".
bool QueryToExcel(Query &query, const QStringList *headers, const ExcelArguments &arguments,
                  QWidget *parent = nullptr);

// The file name of a new export: exportName, date and time, ".xlsx".
QString ExportFileName(const QString &exportName, const QDateTime &when);

// Opens a written file; false when nothing opened it. By default the desktop's
// application for the file type; tests put their own in.
using SpreadsheetOpener = std::function<bool(const QString &path)>;
void SetSpreadsheetOpener(SpreadsheetOpener opener);
// Milliseconds an export runs before its progress dialog appears.
void SetProgressDelay(int milliseconds);
// The path of the last file QueryToExcel wrote.
QString LastExportPath();
