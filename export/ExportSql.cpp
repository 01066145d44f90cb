#include "ExportSql.h"

#include "ExportColumns.h"
#include "ExportTexts.h"
#include "app/AppError.h"
#include "text/KivFunc.h"

QString DatePartText(const QString &part)
{
    const QString text = TrimWide(part);
    // Dates are compared as YYMMDD texts; "7" would otherwise compare after "07".
    if (text.size() == 1 && text.at(0).isDigit())
        return QLatin1Char('0') + text;
    return text;
}

ExportSql BuildExportSql(const ExportConditions &c)
{
    const QStringList kinds = ExportDateKinds(c.format);
    if (c.format < 0 || c.format >= kFormatCount || c.dateKind < 0 || c.dateKind >= kinds.size())
        throw AppError(QString::fromLatin1(ExportTexts::kCreateSqlError),
                       QStringLiteral("format %1, date kind %2").arg(c.format).arg(c.dateKind));

    ExportSql sql;
    sql.lines.append(QStringLiteral("SELECT"));
    const QStringList columns = ExportColumnNames(c.format);
    for (int i = 0; i < columns.size(); ++i) {
        sql.lines.append(columns.at(i));
        if (i + 1 < columns.size())
            sql.lines.append(QStringLiteral(","));
    }
    sql.lines.append(QStringLiteral("FROM TAMBREL"));

    const auto param = [&sql](const QVariant &value) {
        const QString name = QStringLiteral("P%1").arg(sql.params.size(), 2, 10, QLatin1Char('0'));
        sql.params.append({name, value});
        return QLatin1Char(':') + name;
    };
    const QString dateColumn = ExportDateColumn(c.format, c.dateKind);
    const bool company = !c.companyName.isEmpty();
    const bool store = !c.storeName.isEmpty();
    if (!dateColumn.isEmpty()) {
        const QString from =
            DatePartText(c.startYear) + DatePartText(c.startMonth) + DatePartText(c.startDay);
        const QString to =
            DatePartText(c.endYear) + DatePartText(c.endMonth) + DatePartText(c.endDay);
        const QString p0 = param(from);
        const QString p1 = param(to);
        sql.lines.append(QStringLiteral("WHERE (%1 >= %2 AND %1 <= %3)").arg(dateColumn, p0, p1));
        if (company)
            sql.lines.append(QStringLiteral("AND (CONAME = %1)").arg(param(c.companyName)));
        if (store)
            sql.lines.append(QStringLiteral("AND (TENPONAME = %1)").arg(param(c.storeName)));
    } else if (company) {
        sql.lines.append(QStringLiteral("WHERE (CONAME = %1)").arg(param(c.companyName)));
        if (store)
            sql.lines.append(QStringLiteral("AND (TENPONAME = %1)").arg(param(c.storeName)));
    } else if (store) {
        sql.lines.append(QStringLiteral("WHERE (TENPONAME = %1)").arg(param(c.storeName)));
    }
    return sql;
}
