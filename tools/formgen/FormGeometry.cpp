#include "FormGeometry.h"

#include "text/ShiftJis.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QString kCaptionFont = QStringLiteral("ＭＳ ゴシック");
const QString kPrintFont = QStringLiteral("ＭＳ 明朝");
// Screen captions use the face the ＭＳ faces are mapped onto.
const QString kScreenFont = QStringLiteral("IPAGothic");
constexpr int kSmallestPoints = 5;

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw FormError("cannot read " + path.toStdString());
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (doc.isNull() || !doc.isObject()) {
        throw FormError(path.toStdString() + ": " + error.errorString().toStdString());
    }
    return doc.object();
}

void parseCaption(FormBox &box, const QString &mode)
{
    const QStringList parts = mode.split(QLatin1Char(':'));
    box.capMode = parts.value(0);
    box.capSize = parts.value(1).toDouble();
    box.capSpan = parts.value(2).toDouble();
}

// [id, caption, x, y, w, h, caption mode, capacity, style]
FormBox parseBox(const QJsonArray &a, bool item)
{
    FormBox box;
    box.id = a.at(0).toString();
    box.caption = a.at(1).toString();
    box.rect =
        QRectF(a.at(2).toDouble(), a.at(3).toDouble(), a.at(4).toDouble(), a.at(5).toDouble());
    parseCaption(box, a.at(6).toString());
    box.chars = a.at(7).toInt();
    if (a.size() > 8) {
        box.style = a.at(8).toString();
    }
    box.item = item;
    if (item && box.capMode == QLatin1String("h") && box.capSize > 0) {
        box.capSpan = box.capSize; // "h:span"
    }
    return box;
}

QMap<QString, QJsonObject> parseEdits(const QJsonObject &o)
{
    QMap<QString, QJsonObject> edits;
    for (auto it = o.begin(); it != o.end(); ++it) {
        edits.insert(it.key(), it.value().toObject());
    }
    return edits;
}

Form parseForm(const QString &id, const QJsonObject &o)
{
    Form f;
    f.id = id;
    const QJsonObject paper = o.value("paper").toObject();
    f.widthIn = paper.value("widthIn").toDouble();
    f.lengthIn = paper.value("lengthIn").toDouble();
    f.bodyLeft = paper.value("bodyLeft").toInt();
    f.bodyRight = paper.value("bodyRight").toInt();
    f.top = paper.value("top").toInt();
    f.pitch = paper.value("pitch").toInt();
    const QJsonObject screen = o.value("screen").toObject();
    const QJsonArray origin = screen.value("origin").toArray();
    f.origin = QPointF(origin.at(0).toDouble(), origin.at(1).toDouble());
    const QJsonArray pic = screen.value("picture").toArray();
    f.picture = QSize(pic.at(0).toInt(), pic.at(1).toInt());
    for (const QJsonValue &v : o.value("variants").toArray()) {
        const QJsonObject vo = v.toObject();
        f.variants.append({vo.value("name").toString(), vo.value("title").toString(),
                           vo.value("overlay").toString(), vo.value("colour").toInt(),
                           QColor(vo.value("rgb").toString())});
    }
    for (const QJsonValue &v : o.value("boxes").toArray()) {
        f.boxes.append(parseBox(v.toArray(), false));
    }
    // [id, caption, x, y, w, h, count, caption mode]
    for (const QJsonValue &v : o.value("charRows").toArray()) {
        const QJsonArray a = v.toArray();
        FormBox box;
        box.id = a.at(0).toString();
        box.caption = a.at(1).toString();
        box.rect =
            QRectF(a.at(2).toDouble(), a.at(3).toDouble(), a.at(4).toDouble(), a.at(5).toDouble());
        box.count = a.at(6).toInt();
        parseCaption(box, a.at(7).toString());
        box.chars = 1;
        f.boxes.append(box);
    }
    for (const QJsonValue &v : o.value("texts").toArray()) {
        const QJsonArray a = v.toArray();
        f.texts.append(
            {a.at(0).toString(),
             QRectF(a.at(1).toDouble(), a.at(2).toDouble(), a.at(3).toDouble(), a.at(4).toDouble()),
             a.at(5).toBool()});
    }
    const QJsonObject items = o.value("items").toObject();
    const QJsonArray header = items.value("header").toArray();
    f.headerTop = header.at(0).toDouble();
    f.headerBottom = header.at(1).toDouble();
    f.rowHeight = items.value("rowHeight").toDouble();
    f.rowsEnd = items.value("rowsEnd").toDouble();
    for (const QJsonValue &v : items.value("boxes").toArray()) {
        f.items.append(parseBox(v.toArray(), true));
    }
    f.edits = parseEdits(o.value("edits").toObject());

    if (f.picture.isEmpty() || f.pitch <= 0 || f.rowHeight <= 0 || f.rowsEnd <= f.headerBottom) {
        throw FormError("form " + id.toStdString() + ": incomplete screen or paper description");
    }
    // The ruling of the reference picture spans the item rows; the paper
    // rows are at the constant pitch, so the vertical scale follows from them.
    const int rows = qRound((f.rowsEnd - f.headerBottom) / f.rowHeight);
    f.kx = double(f.bodyRight - f.bodyLeft) / f.picture.width();
    f.ky = double(rows * f.pitch) / (f.rowsEnd - f.headerBottom);
    return f;
}

