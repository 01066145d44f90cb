// Loading the form descriptions into the model, and the mapping of its
// reference coordinates onto a slip type's window and onto the paper.

#include "FormGeometryInternal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

using namespace FormInternal;

namespace {

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

namespace FormInternal {

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

} // namespace FormInternal

// ---------------------------------------------------------------- paper

namespace FormInternal {

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

} // namespace FormInternal

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
