// The print composition: the printed pieces, the layout row that places
// them for a slip type, the seed SQL of those rows, and a sample slip.

#include "FormGeometry.h"
#include "PrintTool.h"

#include <cmath>

namespace {

const QString kPrintFont = QStringLiteral("ＭＳ 明朝");
constexpr int kSmallestPoints = 5;

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
        bytes += TPrintTool::TextRecord(x, y, text, v.value(key + "_F").toString(),
                                        v.value(key + "_S").toInt(), QString(), QString(),
                                        QStringLiteral("1"));
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