SlipTypeGeometry parseType(const QJsonObject &o)
{
    SlipTypeGeometry t;
    t.id = o.value("type").toString();
    t.formId = o.value("form").toString();
    t.lines = o.value("lines").toInt();
    t.nameRows = o.value("nameRows").toInt();
    const QJsonObject groups = o.value("groups").toObject();
    for (auto it = groups.begin(); it != groups.end(); ++it) {
        t.groups.insert(it.key(), it.value().toBool());
    }
    const QJsonArray window = o.value("window").toArray();
    t.window = QSize(window.at(0).toInt(), window.at(1).toInt());
    const QJsonArray picture = o.value("picture").toArray();
    if (picture.size() == 2) {
        t.picture = QSize(picture.at(0).toInt(), picture.at(1).toInt());
    }
    t.fontPx = o.value("fontPx").toInt(12);
    for (const QJsonValue &v : o.value("lineTops").toArray()) {
        t.lineTops.append(v.toInt());
    }
    t.rowTopOffset = o.value("rowTopOffset").toInt();
    const QJsonObject pictures = o.value("pictures").toObject();
    for (auto it = pictures.begin(); it != pictures.end(); ++it) {
        t.pictures.insert(it.key(), it.value().toString());
    }
    t.picturesOf = o.value("picturesOf").toString();
    const QJsonObject names = o.value("displayNames").toObject();
    for (auto it = names.begin(); it != names.end(); ++it) {
        t.displayNames.insert(it.key(), it.value().toString());
    }
    const QJsonObject dy = o.value("itemEditDy").toObject();
    for (auto it = dy.begin(); it != dy.end(); ++it) {
        t.itemEditDy.insert(it.key(), it.value().toInt());
    }
    t.edits = parseEdits(o.value("edits").toObject());
    if (t.lineTops.size() != t.lines) {
        throw FormError("type " + t.id.toStdString() + ": one line top per item line expected");
    }
    return t;
}

int paperRound(double v)
{
    return int(std::lround(v));
}

// Largest font size up to max points whose text fits the cell with a margin.
int fitPoints(const QString &text, const QRectF &cell, int maxPoints, int minPoints)
{
    const int bytes = int(ShiftJis::byteLength(text));
    for (int pt = maxPoints; pt > minPoints; --pt) {
        if (FormSet::textWidth(bytes, pt) <= cell.width() - 4 &&
            FormSet::textHeight(pt) <= cell.height() - 4) {
            return pt;
        }
    }
    return minPoints;
}

int maxPointsOf(const QString &key)
{
    if (key == QLatin1String("TORIHIKINAME")) {
        return 12;
    }
    if (key == QLatin1String("CONAME") || key == QLatin1String("TENPONAME")) {
        return 11;
    }
    if (key.endsWith(QLatin1String("_F1")) || key == QLatin1String("HINMEI") ||
        key == QLatin1String("CODE")) {
        return 9;
    }
    return 10;
}

QString sqlValue(const QVariant &v)
{
    if (v.typeId() == QMetaType::QString) {
        QString s = v.toString();
        s.replace(QLatin1Char('\''), QLatin1String("''"));
        return QLatin1Char('\'') + s + QLatin1Char('\'');
    }
    return QString::number(v.toInt());
}

} // namespace

int Form::paperWidth() const
{
    return paperRound(widthIn * 254.0);
}
int Form::paperLength() const
{
    return paperRound(lengthIn * 254.0);
}

const FormBox *Form::box(const QString &boxId) const
{
    for (const FormBox &b : boxes) {
        if (b.id == boxId) {
            return &b;
        }
    }
    for (const FormBox &b : items) {
        if (b.id == boxId) {
            return &b;
        }
    }
    return nullptr;
}

const FormVariant &Form::variant(const QString &name) const
{
    for (const FormVariant &v : variants) {
        if (v.name == name) {
            return v;
        }
    }
    throw FormError("form " + id.toStdString() + " has no variant " + name.toStdString());
}

bool SlipTypeGeometry::has(const QString &group) const
{
    if (group.isEmpty()) {
        return true;
    }
    if (group == QLatin1String("nameRow2")) {
        return nameRows == 2;
    }
    return groups.value(group, false);
}

FormSet FormSet::load(const QString &folder)
{
    FormSet set;
    const QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QString &name : files) {
        const QJsonObject o = readJson(dir.filePath(name));
        if (o.contains("form")) {
            if (o.contains("type")) {
                const SlipTypeGeometry t = parseType(o);
                set.m_types.insert(t.id, t);
            } else {
                const QString id = QFileInfo(name).completeBaseName();
                set.m_forms.insert(id, parseForm(id, o));
            }
        }
    }
    for (const SlipTypeGeometry &t : std::as_const(set.m_types)) {
        if (!set.m_forms.contains(t.formId)) {
            throw FormError("type " + t.id.toStdString() + ": unknown form " +
                            t.formId.toStdString());
        }
        if (!t.picturesOf.isEmpty() && !set.m_types.contains(t.picturesOf)) {
            throw FormError("type " + t.id.toStdString() + ": unknown picture owner");
        }
    }
    if (set.m_types.isEmpty()) {
        throw FormError("no slip type descriptions in " + folder.toStdString());
    }
    return set;
}

const SlipTypeGeometry &FormSet::type(const QString &id) const
{
    auto it = m_types.find(id);
    if (it == m_types.end()) {
        throw FormError("unknown slip type " + id.toStdString());
    }
    return *it;
}

const Form &FormSet::formOf(const SlipTypeGeometry &type) const
{
    return m_forms.find(type.formId).value();
}

const SlipTypeGeometry &FormSet::pictureOwner(const SlipTypeGeometry &type) const
{
    return type.picturesOf.isEmpty() ? type : this->type(type.picturesOf);
}

