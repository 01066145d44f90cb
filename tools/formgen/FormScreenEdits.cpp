// The screen edits of a slip type: which edit sits on which boxes, where the
// designed positions move it, and the table the slip programs read.

#include "FormGeometry.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>

namespace {

struct EditSpec
{
    QString name;
    QString column;
    QStringList boxes;
    int maxLength;
    QString group;
    QString dyKey; // item edits: the key of the row offset
};

QString withLine(const QString &pattern, int n)
{
    return QString(pattern).replace("@", QString::number(n));
}

QVector<EditSpec> headerEdits()
{
    return {
        {"A_F1", "A_F1", {"A_F1"}, 0, {}, {}},
        {"B_F1", "B_F1", {"B_F1"}, 0, {}, {}},
        {"C_F1", "C_F1", {"C_F1"}, 0, {}, {}},
        {"D_F1", "D_F1", {"D_F1"}, 0, {}, {}},
        {"CONA", "CONAME", {"CONAME"}, 0, {}, {}},
        {"TENP", "TENPONAME", {"TENPONAME"}, 0, {}, {}},
        {"COCO", "COCODE", {"COCODE"}, 0, {}, {}},
        {"BUNR", "BUNRUICODE", {"BUNRUICODE"}, 0, {}, {}},
        {"BUNR_2", "DENKUBUN", {"DENKUBUN"}, 0, {}, {}},
        {"DENN", "DENNO_1", {"DENNO_1"}, 0, {}, {}},
        {"DENN_2", "DENNO_2", {"DENNO_2"}, 0, {}, {}},
        {"TORI", "TORIHIKICODE_1", {"TORIHIKICODE_1"}, 0, {}, {}},
        {"TORI_2", "TORIHIKICODE_2", {"TORIHIKICODE_2"}, 0, "torihikiCode2", {}},
        {"TNAM", "TORIHIKINAME_1", {"TORIHIKINAME_1"}, 0, {}, {}},
        {"TNAM_2", "TORIHIKINAME_2", {"TORIHIKINAME_2"}, 0, {}, {}},
        {"TEIS", "TEISEI_1", {"TEISEI_1"}, 2, "teisei", {}},
        {"TEIS_2", "TEISEI_2", {"TEISEI_2"}, 2, "teisei", {}},
        {"JNOU", "NOUHIN_Y1", {"NOUHIN_Y1"}, 2, "firstDate", {}},
        {"JNOU_M", "NOUHIN_M1", {"NOUHIN_M1"}, 2, "firstDate", {}},
        {"JNOU_D", "NOUHIN_D1", {"NOUHIN_D1"}, 2, "firstDate", {}},
        {"E_F1", "E_F1", {"E_F1"}, 0, {}, {}},
        {"HACY", "HACYU_Y", {"HACYU_Y"}, 2, "orderDate", {}},
        {"HACY_M", "HACYU_M", {"HACYU_M"}, 2, "orderDate", {}},
        {"HACY_D", "HACYU_D", {"HACYU_D"}, 2, "orderDate", {}},
        {"NOUH", "NOUHIN_Y2", {"NOUHIN_Y2"}, 2, {}, {}},
        {"NOUH_M", "NOUHIN_M2", {"NOUHIN_M2"}, 2, {}, {}},
        {"NOUH_D", "NOUHIN_D2", {"NOUHIN_D2"}, 2, {}, {}},
        {"BINN", "BINN", {"BINN1", "BINN2", "BINN3"}, 3, {}, {}},
    };
}

// "@" stands for the line number.
QVector<EditSpec> lineEdits(const SlipTypeGeometry &type)
{
    const bool twoRows = type.nameRows == 2;
    const bool t12 = type.id == QLatin1String("T12");
    QVector<EditSpec> specs;
    specs.append({"HINMEI_@1", "HINMEI_@1", {twoRows ? "HINMEI_1" : "HINMEI"}, 60, {}, "HINMEI_1"});
    if (twoRows) {
        specs.append(
            {t12 ? "DBEdit#1" : "HINMEI_@2", "HINMEI_@2", {"HINMEI_2"}, 60, {}, "HINMEI_2"});
    }
    specs.append({"CODE_@1", "CODE_@1", {twoRows ? "CODE_1" : "CODE"}, 20, {}, "CODE_1"});
    if (twoRows) {
        specs.append({t12 ? "DBEdit#2" : "CODE_@2", "CODE_@2", {"CODE_2"}, 20, {}, "CODE_2"});
    }
    const QVector<EditSpec> rest = {
        {"COLOR_@", "COLOR_@", {"COLOR"}, 10, {}, "COLOR"},
        {"IRIKAZU_@", "IRIKAZU_@", {"IRIKAZU"}, 10, {}, "IRIKAZU"},
        {"SIZE_@", "SIZE_@", {"SIZE"}, 8, {}, "SIZE"},
        {"ASEE_@", "CASEE_@", {"CASEE"}, 8, {}, "CASEE"},
        {"TANI_@", "TANI_@", {"TANI"}, 4, "tani", "TANI"},
        {"KAZU_@1", "KAZU_@1", {"KAZU_1"}, 5, {}, "KAZU_1"},
        {"KAZ2_@2", "KAZU_@2", {"KAZU_2"}, 1, {}, "KAZU_2"},
        {"KAZT_@1", "KAZU_T_@1", {"TKAZU_1"}, 6, "correctedQuantity", "TKAZU_1"},
        {"KZT2_@2", "KAZU_T_@2", {"TKAZU_2"}, 1, "correctedQuantity", "TKAZU_2"},
        {"HIKIAI_@", "HIKIAI_@", {"HIKIAI"}, 2, {}, "HIKIAI"},
        {"KUBUN_@", "KUBUN_@", {"KUBUN"}, 2, {}, "KUBUN"},
        {"GTAN_@1", "GENKA_@1", {"GENKA_1", "GENKA_2"}, 6, {}, "GENKA_1"},
        {"GTN2_@2", "GENKA_@2", {"GENKA_3"}, 2, {}, "GENKA_3"},
        {"GKEI_@", "GENKAKEI_@", {"GENKAKEI_1", "GENKAKEI_2", "GENKAKEI_3"}, 9, {}, "GENKAKEI"},
        {"URITANKA_@", "URITANKA_@", {"URITANKA_1", "URITANKA_2"}, 6, {}, "URITANKA"},
        {"BIKOU_@", "BIKOU_@", {"BIKOU_1", "BIKOU_2", "BIKOU_3"}, 9, {}, "BIKOU"},
    };
    specs += rest;
    return specs;
}

QVector<EditSpec> footerEdits(const SlipTypeGeometry &type)
{
    const QString s = QString::number(type.lines == 9 ? 9 : 6);
    return {
        {"GOUKEI_KAZU" + s + "_1", {}, {"GOUKEI_KAZU_1"}, 5, {}, {}},
        {"GOUKEI_KAZU" + s + "_2", {}, {"GOUKEI_KAZU_2"}, 1, {}, {}},
        {"GOUKEI_KAZU" + s + "_T1", {}, {"GOUKEI_KAZU_T_1"}, 6, "correctedQuantityTotals", {}},
        {"GOUKEI_KAZU" + s + "_T2", {}, {"GOUKEI_KAZU_T_2"}, 1, "correctedQuantityTotals", {}},
        {"GOUKEI_GENKA" + s, {}, {"GOUKEI_GENKA_1", "GOUKEI_GENKA_2", "GOUKEI_GENKA_3"}, 9, {}, {}},
        {"GOUKEI_URI" + s, {}, {"GOUKEI_URI_1", "GOUKEI_URI_2", "GOUKEI_URI_3"}, 9, {}, {}},
        {"F_F1", "F_F1", {"F_F1"}, 0, {}, {}},
        {"G_F1", "G_F1", {"G_F1"}, 0, {}, {}},
        {"H_F1", "H_F1", {"H_F1"}, 0, {}, {}},
        {"I_F1", "I_F1", {"I_F1"}, 0, {}, {}},
        {"J_F1", "J_F1", {"J_F1"}, 0, {}, {}},
        {"K_F1", "K_F1", {"K_F1"}, 0, {}, {}},
        {"L_F1", "L_F1", {"L_F1"}, 0, "lf1", {}},
        {"GOUKEI_GENKA" + s + "_T", {}, {"GOUKEI_GENKA_T"}, 9, {}, {}},
        {"GOUKEI_URI" + s + "_T", {}, {"GOUKEI_URI_T"}, 9, {}, {}},
    };
}

void applyOverride(QRectF &r, const QJsonObject &o, int *font)
{
    if (o.contains("x")) {
        r.moveLeft(o.value("x").toDouble());
    }
    if (o.contains("y")) {
        r.moveTop(o.value("y").toDouble());
    }
    if (o.contains("w")) {
        r.setWidth(o.value("w").toDouble());
    }
    if (o.contains("h")) {
        r.setHeight(o.value("h").toDouble());
    }
    if (o.contains("font")) {
        *font = o.value("font").toInt();
    }
}

} // namespace

