#include "SlipEditTable.h"

#include "SlipEntryTexts.h"
#include "app/AppError.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

QSize sizeOf(const QJsonValue &v)
{
    const QJsonArray a = v.toArray();
    return a.size() == 2 ? QSize(a.at(0).toInt(), a.at(1).toInt()) : QSize();
}

[[noreturn]] void fail(const QString &detail)
{
    throw AppError(QString::fromUtf16(SlipEntryTexts::kEditTableError), detail);
}

} // namespace

QString SlipEditTable::path(SlipType type, const QString &programFolder)
{
    return QDir(programFolder)
        .filePath(QStringLiteral("FormEdits/%1.json").arg(QLatin1String(slipTypeInfo(type).id)));
}

SlipEditTable SlipEditTable::load(SlipType type, const QString &programFolder)
{
    const QString file = path(type, programFolder);
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        fail(file + QStringLiteral(": ") + f.errorString());
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
    if (!doc.isObject())
        fail(file + QStringLiteral(": ") + error.errorString());
    const QJsonObject o = doc.object();

    SlipEditTable table;
    table.type = o.value(QLatin1String("type")).toString();
    if (table.type != QLatin1String(slipTypeInfo(type).id))
        fail(file + QStringLiteral(": table of type ") + table.type);
    table.window = sizeOf(o.value(QLatin1String("window")));
    const QSize pos = sizeOf(o.value(QLatin1String("picturePos")));
    table.picturePos = QPoint(pos.width(), pos.height());
    table.pictureSize = sizeOf(o.value(QLatin1String("pictureSize")));
    table.fontPx = o.value(QLatin1String("fontPx")).toInt(12);
    if (table.window.isEmpty() || table.pictureSize.isEmpty())
        fail(file + QStringLiteral(": no window or picture size"));

    for (const QJsonValue &v : o.value(QLatin1String("edits")).toArray()) {
        const QJsonObject e = v.toObject();
        SlipEditDef d;
        d.name = e.value(QLatin1String("name")).toString();
        d.column = e.value(QLatin1String("column")).toString();
        d.rect = QRect(e.value(QLatin1String("x")).toInt(), e.value(QLatin1String("y")).toInt(),
                       e.value(QLatin1String("w")).toInt(), e.value(QLatin1String("h")).toInt());
        d.maxLength = e.value(QLatin1String("maxLength")).toInt();
        d.setupKey = e.value(QLatin1String("setupKey")).toString();
        d.tag = e.value(QLatin1String("tag")).toInt();
        d.fontPx = e.value(QLatin1String("fontPx")).toInt(table.fontPx);
        d.line = e.value(QLatin1String("line")).toInt();
        if (d.name.isEmpty() || d.column.isEmpty() || d.rect.isEmpty())
            fail(file + QStringLiteral(": incomplete edit ") + d.name);
        assignFieldRoles(d);
        table.edits.append(d);
    }
    if (table.edits.isEmpty())
        fail(file + QStringLiteral(": no edits"));
    return table;
}

void assignFieldRoles(SlipEditDef &edit)
{
    const QString &c = edit.column;
    static const QRegularExpression itemName(QStringLiteral("^(HINMEI|CODE)_[1-9][12]$"));
    static const QRegularExpression itemCode1(QStringLiteral("^CODE_[1-9]1$"));
    static const QRegularExpression quantity(
        QStringLiteral("^(KAZU_[1-9][12]|GENKA_[1-9][12]|URITANKA_[1-9])$"));
    static const QRegularExpression corrected(QStringLiteral("^KAZU_T_[1-9][12]$"));

    if (c == QLatin1String("CONAME") || c == QLatin1String("TENPONAME") ||
        c == QLatin1String("COCODE")) {
        edit.click = SlipFieldClick::Company;
        edit.menu = SlipFieldMenu::Company;
        if (c == QLatin1String("COCODE"))
            edit.exit = SlipFieldExit::CompanyCode;
    } else if (c.startsWith(QLatin1String("TORIHIKICODE_")) ||
               c.startsWith(QLatin1String("TORIHIKINAME_"))) {
        edit.click = SlipFieldClick::Partner;
        edit.menu = SlipFieldMenu::Partner;
    } else if (c == QLatin1String("DENNO_1")) {
        edit.click = SlipFieldClick::CheckDigit;
        edit.menu = SlipFieldMenu::CheckDigit;
    } else if (itemName.match(c).hasMatch()) {
        edit.click = SlipFieldClick::Item;
        edit.menu = SlipFieldMenu::Item;
        if (itemCode1.match(c).hasMatch())
            edit.exit = SlipFieldExit::ItemCode;
    } else if (quantity.match(c).hasMatch()) {
        edit.exit = SlipFieldExit::Quantity;
    } else if (corrected.match(c).hasMatch()) {
        edit.exit = SlipFieldExit::CorrectedQuantity;
    }
}