QStringList FormSet::typeOrder() const
{
    QStringList order;
    for (const QString &id : {QStringLiteral("22"), QStringLiteral("21"), QStringLiteral("12"),
                              QStringLiteral("11"), QStringLiteral("T11"), QStringLiteral("T12")}) {
        if (m_types.contains(id)) {
            order << id;
        }
    }
    for (const QString &id : m_types.keys()) {
        if (!order.contains(id)) {
            order << id;
        }
    }
    return order;
}

// ---------------------------------------------------------------- screen

QPointF FormSet::scale(const SlipTypeGeometry &type) const
{
    const SlipTypeGeometry &owner = pictureOwner(type);
    const Form &form = formOf(type);
    if (owner.picture.isEmpty()) {
        return {1.0, 1.0};
    }
    return {double(owner.picture.width()) / form.picture.width(),
            double(owner.picture.height()) / form.picture.height()};
}

QRectF FormSet::mapRef(const SlipTypeGeometry &type, const QRectF &ref) const
{
    const Form &form = formOf(type);
    const QPointF s = scale(type);
    const QPointF o = form.origin;
    return QRectF(o.x() + (ref.x() - o.x()) * s.x(), o.y() + (ref.y() - o.y()) * s.y(),
                  ref.width() * s.x(), ref.height() * s.y());
}

QVector<double> FormSet::rowTops(const SlipTypeGeometry &type) const
{
    const SlipTypeGeometry &owner = pictureOwner(type);
    QVector<double> tops;
    for (int top : owner.lineTops) {
        tops.append(top + owner.rowTopOffset);
    }
    return tops;
}

double FormSet::rowBottom(const SlipTypeGeometry &type, int line) const
{
    const QVector<double> tops = rowTops(type);
    if (line < tops.size()) {
        return tops.at(line);
    }
    return mapRef(type, QRectF(0, formOf(type).rowsEnd, 0, 0)).y();
}

QRectF FormSet::screenRect(const SlipTypeGeometry &type, const QString &boxId, int line) const
{
    const Form &form = formOf(type);
    const FormBox *box = form.box(boxId);
    if (!box) {
        throw FormError("form " + form.id.toStdString() + " has no box " + boxId.toStdString());
    }
    if (!box->item) {
        return mapRef(type, box->rect);
    }
    const QVector<double> tops = rowTops(type);
    if (line < 1 || line > tops.size()) {
        throw FormError("no item line " + std::to_string(line));
    }
    const double sy = scale(type).y();
    const double top = tops.at(line - 1);
    const double rowH = rowBottom(type, line) - top;
    const QRectF x = mapRef(type, box->rect);
    const double dy = box->rect.y() * sy;
    const bool full = box->rect.y() + box->rect.height() >= form.rowHeight - 0.01;
    const double h = full ? rowH - dy : std::min(box->rect.height() * sy, rowH - dy);
    return QRectF(x.x(), top + dy, x.width(), h);
}

QRectF FormSet::screenCharBox(const SlipTypeGeometry &type, const QString &rowId, int index) const
{
    const FormBox *box = formOf(type).box(rowId);
    const QRectF r = screenRect(type, rowId);
    const double w = r.width() / box->count;
    return QRectF(r.x() + index * w, r.y(), w, r.height());
}

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

namespace {

void drawCaption(QPainter &p, const QRectF &cell, const QString &text, double maxPx)
{
    if (text.isEmpty()) {
        return;
    }
    QFont font(kScreenFont);
    double px = std::min(maxPx, cell.height() - 3);
    for (; px > 6; px -= 0.5) {
        font.setPixelSize(int(px));
        if (QFontMetricsF(font).horizontalAdvance(text) <= cell.width() - 2) {
            break;
        }
    }
    font.setPixelSize(std::max(6, int(px)));
    p.setFont(font);
    p.drawText(cell, Qt::AlignCenter, text);
}

QRectF captionCell(const FormBox &b, const QRectF &r, const QPointF &s)
{
    if (b.capMode == QLatin1String("t")) {
        const double w = b.capSpan > 0 ? b.capSpan * s.x() : r.width();
        return QRectF(r.x(), r.y() - b.capSize * s.y(), w, b.capSize * s.y());
    }
    if (b.capMode == QLatin1String("l")) {
        return QRectF(r.x() - b.capSize * s.x(), r.y(), b.capSize * s.x(), r.height());
    }
    return {};
}

} // namespace

