#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

// What the slip page asks for.
struct ExportConditions
{
    int format = 0;
    int dateKind = 0; // index in ExportDateKinds(format); 0: no date condition
    QString startYear, startMonth, startDay;
    QString endYear, endMonth, endDay;
    QString companyName; // empty: any
    QString storeName;   // empty: any
};

// The slip query: its lines and its parameters in the order they were added.
struct ExportSql
{
    QStringList lines;
    QList<QPair<QString, QVariant>> params;
};

// Builds the slip query; throws AppError "Err...Create SQL" for a format or
// date kind outside the lists. A one-digit date part counts as that digit
// with a leading zero, so "7" selects the same month as "07".
ExportSql BuildExportSql(const ExportConditions &conditions);

// A date part as the condition compares it: trimmed, one digit padded to two.
QString DatePartText(const QString &part);