QVector<ScreenEdit> FormSet::edits(const SlipTypeGeometry &type) const
{
    const Form &form = formOf(type);
    const QPointF s = scale(type);
    QVector<ScreenEdit> out;

    auto make = [&](const EditSpec &editDef, const QString &name, const QString &column, int line) {
        ScreenEdit e;
        e.name = name;
        e.column = column.isEmpty() ? name : column;
        e.maxLength = editDef.maxLength;
        e.setupKey = name.left(4);
        e.boxes = editDef.boxes;
        e.line = line;
        QRectF base;
        for (const QString &b : editDef.boxes) {
            const QRectF r = screenRect(type, b, std::max(line, 1));
            base = base.isNull() ? r : base.united(r);
        }
        int font = base.width() < 20 * s.x() ? 11 : type.fontPx;
        const int h0 = font + 7;
        QRectF r(base.x() + 2, base.y() + std::floor((base.height() - h0) / 2), base.width() - 4,
                 h0);
        // Designed positions: form-level ones (reference window, scaled), then
        // the type's own, both for line 1.
        const QString lineOne = line > 0 ? withLine(editDef.name, 1).replace("#", "") : name;
        if (line == 0) {
            QJsonObject o = form.edits.value(name, form.edits.value(editDef.boxes.first()));
            if (!o.isEmpty()) {
                QRectF ref(r.x(), r.y(), r.width(), r.height());
                QRectF scaled = ref;
                if (o.contains("x")) {
                    o.insert("x",
                             form.origin.x() + (o.value("x").toDouble() - form.origin.x()) * s.x());
                }
                if (o.contains("y")) {
                    o.insert("y",
                             form.origin.y() + (o.value("y").toDouble() - form.origin.y()) * s.y());
                }
                if (o.contains("w")) {
                    o.insert("w", o.value("w").toDouble() * s.x());
                }
                applyOverride(scaled, o, &font);
                r = scaled;
            }
            applyOverride(r, type.edits.value(name), &font);
        } else {
            const QString key =
                type.itemEditDy.contains(editDef.dyKey) ? editDef.dyKey : QStringLiteral("*");
            if (type.itemEditDy.contains(key)) {
                r.moveTop(type.lineTops.at(line - 1) + type.itemEditDy.value(key));
            }
            const QJsonObject o =
                type.edits.value(editDef.name.contains('#') ? QString() : lineOne);
            if (!o.isEmpty()) {
                QRectF one = r;
                applyOverride(one, o, &font);
                r = QRectF(one.x(), one.y() + type.lineTops.at(line - 1) - type.lineTops.at(0),
                           one.width(), one.height());
            }
        }
        e.fontPx = font;
        e.rect = QRect(qRound(r.x()), qRound(r.y()), qRound(r.width()), qRound(r.height()));
        out.append(e);
    };

    for (const EditSpec &editDef : headerEdits()) {
        if (type.has(editDef.group)) {
            make(editDef, editDef.name, editDef.column, 0);
        }
    }
    const QVector<EditSpec> lines = lineEdits(type);
    for (int n = 1; n <= type.lines; ++n) {
        for (const EditSpec &editDef : lines) {
            if (!type.has(editDef.group)) {
                continue;
            }
            QString name = withLine(editDef.name, n);
            if (name.contains('#')) {
                // T12 names its second-row edits DBEdit1 ... DBEdit12.
                name = "DBEdit" +
                       QString::number(2 * (n - 1) + name.mid(name.indexOf('#') + 1).toInt());
            }
            make(editDef, name, withLine(editDef.column, n), n);
            if (editDef.dyKey.startsWith("HINMEI") || editDef.dyKey.startsWith("CODE")) {
                out.last().tag = 10 * n + 1;
            }
        }
    }
    for (const EditSpec &editDef : footerEdits(type)) {
        if (type.has(editDef.group)) {
            make(editDef, editDef.name, editDef.column, 0);
        }
    }
    return out;
}