QImage FormSet::picture(const SlipTypeGeometry &type, const QString &variantName) const
{
    const Form &form = formOf(type);
    const SlipTypeGeometry &owner = pictureOwner(type);
    const FormVariant &variant = form.variant(variantName);
    const QSize size = owner.picture.isEmpty() ? form.picture : owner.picture;
    const QPointF s = scale(type);
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xff, 0xff, 0xfa));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.translate(-form.origin);
    QColor tint = variant.rgb;
    tint.setAlpha(36);
    const QPen rule(variant.rgb, 1);
    QPen dotted(variant.rgb, 1, Qt::DotLine);
    p.setPen(rule);
    QRectF all;
    auto frame = [&](const QRectF &r, bool fill) {
        if (fill) {
            p.fillRect(r, tint);
        }
        p.setPen(rule);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
        all = all.isNull() ? r : all.united(r);
    };
    for (const FormBox &b : form.boxes) {
        const QRectF r = mapRef(type, b.rect);
        if (b.count > 0) {
            for (int k = 0; k < b.count; ++k) {
                frame(screenCharBox(type, b.id, k), false);
            }
        } else {
            frame(r, false);
        }
        const QRectF cell = captionCell(b, r, s);
        if (!cell.isNull()) {
            frame(cell, true);
            p.setPen(variant.rgb);
            drawCaption(p, cell, b.caption, 11 * s.y());
        }
    }
    const QVector<double> tops = rowTops(type);
    const QRectF header =
        mapRef(type, QRectF(0, form.headerTop, 0, form.headerBottom - form.headerTop));
    for (const FormBox &b : form.items) {
        const QRectF r = mapRef(type, b.rect);
        if (b.capMode == QLatin1String("h")) {
            const double w = b.capSpan > 0 ? b.capSpan * s.x() : r.width();
            QRectF cell(r.x(), header.y(), w, tops.first() - header.y());
            const bool full =
                b.rect.y() + b.rect.height() >= form.rowHeight - 0.01 && b.rect.y() == 0;
            if (!full) {
                const double half = cell.height() / 2;
                cell = b.rect.y() > 0 ? QRectF(cell.x(), cell.y() + half, w, half)
                                      : QRectF(cell.x(), cell.y(), w, half);
            }
            frame(cell, true);
            p.setPen(variant.rgb);
            drawCaption(p, cell, b.caption, 12 * s.y());
        }
        for (int n = 1; n <= tops.size(); ++n) {
            const QRectF cell = screenRect(type, b.id, n);
            if (b.style == QLatin1String("box")) {
                frame(cell, false);
            } else if (b.style == QLatin1String("split")) {
                p.setPen(dotted);
                p.drawLine(cell.topLeft(), cell.topRight());
            }
        }
    }
    for (const FormText &t : form.texts) {
        const QRectF r = mapRef(type, t.rect);
        if (t.frame) {
            frame(r, true);
        }
        p.setPen(variant.rgb);
        const QString text = t.text == QLatin1String("{title}") ? variant.title : t.text;
        drawCaption(p, r, text, (t.text == QLatin1String("{title}") ? 14 : 12) * s.y());
    }
    p.setPen(QPen(variant.rgb, 2));
    p.drawRect(all);
    return image;
}

// ---------------------------------------------------------------- paper

namespace {

QRect paperFromRef(const Form &f, const QRectF &ref)
{
    const int x1 = paperRound(f.bodyLeft + (ref.x() - f.origin.x()) * f.kx);
    const int x2 = paperRound(f.bodyLeft + (ref.x() + ref.width() - f.origin.x()) * f.kx);
    const int y1 = paperRound(f.top + (ref.y() - f.origin.y()) * f.ky);
    const int y2 = paperRound(f.top + (ref.y() + ref.height() - f.origin.y()) * f.ky);
    return QRect(QPoint(x1, y1), QSize(x2 - x1, y2 - y1));
}

int paperRowTop(const Form &f, int line)
{
    return paperRound(f.top + (f.headerBottom - f.origin.y()) * f.ky) + (line - 1) * f.pitch;
}

} // namespace

QRect FormSet::paperRect(const Form &form, const QString &boxId, int line) const
{
    const FormBox *box = form.box(boxId);
    if (!box) {
        throw FormError("form " + form.id.toStdString() + " has no box " + boxId.toStdString());
    }
    if (!box->item) {
        return paperFromRef(form, box->rect);
    }
    const QRect x = paperFromRef(form, box->rect);
    const int base = paperRowTop(form, line);
    const int y1 = base + paperRound(box->rect.y() * form.ky);
    const bool full = box->rect.y() + box->rect.height() >= form.rowHeight - 0.01;
    const int y2 = full ? base + form.pitch
                        : base + paperRound((box->rect.y() + box->rect.height()) * form.ky);
    return QRect(QPoint(x.x(), y1), QSize(x.width(), y2 - y1));
}

int FormSet::paperCharPitch(const Form &form, const QString &rowId) const
{
    const FormBox *box = form.box(rowId);
    if (!box || box->count <= 0) {
        throw FormError("form " + form.id.toStdString() + " has no character row " +
                        rowId.toStdString());
    }
    return paperFromRef(form, box->rect).width() / box->count;
}

QRect FormSet::paperCharBox(const Form &form, const QString &rowId, int index) const
{
    const QRect r = paperFromRef(form, form.box(rowId)->rect);
    const int pitch = paperCharPitch(form, rowId);
    return QRect(r.x() + index * pitch, r.y(), pitch, r.height());
}

double FormSet::textWidth(int bytes, int points)
{
    return bytes * points * 254.0 / 144.0;
}
double FormSet::textHeight(int points)
{
    return points * 254.0 / 72.0;
}

