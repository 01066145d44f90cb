#include "XlsxContent.h"

#include <QJsonDocument>
#include <QProcess>

namespace {

// Debian's interpreter: python3-openpyxl installs for it, whatever else is
// first on the PATH.
const char *const kPython = "/usr/bin/python3";

const char *const kReader = R"(
import json, sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
out = {"freeze": ws.freeze_panes or "", "max_row": ws.max_row,
       "max_column": ws.max_column, "cells": {}, "widths": {}}
for row in ws.iter_rows():
    for c in row:
        v = c.value
        if v is None and c.alignment.horizontal is None:
            continue
        if hasattr(v, "isoformat"):
            v = v.isoformat()
        out["cells"][c.coordinate] = {"v": v, "t": c.data_type, "f": c.number_format,
                                      "h": c.alignment.horizontal or ""}
for key, dim in ws.column_dimensions.items():
    if dim.customWidth:
        out["widths"][key] = dim.width
sys.stdout.write(json.dumps(out, ensure_ascii=False))
)";

} // namespace

XlsxContent::XlsxContent(const QString &path)
{
    QProcess p;
    p.start(QString::fromLatin1(kPython),
            {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        m_error = QStringLiteral("reader failed: ") + QString::fromUtf8(p.readAllStandardError());
        if (m_error.size() == 15)
            m_error += p.errorString();
        return;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput(), &parseError);
    if (!doc.isObject()) {
        m_error = QStringLiteral("reader output: ") + parseError.errorString();
        return;
    }
    m_json = doc.object();
}

XlsxCell XlsxContent::cell(const QString &coordinate) const
{
    const QJsonObject cells = m_json.value(QStringLiteral("cells")).toObject();
    XlsxCell c;
    if (!cells.contains(coordinate))
        return c;
    const QJsonObject o = cells.value(coordinate).toObject();
    c.exists = true;
    c.value = o.value(QStringLiteral("v")).toVariant();
    c.type = o.value(QStringLiteral("t")).toString();
    c.format = o.value(QStringLiteral("f")).toString();
    c.horizontal = o.value(QStringLiteral("h")).toString();
    return c;
}

QStringList XlsxContent::rowTexts(int row) const
{
    QStringList texts;
    for (int col = 1; col <= maxColumn(); ++col)
        texts.append(cell(columnName(col) + QString::number(row)).value.toString());
    return texts;
}

double XlsxContent::width(const QString &column) const
{
    return m_json.value(QStringLiteral("widths")).toObject().value(column).toDouble();
}

QString XlsxContent::columnName(int column)
{
    QString name;
    for (int c = column; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(QLatin1Char('A').unicode() + (c - 1) % 26));
    return name;
}