QJsonObject FormSet::editTable(const SlipTypeGeometry &type) const
{
    const SlipTypeGeometry &owner = pictureOwner(type);
    const Form &form = formOf(type);
    const QSize pic = owner.picture.isEmpty() ? form.picture : owner.picture;
    QJsonObject pictures;
    for (auto it = owner.pictures.begin(); it != owner.pictures.end(); ++it) {
        pictures.insert(it.key(), it.value());
    }
    QJsonArray edits;
    for (const ScreenEdit &e : this->edits(type)) {
        QJsonObject o;
        o.insert("name", e.name);
        o.insert("column", e.column);
        o.insert("x", e.rect.x());
        o.insert("y", e.rect.y());
        o.insert("w", e.rect.width());
        o.insert("h", e.rect.height());
        o.insert("maxLength", e.maxLength);
        o.insert("setupKey", e.setupKey);
        o.insert("tag", e.tag);
        o.insert("fontPx", e.fontPx);
        o.insert("line", e.line);
        edits.append(o);
    }
    QJsonObject table;
    table.insert("type", type.id);
    table.insert("window", QJsonArray{type.window.width(), type.window.height()});
    table.insert("picturePos", QJsonArray{int(form.origin.x()), int(form.origin.y())});
    table.insert("pictureSize", QJsonArray{pic.width(), pic.height()});
    table.insert("pictures", pictures);
    table.insert("fontPx", type.fontPx);
    table.insert("edits", edits);
    return table;
}