QStringList FormSet::overlayLines(const Form &form, const QString &variantName) const
{
    const FormVariant &variant = form.variant(variantName);
    const int c = variant.colour;
    QStringList lines;
    lines << QStringLiteral("P%1;%2;").arg(form.paperWidth()).arg(form.paperLength());
    QStringList texts;
    QRect all;
    auto box = [&](const QRect &r, int pen) {
        lines << QStringLiteral("B%1;%2;%3;%4;%5;0;%6;14;1;")
                     .arg(r.x())
                     .arg(r.y())
                     .arg(r.x() + r.width())
                     .arg(r.y() + r.height())
                     .arg(pen)
                     .arg(c);
        all = all.isNull() ? r : all.united(r);
    };
    auto text = [&](const QRect &cell, const QString &t, int maxPt) {
        if (t.isEmpty()) {
            return;
        }
        const int pt = fitPoints(t, cell, maxPt, 3);
        const double w = textWidth(int(ShiftJis::byteLength(t)), pt);
        const int x = int(std::floor(cell.x() + (cell.width() - w) / 2));
        const int y = int(std::floor(cell.y() + (cell.height() - textHeight(pt)) / 2));
        texts << QStringLiteral("T%1;%2;%3;%4;%5;;%6;1;")
                     .arg(x)
                     .arg(y)
                     .arg(t, kCaptionFont)
                     .arg(pt)
                     .arg(c);
    };
    for (const FormBox &b : form.boxes) {
        const QRect r = paperFromRef(form, b.rect);
        if (b.count > 0) {
            for (int k = 0; k < b.count; ++k) {
                box(paperCharBox(form, b.id, k), 2);
            }
        } else {
            box(r, 2);
        }
        const QRectF cellRef = captionCell(b, b.rect, QPointF(1, 1));
        if (!cellRef.isNull()) {
            const QRect cell = paperFromRef(form, cellRef);
            box(cell, 2);
            text(cell, b.caption, 8);
        }
    }
    const int headerTop = paperRound(form.top + (form.headerTop - form.origin.y()) * form.ky);
    const int rows = paperRound((form.rowsEnd - form.headerBottom) / form.rowHeight);
    for (const FormBox &b : form.items) {
        if (b.capMode == QLatin1String("h")) {
            const QRectF ref(b.rect.x(), 0, b.capSpan > 0 ? b.capSpan : b.rect.width(), 0);
            const QRect xs = paperFromRef(form, ref);
            QRect cell(QPoint(xs.x(), headerTop),
                       QSize(xs.width(), paperRowTop(form, 1) - headerTop));
            const bool full =
                b.rect.y() == 0 && b.rect.y() + b.rect.height() >= form.rowHeight - 0.01;
            if (!full) {
                const int half = cell.height() / 2;
                cell = b.rect.y() > 0 ? QRect(QPoint(cell.x(), cell.y() + half),
                                              QSize(cell.width(), cell.height() - half))
                                      : QRect(cell.topLeft(), QSize(cell.width(), half));
            }
            box(cell, 2);
            text(cell, b.caption, 8);
        }
        for (int n = 1; n <= rows; ++n) {
            const QRect r = paperRect(form, b.id, n);
            if (b.style == QLatin1String("box")) {
                box(r, 2);
            } else if (b.style == QLatin1String("split")) {
                lines << QStringLiteral("L%1;%2;%3;%4;1;2;%5;;;")
                             .arg(r.x())
                             .arg(r.y())
                             .arg(r.x() + r.width())
                             .arg(r.y())
                             .arg(c);
            }
        }
    }
    for (const FormText &t : form.texts) {
        const QRect r = paperFromRef(form, t.rect);
        if (t.frame) {
            box(r, 2);
        }
        const bool title = t.text == QLatin1String("{title}");
        text(r, title ? variant.title : t.text, title ? 10 : 8);
    }
    // The outer frame, a little heavier.
    box(all, 4);
    lines += texts;
    return lines;
}

QByteArray FormSet::overlayFile(const Form &form, const QString &variant) const
{
    QByteArray bytes;
    for (const QString &line : overlayLines(form, variant)) {
        bytes += ShiftJis::encode(line, form.variant(variant).overlay);
        bytes += "\r\n";
    }
    return bytes;
}

