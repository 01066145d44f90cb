#pragma once

#include <QString>
#include <QStringList>

// The slip formats of the export.
inline constexpr int kFormatTurnaround = 0; // ターンアラウンド用1、2型
inline constexpr int kFormatTypewriter = 1; // タイプ用1型
inline constexpr int kFormatCount = 2;

// The exported slip columns of a format in order, and their headers: 198 for
// the turnaround format; the typewriter format has no second trading-partner
// code, actual delivery date or order date (191), and its delivery date
// parts are headed 年, 月, 日.
QStringList ExportColumnNames(int format);
QStringList ExportHeaders(int format);

// The date kinds a format offers (the first is "no date condition") and the
// column a kind selects on (empty for none, or for an index outside the list).
QStringList ExportDateKinds(int format);
QString ExportDateColumn(int format, int dateKind);

// The master exports: 0 companies and stores, 1 trading partners, 2 items.
inline constexpr int kMasterCount = 3;
struct MasterExport
{
    QString name; // the choice's text, also the start of the file name
    QStringList lines;
    QStringList headers;
};
// An empty name and no lines for a choice outside the list.
MasterExport MasterExportOf(int choice);
