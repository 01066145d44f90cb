#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVariant>

// A written .xlsx file as a real reader sees it (Debian's python3-openpyxl):
// the cells of the first sheet with their values, kinds, number formats and
// alignment, the frozen cell and the column widths.
struct XlsxCell
{
    QVariant value;     // text, number, true/false, or a date as ISO text
    QString type;       // openpyxl's kind: "s" text, "n" number, "b", "d" date
    QString format;     // number format
    QString horizontal; // alignment, empty when none
    bool exists = false;
};

class XlsxContent
{
public:
    // Reads the file; ok() is false (and error() says why) when it cannot.
    explicit XlsxContent(const QString &path);

    bool ok() const { return m_error.isEmpty(); }
    const QString &error() const { return m_error; }

    XlsxCell cell(const QString &coordinate) const;
    // The values of a row as texts (numbers as the reader gives them),
    // columns 1 to maxColumn().
    QStringList rowTexts(int row) const;
    QString freezePanes() const { return m_json.value(QStringLiteral("freeze")).toString(); }
    // Width of a column ("A"), 0 when the file sets none.
    double width(const QString &column) const;
    int maxRow() const { return m_json.value(QStringLiteral("max_row")).toInt(); }
    int maxColumn() const { return m_json.value(QStringLiteral("max_column")).toInt(); }

    // "A", "B", ..., "AA" for a 1-based column.
    static QString columnName(int column);

private:
    QJsonObject m_json;
    QString m_error;
};