QVector<PrintPiece> FormSet::printPieces()
{
    QVector<PrintPiece> p;
    using A = PrintPiece::Align;
    auto add = [&](const QString &box, const QString &x, const QString &y, const QString &key,
                   int width, A align, bool item = false, const QString &group = {}) {
        PrintPiece piece;
        piece.box = box;
        piece.xColumn = x;
        piece.yColumn = y;
        piece.key = key;
        piece.width = width;
        piece.align = align;
        piece.item = item;
        piece.group = group;
        p.append(piece);
    };
    auto free = [&](const QString &id, const QString &group = {}) {
        add(id, id + "_X", id + "_Y", id, 0, A::Left, false, group);
    };
    for (const char *id : {"A_F1", "B_F1", "C_F1", "D_F1"}) {
        free(id);
    }
    add("TEISEI_1", "TEISEI_1_X", "TEISEI_Y", "TEISEI", 2, A::Centre, false, "teisei");
    add("TEISEI_2", "TEISEI_2_X", "TEISEI_Y", "TEISEI", 2, A::Centre, false, "teisei");
    for (const char *d : {"Y", "M", "D"}) {
        add(QStringLiteral("NOUHIN_") + d + "1", QStringLiteral("NOUHIN_") + d + "1_X",
            "NOUHIN_1_Y", "NOUHIN_1", 2, A::Centre, false, "firstDate");
    }
    free("E_F1");
    add("CONAME", "CONAME_X", "CONAME_Y", "CONAME", 60, A::Left);
    add("TENPONAME", "TENPONAME_X", "TENPONAME_Y", "TENPONAME", 60, A::Left);
    add("COCODE", "COCODE_X", "COCODE_Y", "COCODE", 20, A::Left);
    add("BUNRUICODE", "BUNRUICODE_X", "BUNRUICODE_Y", "BUNRUICODE", 10, A::Left);
    add("DENKUBUN", "DENKUBUN_X", "DENKUBUN_Y", "DENKUBUN", 10, A::Left);
    add("DENNO_1", "DENNO_1_X", "DENNO_Y", "DENNO", 20, A::Left);
    add("DENNO_2", "DENNO_2_X", "DENNO_Y", "DENNO", 1, A::Centre);
    add("TORIHIKICODE_1", "TORIHIKICODE_1_X", "TORIHIKICODE_Y", "TORIHIKICODE", 20, A::Left);
    add("TORIHIKICODE_2", "TORIHIKICODE_2_X", "TORIHIKICODE_Y", "TORIHIKICODE", 20, A::Left, false,
        "torihikiCode2");
    add("TORIHIKINAME_1", "TORIHIKINAME_1_X", "TORIHIKINAME_1_Y", "TORIHIKINAME", 60, A::Left);
    add("TORIHIKINAME_2", "TORIHIKINAME_2_X", "TORIHIKINAME_2_Y", "TORIHIKINAME", 60, A::Left);
    for (const char *d : {"Y", "M", "D"}) {
        add(QStringLiteral("HACYU_%1").arg(d), QStringLiteral("HACYU_%1_X").arg(d), "HACYU_Y",
            "HACYU", 2, A::Centre, false, "orderDate");
    }
    for (const char *d : {"Y", "M", "D"}) {
        add(QStringLiteral("NOUHIN_") + d + "2", QStringLiteral("NOUHIN_") + d + "2_X",
            "NOUHIN_2_Y", "NOUHIN_2", 2, A::Centre);
    }
    for (int k = 1; k <= 3; ++k) {
        add(QStringLiteral("BINN%1").arg(k), QStringLiteral("BINN%1_X").arg(k), "BINN_Y", "BINN", 1,
            A::Centre);
    }
    add("HINMEI_1", "HINMEI_1_X", "HINMEI_1_Y", "HINMEI", 60, A::Left, true);
    add("HINMEI_2", "HINMEI_2_X", "HINMEI_2_Y", "HINMEI", 60, A::Left, true, "nameRow2");
    add("CODE_1", "CODE_1_X", "CODE_1_Y", "CODE", 20, A::Left, true);
    add("CODE_2", "CODE_2_X", "CODE_2_Y", "CODE", 20, A::Left, true, "nameRow2");
    add("COLOR", "COLOR_X", "COLOR_Y", "COLOR", 10, A::Left, true);
    add("IRIKAZU", "IRIKAZU_X", "IRIKAZU_Y", "IRIKAZU", 10, A::Left, true);
    add("SIZE", "SIZE_X", "SIZE_Y", "SIZE", 8, A::Left, true);
    add("CASEE", "CASEE_X", "CASEE_Y", "CASEE", 8, A::Left, true);
    add("TANI", "TANI_X", "TANI_Y", "TANI", 4, A::Right, true, "tani");
    add("KAZU_1", "KAZU_1_X", "KAZU_Y", "KAZU", 5, A::Right, true);
    add("KAZU_2", "KAZU_2_X", "KAZU_Y", "KAZU", 1, A::Centre, true);
    add("TKAZU_1", "TKAZU_1_X", "TKAZU_Y", "TKAZU", 6, A::Right, true, "correctedQuantity");
    add("TKAZU_2", "TKAZU_2_X", "TKAZU_Y", "TKAZU", 1, A::Centre, true, "correctedQuantity");
    add("HIKIAI", "HIKIAI_X", "HIKIAI_Y", "HIKIAI", 2, A::Centre, true);
    add("KUBUN", "KUBUN_X", "KUBUN_Y", "KUBUN", 2, A::Centre, true);
    add("GENKA_1", "GENKA_1_X", "GENKA_Y", "GENKA", 3, A::Centre, true);
    add("GENKA_2", "GENKA_2_X", "GENKA_Y", "GENKA", 3, A::Centre, true);
    add("GENKA_3", "GENKA_3_X", "GENKA_Y", "GENKA", 2, A::Centre, true);
    for (const char *key : {"GENKAKEI", "URITANKA", "BIKOU"}) {
        const int blocks = QLatin1String(key) == QLatin1String("URITANKA") ? 2 : 3;
        for (int k = 1; k <= blocks; ++k) {
            add(QStringLiteral("%1_%2").arg(key).arg(k), QStringLiteral("%1_%2_X").arg(key).arg(k),
                QStringLiteral("%1_Y").arg(key), key, 3, A::Centre, true);
        }
    }
    add("GOUKEI_KAZU_1", "GOUKEI_KAZU_1_X", "GOUKEI_KAZU_Y", "GOUKEI_KAZU", 5, A::Right);
    add("GOUKEI_KAZU_2", "GOUKEI_KAZU_2_X", "GOUKEI_KAZU_Y", "GOUKEI_KAZU", 1, A::Centre);
    add("GOUKEI_KAZU_T_1", "GOUKEI_KAZU_T_1_X", "GOUKEI_KAZU_T_Y", "GOUKEI_KAZU_T", 6, A::Right,
        false, "correctedQuantityTotals");
    add("GOUKEI_KAZU_T_2", "GOUKEI_KAZU_T_2_X", "GOUKEI_KAZU_T_Y", "GOUKEI_KAZU_T", 1, A::Centre,
        false, "correctedQuantityTotals");
    for (const char *key : {"GOUKEI_GENKA", "GOUKEI_URI"}) {
        for (int k = 1; k <= 3; ++k) {
            add(QStringLiteral("%1_%2").arg(key).arg(k), QStringLiteral("%1_%2_X").arg(key).arg(k),
                QStringLiteral("%1_Y").arg(key), key, 3, A::Centre);
        }
    }
    for (const char *id : {"F_F1", "G_F1", "H_F1", "I_F1", "J_F1", "K_F1"}) {
        free(id);
    }
    free("L_F1", "lf1");
    for (const char *key : {"GOUKEI_GENKA_T", "GOUKEI_URI_T"}) {
        for (int k = 0; k < 9; ++k) {
            PrintPiece piece;
            piece.box = QStringLiteral("%1#%2").arg(key).arg(k);
            piece.xColumn = k == 0 ? QStringLiteral("%1_X").arg(key) : QString();
            piece.yColumn = QStringLiteral("%1_Y").arg(key);
            piece.key = key;
            piece.width = 1;
            piece.align = A::Centre;
            piece.charIndex = k;
            p.append(piece);
        }
    }
    return p;
}

QStringList FormSet::layoutColumns()
{
    QStringList cols;
    QStringList keys;
    for (const PrintPiece &p : printPieces()) {
        if (!p.xColumn.isEmpty() && !cols.contains(p.xColumn)) {
            cols << p.xColumn;
        }
    }
    for (const PrintPiece &p : printPieces()) {
        if (!cols.contains(p.yColumn)) {
            cols << p.yColumn;
        }
        if (!keys.contains(p.key)) {
            keys << p.key;
        }
    }
    for (const QString &k : keys) {
        cols << k + "_S" << k + "_F";
    }
    return cols;
}

bool FormSet::piecePresent(const SlipTypeGeometry &type, const PrintPiece &piece) const
{
    if (!type.has(piece.group)) {
        return false;
    }
    const QString id = piece.box.section('#', 0, 0);
    return formOf(type).box(id) != nullptr;
}

QRect FormSet::pieceBox(const Form &form, const SlipTypeGeometry &, const PrintPiece &piece) const
{
    if (piece.charIndex >= 0) {
        return paperCharBox(form, piece.box.section('#', 0, 0), piece.charIndex);
    }
    return paperRect(form, piece.box, 1);
}

LayoutRow FormSet::layout(const SlipTypeGeometry &type, const QString &variant) const
{
    const Form &form = formOf(type);
    LayoutRow row;
    row.displayName = type.displayNames.value(variant);
    row.typeId = type.id;
    row.variant = variant;
    QMap<QString, QVariant> &v = row.values;
    v.insert("DenName", row.displayName);
    v.insert("NotShow", 0);
    v.insert("Use", 1);
    v.insert("FormName", form.variant(variant).overlay);
    v.insert("Pr_Form", 1);
    v.insert("ShowPD", 1);
    v.insert("PrinterName", QString());
    v.insert("PaperName", QString());
    v.insert("Left_M", 0);
    v.insert("Top_M", 0);
    v.insert("HINMEI_Y_SKIP", form.pitch);
    v.insert("HINMEI_GYOU", type.lines == 9 ? 9 : 6);
    v.insert("GOUKEI_GENKA_T_SKIP_X", paperCharPitch(form, "GOUKEI_GENKA_T"));
    v.insert("GOUKEI_URI_T_SKIP_X", paperCharPitch(form, "GOUKEI_URI_T"));

    const QVector<PrintPiece> pieces = printPieces();
    const int offX = form.paperWidth() + kOffPage;
    auto widthOf = [&](const PrintPiece &p) {
        const FormBox *b = form.box(p.box.section('#', 0, 0));
        if (p.width == 0 || (b && b->chars > 0 && b->chars < p.width)) {
            return b && b->chars > 0 ? b->chars : 60;
        }
        return p.width;
    };
    QStringList keys;
    for (const PrintPiece &p : pieces) {
        if (!keys.contains(p.key)) {
            keys << p.key;
        }
    }
    for (const QString &key : keys) {
        QVector<PrintPiece> present;
        for (const PrintPiece &p : pieces) {
            if (p.key == key && piecePresent(type, p)) {
                present.append(p);
            }
        }
        int size = maxPointsOf(key);
        if (!present.isEmpty()) {
            for (;; --size) {
                if (size < kSmallestPoints) {
                    throw FormError("type " + type.id.toStdString() + ": " + key.toStdString() +
                                    " does not fit its boxes at the smallest font size");
                }
                bool fits = true;
                for (const PrintPiece &p : present) {
                    const QRect b = pieceBox(form, type, p);
                    fits = fits && textWidth(widthOf(p), size) <= b.width() - 2 * kMargin &&
                           textHeight(size) <= b.height() - 2 * kMargin;
                }
                if (fits) {
                    break;
                }
            }
        }
        v.insert(key + "_S", size);
        v.insert(key + "_F", kPrintFont);
        // Pieces a type has no box for are set beyond the right edge of the
        // sheet, so values that pickers write into hidden columns never print
        // over the form.
        for (const PrintPiece &p : pieces) {
            if (p.key != key) {
                continue;
            }
            if (!piecePresent(type, p)) {
                if (!p.xColumn.isEmpty()) {
                    v.insert(p.xColumn, offX);
                }
                if (!v.contains(p.yColumn)) {
                    v.insert(p.yColumn, kOffPage);
                }
            }
        }
        for (const PrintPiece &p : present) {
            const QRect b = pieceBox(form, type, p);
            const double w = textWidth(widthOf(p), size);
            const double h = textHeight(size);
            int x = b.x() + kMargin;
            if (p.align == PrintPiece::Right) {
                x = int(std::floor(b.x() + b.width() - kMargin - w));
            } else if (p.align == PrintPiece::Centre) {
                x = int(std::floor(b.x() + (b.width() - w) / 2));
            }
            const int y = int(std::floor(b.y() + (b.height() - h) / 2));
            if (!p.xColumn.isEmpty()) {
                v.insert(p.xColumn, x);
            }
            // Pieces sharing a y column sit on one baseline: the first decides.
            const QVariant old = v.value(p.yColumn);
            if (!old.isValid() || old.toInt() == kOffPage) {
                v.insert(p.yColumn, y);
            } else if (old.toInt() + h > b.y() + b.height() - kMargin + 0.001 ||
                       old.toInt() < b.y() + kMargin - 0.001) {
                throw FormError("type " + type.id.toStdString() + ": " + p.box.toStdString() +
                                " is not level with the other boxes of " + p.yColumn.toStdString());
            }
        }
    }
    for (const QString &col : layoutColumns()) {
        if (!v.contains(col)) {
            throw FormError("layout column " + col.toStdString() + " left without a value");
        }
    }
    return row;
}

namespace {

// Text of the full width of a piece: names and other free texts in
// full-width characters, codes and numbers in digits.
QString fillText(const PrintPiece &piece, int width)
{
    static const QStringList texts = {"A_F1",   "B_F1",  "C_F1",   "D_F1",      "E_F1",
                                      "F_F1",   "G_F1",  "H_F1",   "I_F1",      "J_F1",
                                      "K_F1",   "L_F1",  "CONAME", "TENPONAME", "TORIHIKINAME",
                                      "HINMEI", "COLOR", "SIZE",   "CASEE",     "TANI"};
    QString text;
    if (texts.contains(piece.key)) {
        const QString sample = QStringLiteral("見本伝票記入");
        for (int i = 0; i < width / 2; ++i) {
            text += sample.at(i % sample.size());
        }
        if (width % 2) {
            text += QLatin1Char('X');
        }
    } else {
        for (int i = 0; i < width; ++i) {
            text += QChar('0' + (i + 1) % 10);
        }
    }
    return text;
}

} // namespace

QByteArray FormSet::sampleSlip(const SlipTypeGeometry &type, const QString &variant) const
{
    const Form &form = formOf(type);
    const QMap<QString, QVariant> v = layout(type, variant).values;
    const int lines = v.value("HINMEI_GYOU").toInt() == 9 ? 9 : 6;
    const int pitch = v.value("HINMEI_Y_SKIP").toInt();
    QByteArray bytes;
    auto record = [&](int x, int y, const QString &text, const QString &key) {
        const QString line = QStringLiteral("T%1;%2;%3;%4;%5;;;1;")
                                 .arg(x)
                                 .arg(y)
                                 .arg(text, v.value(key + "_F").toString())
                                 .arg(v.value(key + "_S").toInt());
        bytes += ShiftJis::encode(line) + "\r\n";
    };
    for (const PrintPiece &piece : FormSet::printPieces()) {
        const FormBox *box = form.box(piece.box.section('#', 0, 0));
        int width = piece.width;
        if (box && box->chars > 0 && (width == 0 || box->chars < width)) {
            width = box->chars;
        } else if (width == 0) {
            width = 60;
        }
        const QString text = fillText(piece, width);
        const int y = v.value(piece.yColumn).toInt();
        if (piece.charIndex >= 0) {
            const int x = v.value(piece.key + "_X").toInt() +
                          piece.charIndex * v.value(piece.key + "_SKIP_X").toInt();
            record(x, y, text, piece.key);
            continue;
        }
        for (int n = 1; n <= (piece.item ? lines : 1); ++n) {
            record(v.value(piece.xColumn).toInt(), y + (n - 1) * pitch, text, piece.key);
        }
    }
    return bytes;
}

QVector<LayoutRow> FormSet::layoutRows() const
{
    QVector<LayoutRow> rows;
    int showNo = 0;
    for (const QString &id : typeOrder()) {
        const SlipTypeGeometry &t = type(id);
        for (const FormVariant &variant : formOf(t).variants) {
            if (!t.displayNames.contains(variant.name)) {
                continue;
            }
            LayoutRow row = layout(t, variant.name);
            row.values.insert("ShowNo", ++showNo);
            rows.append(row);
        }
    }
    return rows;
}

QString FormSet::seedSql() const
{
    const QStringList fixed = {"DenName",
                               "ShowNo",
                               "NotShow",
                               "Use",
                               "FormName",
                               "Pr_Form",
                               "ShowPD",
                               "PrinterName",
                               "PaperName",
                               "Left_M",
                               "Top_M",
                               "HINMEI_Y_SKIP",
                               "HINMEI_GYOU",
                               "GOUKEI_GENKA_T_SKIP_X",
                               "GOUKEI_URI_T_SKIP_X"};
    const QStringList columns = fixed + layoutColumns();
    QString sql;
    sql += "-- Layout rows of TAMBRELSET, one per slip type display name: print\n"
           "-- positions in 0.1 mm from the top-left corner of the sheet, font sizes in\n"
           "-- points. Generated by tambrel-formgen from data/forms; regenerate with\n"
           "--   tambrel-formgen --seed data/seed.sql\n"
           "-- instead of editing it.\n";
    for (const LayoutRow &row : layoutRows()) {
        QStringList cols;
        QStringList vals;
        for (const QString &c : columns) {
            cols << c;
            vals << sqlValue(row.values.value(c));
        }
        sql += "\n-- " + row.typeId + " " + row.variant + "\n";
        sql += "INSERT INTO TAMBRELSET (";
        for (int i = 0; i < cols.size(); ++i) {
            sql += (i % 8 == 0 ? QStringLiteral("\n    ") : QStringLiteral(" ")) + cols.at(i) +
                   (i + 1 < cols.size() ? "," : "");
        }
        sql += ")\n  VALUES (";
        for (int i = 0; i < vals.size(); ++i) {
            sql += (i % 8 == 0 ? QStringLiteral("\n    ") : QStringLiteral(" ")) + vals.at(i) +
                   (i + 1 < vals.size() ? "," : "");
        }
        sql += ");\n";
    }
    return sql;
}
