// Checks the generated slip form data: the seed layout rows print every
// element of the composition inside its box of the overlay, at the element's
// font size and width, without two elements touching; the screen edits keep
// their designed positions and sit on their boxes of the pictures.

#include "FormGeometry.h"
#include "text/ShiftJis.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

const FormSet &forms()
{
    static const FormSet set = FormSet::load(QStringLiteral(TAMBREL_DATA_DIR "/forms"));
    return set;
}

// The rows of data/seed.sql as column -> value text (strings unquoted).
QVector<QMap<QString, QString>> seedRows()
{
    const QString sql = readText(QStringLiteral(TAMBREL_DATA_DIR "/seed.sql"));
    QVector<QMap<QString, QString>> rows;
    static const QRegularExpression insert(
        QStringLiteral(R"(INSERT INTO TAMBRELSET \(([^)]*)\)\s*VALUES \()"));
    auto it = insert.globalMatch(sql);
    while (it.hasNext()) {
        const auto m = it.next();
        QStringList cols = m.captured(1).split(QLatin1Char(','));
        QStringList vals;
        QString cur;
        bool quoted = false;
        qsizetype i = m.capturedEnd();
        for (; i < sql.size(); ++i) {
            const QChar ch = sql.at(i);
            if (quoted) {
                if (ch == QLatin1Char('\'') && i + 1 < sql.size() &&
                    sql.at(i + 1) == QLatin1Char('\'')) {
                    cur += ch;
                    ++i;
                } else if (ch == QLatin1Char('\'')) {
                    quoted = false;
                } else {
                    cur += ch;
                }
            } else if (ch == QLatin1Char('\'')) {
                quoted = true;
            } else if (ch == QLatin1Char(',') || ch == QLatin1Char(')')) {
                vals << cur.trimmed();
                cur.clear();
                if (ch == QLatin1Char(')')) {
                    break;
                }
            } else {
                cur += ch;
            }
        }
        QMap<QString, QString> row;
        EXPECT_EQ(cols.size(), vals.size());
        for (qsizetype c = 0; c < cols.size() && c < vals.size(); ++c) {
            row.insert(cols.at(c).trimmed(), vals.at(c));
        }
        rows.append(row);
    }
    return rows;
}

// Column -> VARCHAR length (0 for other types) of a table of the schema.
QMap<QString, int> schemaColumns(const QString &table)
{
    const QString sql = readText(QStringLiteral(TAMBREL_DATA_DIR "/schema.sql"));
    const qsizetype start = sql.indexOf("CREATE TABLE " + table + " (");
    const qsizetype end = sql.indexOf(QStringLiteral(");"), start);
    QMap<QString, int> cols;
    static const QRegularExpression col(QStringLiteral(R"(^\s+(\w+) (\w+)(?:\((\d+)\))?)"),
                                        QRegularExpression::MultilineOption);
    auto it = col.globalMatch(sql.mid(start, end - start));
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(1) != QLatin1String("CONSTRAINT")) {
            cols.insert(m.captured(1),
                        m.captured(2) == QLatin1String("VARCHAR") ? m.captured(3).toInt() : 0);
        }
    }
    return cols;
}

// The printed elements of one slip as the composition writes them: source
// column (line 1 / nine-line total for lines and totals), its right(w) width
// (0: as stored, as wide as the column), the box it must land in, and its
// layout columns.
struct Element
{
    const char *source;
    int right;
    int part; // 0 whole; 1.. the block of 3 or the single character
    const char *box;
    const char *x;
    const char *y;
    const char *key;
    bool item;
    const char *group; // column group; nullptr: every slip type
};

const char *kNameRow2 = "nameRow2";

const std::vector<Element> &elements()
{
    static const std::vector<Element> table = {
        {"A_F1", 0, 0, "A_F1", "A_F1_X", "A_F1_Y", "A_F1", false, nullptr},
        {"B_F1", 0, 0, "B_F1", "B_F1_X", "B_F1_Y", "B_F1", false, nullptr},
        {"C_F1", 0, 0, "C_F1", "C_F1_X", "C_F1_Y", "C_F1", false, nullptr},
        {"D_F1", 0, 0, "D_F1", "D_F1_X", "D_F1_Y", "D_F1", false, nullptr},
        {"TEISEI_1", 0, 0, "TEISEI_1", "TEISEI_1_X", "TEISEI_Y", "TEISEI", false, "teisei"},
        {"TEISEI_2", 0, 0, "TEISEI_2", "TEISEI_2_X", "TEISEI_Y", "TEISEI", false, "teisei"},
        {"NOUHIN_Y1", 0, 0, "NOUHIN_Y1", "NOUHIN_Y1_X", "NOUHIN_1_Y", "NOUHIN_1", false,
         "firstDate"},
        {"NOUHIN_M1", 0, 0, "NOUHIN_M1", "NOUHIN_M1_X", "NOUHIN_1_Y", "NOUHIN_1", false,
         "firstDate"},
        {"NOUHIN_D1", 0, 0, "NOUHIN_D1", "NOUHIN_D1_X", "NOUHIN_1_Y", "NOUHIN_1", false,
         "firstDate"},
        {"E_F1", 0, 0, "E_F1", "E_F1_X", "E_F1_Y", "E_F1", false, nullptr},
        {"CONAME", 0, 0, "CONAME", "CONAME_X", "CONAME_Y", "CONAME", false, nullptr},
        {"TENPONAME", 0, 0, "TENPONAME", "TENPONAME_X", "TENPONAME_Y", "TENPONAME", false, nullptr},
        {"COCODE", 0, 0, "COCODE", "COCODE_X", "COCODE_Y", "COCODE", false, nullptr},
        {"BUNRUICODE", 0, 0, "BUNRUICODE", "BUNRUICODE_X", "BUNRUICODE_Y", "BUNRUICODE", false,
         nullptr},
        {"DENKUBUN", 0, 0, "DENKUBUN", "DENKUBUN_X", "DENKUBUN_Y", "DENKUBUN", false, nullptr},
        {"DENNO_1", 0, 0, "DENNO_1", "DENNO_1_X", "DENNO_Y", "DENNO", false, nullptr},
        {"DENNO_2", 0, 0, "DENNO_2", "DENNO_2_X", "DENNO_Y", "DENNO", false, nullptr},
        {"TORIHIKICODE_1", 0, 0, "TORIHIKICODE_1", "TORIHIKICODE_1_X", "TORIHIKICODE_Y",
         "TORIHIKICODE", false, nullptr},
        {"TORIHIKICODE_2", 0, 0, "TORIHIKICODE_2", "TORIHIKICODE_2_X", "TORIHIKICODE_Y",
         "TORIHIKICODE", false, "torihikiCode2"},
        {"TORIHIKINAME_1", 0, 0, "TORIHIKINAME_1", "TORIHIKINAME_1_X", "TORIHIKINAME_1_Y",
         "TORIHIKINAME", false, nullptr},
        {"TORIHIKINAME_2", 0, 0, "TORIHIKINAME_2", "TORIHIKINAME_2_X", "TORIHIKINAME_2_Y",
         "TORIHIKINAME", false, nullptr},
        {"HACYU_Y", 0, 0, "HACYU_Y", "HACYU_Y_X", "HACYU_Y", "HACYU", false, "orderDate"},
        {"HACYU_M", 0, 0, "HACYU_M", "HACYU_M_X", "HACYU_Y", "HACYU", false, "orderDate"},
        {"HACYU_D", 0, 0, "HACYU_D", "HACYU_D_X", "HACYU_Y", "HACYU", false, "orderDate"},
        {"NOUHIN_Y2", 0, 0, "NOUHIN_Y2", "NOUHIN_Y2_X", "NOUHIN_2_Y", "NOUHIN_2", false, nullptr},
        {"NOUHIN_M2", 0, 0, "NOUHIN_M2", "NOUHIN_M2_X", "NOUHIN_2_Y", "NOUHIN_2", false, nullptr},
        {"NOUHIN_D2", 0, 0, "NOUHIN_D2", "NOUHIN_D2_X", "NOUHIN_2_Y", "NOUHIN_2", false, nullptr},
        {"BINN", 3, 1, "BINN1", "BINN1_X", "BINN_Y", "BINN", false, nullptr},
        {"BINN", 3, 2, "BINN2", "BINN2_X", "BINN_Y", "BINN", false, nullptr},
        {"BINN", 3, 3, "BINN3", "BINN3_X", "BINN_Y", "BINN", false, nullptr},
        {"HINMEI_11", 0, 0, "HINMEI_1", "HINMEI_1_X", "HINMEI_1_Y", "HINMEI", true, nullptr},
        {"HINMEI_12", 0, 0, "HINMEI_2", "HINMEI_2_X", "HINMEI_2_Y", "HINMEI", true, kNameRow2},
        {"CODE_11", 0, 0, "CODE_1", "CODE_1_X", "CODE_1_Y", "CODE", true, nullptr},
        {"CODE_12", 0, 0, "CODE_2", "CODE_2_X", "CODE_2_Y", "CODE", true, kNameRow2},
        {"COLOR_1", 0, 0, "COLOR", "COLOR_X", "COLOR_Y", "COLOR", true, nullptr},
        {"IRIKAZU_1", 0, 0, "IRIKAZU", "IRIKAZU_X", "IRIKAZU_Y", "IRIKAZU", true, nullptr},
        {"SIZE_1", 0, 0, "SIZE", "SIZE_X", "SIZE_Y", "SIZE", true, nullptr},
        {"CASEE_1", 0, 0, "CASEE", "CASEE_X", "CASEE_Y", "CASEE", true, nullptr},
        {"TANI_1", 4, 0, "TANI", "TANI_X", "TANI_Y", "TANI", true, "tani"},
        {"KAZU_11", 5, 0, "KAZU_1", "KAZU_1_X", "KAZU_Y", "KAZU", true, nullptr},
        {"KAZU_12", 0, 0, "KAZU_2", "KAZU_2_X", "KAZU_Y", "KAZU", true, nullptr},
        {"KAZU_T_11", 6, 0, "TKAZU_1", "TKAZU_1_X", "TKAZU_Y", "TKAZU", true, "correctedQuantity"},
        {"KAZU_T_12", 0, 0, "TKAZU_2", "TKAZU_2_X", "TKAZU_Y", "TKAZU", true, "correctedQuantity"},
        {"HIKIAI_1", 0, 0, "HIKIAI", "HIKIAI_X", "HIKIAI_Y", "HIKIAI", true, nullptr},
        {"KUBUN_1", 0, 0, "KUBUN", "KUBUN_X", "KUBUN_Y", "KUBUN", true, nullptr},
        {"GENKA_11", 6, 1, "GENKA_1", "GENKA_1_X", "GENKA_Y", "GENKA", true, nullptr},
        {"GENKA_11", 6, 2, "GENKA_2", "GENKA_2_X", "GENKA_Y", "GENKA", true, nullptr},
        {"GENKA_12", 2, 0, "GENKA_3", "GENKA_3_X", "GENKA_Y", "GENKA", true, nullptr},
        {"GENKAKEI_1", 9, 1, "GENKAKEI_1", "GENKAKEI_1_X", "GENKAKEI_Y", "GENKAKEI", true, nullptr},
        {"GENKAKEI_1", 9, 2, "GENKAKEI_2", "GENKAKEI_2_X", "GENKAKEI_Y", "GENKAKEI", true, nullptr},
        {"GENKAKEI_1", 9, 3, "GENKAKEI_3", "GENKAKEI_3_X", "GENKAKEI_Y", "GENKAKEI", true, nullptr},
        {"URITANKA_1", 6, 1, "URITANKA_1", "URITANKA_1_X", "URITANKA_Y", "URITANKA", true, nullptr},
        {"URITANKA_1", 6, 2, "URITANKA_2", "URITANKA_2_X", "URITANKA_Y", "URITANKA", true, nullptr},
        {"BIKOU_1", 9, 1, "BIKOU_1", "BIKOU_1_X", "BIKOU_Y", "BIKOU", true, nullptr},
        {"BIKOU_1", 9, 2, "BIKOU_2", "BIKOU_2_X", "BIKOU_Y", "BIKOU", true, nullptr},
        {"BIKOU_1", 9, 3, "BIKOU_3", "BIKOU_3_X", "BIKOU_Y", "BIKOU", true, nullptr},
        {"GOUKEI_KAZU9_1", 5, 0, "GOUKEI_KAZU_1", "GOUKEI_KAZU_1_X", "GOUKEI_KAZU_Y", "GOUKEI_KAZU",
         false, nullptr},
        {"GOUKEI_KAZU9_2", 0, 0, "GOUKEI_KAZU_2", "GOUKEI_KAZU_2_X", "GOUKEI_KAZU_Y", "GOUKEI_KAZU",
         false, nullptr},
        {"GOUKEI_KAZU9_T1", 6, 0, "GOUKEI_KAZU_T_1", "GOUKEI_KAZU_T_1_X", "GOUKEI_KAZU_T_Y",
         "GOUKEI_KAZU_T", false, "correctedQuantityTotals"},
        {"GOUKEI_KAZU9_T2", 0, 0, "GOUKEI_KAZU_T_2", "GOUKEI_KAZU_T_2_X", "GOUKEI_KAZU_T_Y",
         "GOUKEI_KAZU_T", false, "correctedQuantityTotals"},
        {"GOUKEI_GENKA9", 9, 1, "GOUKEI_GENKA_1", "GOUKEI_GENKA_1_X", "GOUKEI_GENKA_Y",
         "GOUKEI_GENKA", false, nullptr},
        {"GOUKEI_GENKA9", 9, 2, "GOUKEI_GENKA_2", "GOUKEI_GENKA_2_X", "GOUKEI_GENKA_Y",
         "GOUKEI_GENKA", false, nullptr},
        {"GOUKEI_GENKA9", 9, 3, "GOUKEI_GENKA_3", "GOUKEI_GENKA_3_X", "GOUKEI_GENKA_Y",
         "GOUKEI_GENKA", false, nullptr},
        {"GOUKEI_URI9", 9, 1, "GOUKEI_URI_1", "GOUKEI_URI_1_X", "GOUKEI_URI_Y", "GOUKEI_URI", false,
         nullptr},
        {"GOUKEI_URI9", 9, 2, "GOUKEI_URI_2", "GOUKEI_URI_2_X", "GOUKEI_URI_Y", "GOUKEI_URI", false,
         nullptr},
        {"GOUKEI_URI9", 9, 3, "GOUKEI_URI_3", "GOUKEI_URI_3_X", "GOUKEI_URI_Y", "GOUKEI_URI", false,
         nullptr},
        {"F_F1", 0, 0, "F_F1", "F_F1_X", "F_F1_Y", "F_F1", false, nullptr},
        {"G_F1", 0, 0, "G_F1", "G_F1_X", "G_F1_Y", "G_F1", false, nullptr},
        {"H_F1", 0, 0, "H_F1", "H_F1_X", "H_F1_Y", "H_F1", false, nullptr},
        {"I_F1", 0, 0, "I_F1", "I_F1_X", "I_F1_Y", "I_F1", false, nullptr},
        {"J_F1", 0, 0, "J_F1", "J_F1_X", "J_F1_Y", "J_F1", false, nullptr},
        {"K_F1", 0, 0, "K_F1", "K_F1_X", "K_F1_Y", "K_F1", false, nullptr},
        {"L_F1", 0, 0, "L_F1", "L_F1_X", "L_F1_Y", "L_F1", false, "lf1"},
    };
    return table;
}

// A printed piece on the page, 0.1 mm.
struct Placed
{
    QString what;
    QRectF text;
    QRect box;
};

int value(const QMap<QString, QString> &row, const QString &column)
{
    EXPECT_TRUE(row.contains(column)) << column.toStdString();
    return row.value(column).toInt();
}

QRectF textRect(double x, double y, int bytes, int points)
{
    return QRectF(x, y, bytes * points * 254.0 / 144.0, points * 254.0 / 72.0);
}

bool inside(const QRectF &text, const QRect &box)
{
    return text.left() >= box.x() && text.top() >= box.y() &&
           text.right() <= box.x() + box.width() && text.bottom() <= box.y() + box.height();
}

const SlipTypeGeometry &typeOfRow(const QMap<QString, QString> &row)
{
    for (const SlipTypeGeometry &t : forms().types()) {
        for (const QString &name : t.displayNames) {
            if (name == row.value("DenName")) {
                return t;
            }
        }
    }
    throw FormError("no slip type for " + row.value("DenName").toStdString());
}

bool hasGroup(const SlipTypeGeometry &t, const char *group)
{
    if (!group) {
        return true;
    }
    if (QLatin1String(group) == QLatin1String(kNameRow2)) {
        return t.nameRows == 2;
    }
    return t.groups.value(QLatin1String(group));
}

// Every piece of one slip of the row's type, as the composition places it.
// Pieces of column groups the type lacks are returned with on = false.
struct Pieces
{
    QVector<Placed> on;
    QVector<Placed> off;
};

Pieces placePieces(const QMap<QString, QString> &row)
{
    const SlipTypeGeometry &type = typeOfRow(row);
    const Form &form = forms().formOf(type);
    const QMap<QString, int> lengths = schemaColumns("TAMBREL");
    const int lines = value(row, "HINMEI_GYOU") == 9 ? 9 : 6;
    const int pitch = value(row, "HINMEI_Y_SKIP");
    Pieces out;
    for (const Element &e : elements()) {
        const int x = value(row, e.x);
        const int y0 = value(row, e.y);
        const int size = value(row, QString(e.key) + "_S");
        EXPECT_FALSE(row.value(QString(e.key) + "_F").isEmpty()) << e.key;
        int bytes = e.right;
        if (e.part > 0) {
            bytes = QLatin1String(e.box).startsWith(QLatin1String("BINN")) ? 1 : 3;
        } else if (bytes == 0) {
            bytes = lengths.value(e.source);
            EXPECT_GT(bytes, 0) << e.source;
            const FormBox *b = form.box(e.box);
            if (b && b->chars > 0) {
                // Text boxes print their designed capacity; see the notes.
                bytes = std::min(bytes, b->chars);
            }
        }
        for (int n = 1; n <= (e.item ? lines : 1); ++n) {
            const double y = y0 + (n - 1) * pitch;
            Placed p{
                QStringLiteral("%1 line %2").arg(e.source).arg(n), textRect(x, y, bytes, size), {}};
            if (hasGroup(type, e.group)) {
                p.box = forms().paperRect(form, e.box, n);
                out.on.append(p);
            } else {
                out.off.append(p);
            }
        }
    }
    // Corrected totals, one character per box.
    for (const char *key : {"GOUKEI_GENKA_T", "GOUKEI_URI_T"}) {
        const int x = value(row, QString(key) + "_X");
        const int y = value(row, QString(key) + "_Y");
        const int size = value(row, QString(key) + "_S");
        const int skip = value(row, QString(key).replace("_T", "_T_SKIP_X"));
        for (int k = 0; k < 9; ++k) {
            out.on.append({QStringLiteral("%1 char %2").arg(key).arg(k + 1),
                           textRect(x + k * skip, y, 1, size), forms().paperCharBox(form, key, k)});
        }
    }
    return out;
}

TEST(SeedLayoutRows, AreTheGeneratedOnes)
{
    EXPECT_EQ(readText(QStringLiteral(TAMBREL_DATA_DIR "/seed.sql")), forms().seedSql())
        << "data/seed.sql is stale: run tambrel-formgen --forms data/forms --seed data/seed.sql";
}

TEST(SeedLayoutRows, KeepTheTenDisplayNamesInOrder)
{
    const QStringList names = {"ターンアラウンド用２型（２行印字）", "ＯＣＲ用２型（２行印字）",
                               "ターンアラウンド用２型（１行印字）", "ＯＣＲ用２型（１行印字）",
                               "ターンアラウンド用１型（２行印字）", "ＯＣＲ用１型（２行印字）",
                               "ターンアラウンド用１型（１行印字）", "ＯＣＲ用１型（１行印字）",
                               "タイプ用１型（１行印字）",           "タイプ用１型（２行印字）"};
    const auto rows = seedRows();
    ASSERT_EQ(rows.size(), names.size());
    for (int i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(names.at(i).toStdString());
        EXPECT_EQ(rows.at(i).value("DenName"), names.at(i));
        EXPECT_EQ(value(rows.at(i), "ShowNo"), i + 1);
        EXPECT_EQ(value(rows.at(i), "NotShow"), 0);
        EXPECT_EQ(value(rows.at(i), "Use"), 1);
        EXPECT_EQ(value(rows.at(i), "HINMEI_GYOU"), names.at(i).contains("２型") ? 9 : 6);
        const QString overlay = rows.at(i).value("FormName");
        const QString prefix = names.at(i).startsWith("ターン")   ? "FormTR"
                               : names.at(i).startsWith("ＯＣＲ") ? "FormOCR"
                                                                  : "FormT";
        EXPECT_TRUE(overlay.startsWith(prefix)) << overlay.toStdString();
        EXPECT_TRUE(overlay.endsWith(names.at(i).contains("２型") ? "2.prn" : "1.prn"));
        for (const char *flag : {"Pr_Form", "ShowPD"}) {
            EXPECT_EQ(value(rows.at(i), flag), 1) << flag;
        }
        EXPECT_GT(value(rows.at(i), "HINMEI_Y_SKIP"), 0);
    }
}

TEST(SeedLayoutRows, FillEveryLayoutColumnOfTheSchema)
{
    QMap<QString, int> schema = schemaColumns("TAMBRELSET");
    ASSERT_GT(schema.size(), 200);
    schema.remove("ID");
    schema.remove("PaperType"); // written per computer only
    for (const auto &row : seedRows()) {
        SCOPED_TRACE(row.value("DenName").toStdString());
        for (auto it = schema.begin(); it != schema.end(); ++it) {
            EXPECT_TRUE(row.contains(it.key())) << "missing " << it.key().toStdString();
        }
        for (auto it = row.begin(); it != row.end(); ++it) {
            EXPECT_TRUE(schema.contains(it.key())) << "unknown " << it.key().toStdString();
            const bool text = schema.value(it.key()) > 0;
            if (!text) {
                bool ok = false;
                it.value().toInt(&ok);
                EXPECT_TRUE(ok) << it.key().toStdString() << " = " << it.value().toStdString();
            }
        }
        for (const char *offset : {"Left_M", "Top_M"}) {
            EXPECT_GE(value(row, offset), -500);
            EXPECT_LE(value(row, offset), 500);
        }
    }
}

TEST(PrintLayout, EveryElementFallsInsideItsBoxAtItsFontSize)
{
    for (const auto &row : seedRows()) {
        SCOPED_TRACE(row.value("DenName").toStdString());
        const Pieces pieces = placePieces(row);
        // 30 + 26 per line + 35 pieces, less those of missing groups.
        EXPECT_EQ(pieces.on.size() + pieces.off.size(),
                  30 + 26 * (value(row, "HINMEI_GYOU") == 9 ? 9 : 6) + 35);
        for (const Placed &p : pieces.on) {
            EXPECT_TRUE(inside(p.text, p.box))
                << p.what.toStdString() << " text " << p.text.x() << "," << p.text.y() << " "
                << p.text.width() << "x" << p.text.height() << " box " << p.box.x() << ","
                << p.box.y() << " " << p.box.width() << "x" << p.box.height();
        }
    }
}

TEST(PrintLayout, ElementsOfMissingColumnGroupsPrintBeyondTheSheet)
{
    int checked = 0;
    for (const auto &row : seedRows()) {
        SCOPED_TRACE(row.value("DenName").toStdString());
        const Form &form = forms().formOf(typeOfRow(row));
        for (const Placed &p : placePieces(row).off) {
            EXPECT_GE(p.text.left(), form.paperWidth()) << p.what.toStdString();
            ++checked;
        }
    }
    // One-line types lose the second name rows, typewriter types five groups.
    EXPECT_GT(checked, 100);
}

TEST(PrintLayout, NoTwoElementsOverlap)
{
    for (const auto &row : seedRows()) {
        SCOPED_TRACE(row.value("DenName").toStdString());
        const QVector<Placed> on = placePieces(row).on;
        for (int i = 0; i < on.size(); ++i) {
            for (int j = i + 1; j < on.size(); ++j) {
                EXPECT_FALSE(on.at(i).text.intersects(on.at(j).text))
                    << on.at(i).what.toStdString() << " and " << on.at(j).what.toStdString();
            }
        }
    }
}

// ---------------------------------------------------------------- overlays

struct Record
{
    QChar letter;
    QStringList fields;
};

QVector<Record> parseOverlay(const QByteArray &bytes)
{
    QVector<Record> out;
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    for (const QByteArray &line : bytes.split('\n')) {
        if (line.isEmpty()) {
            continue;
        }
        EXPECT_TRUE(line.endsWith('\r')) << "line without CR LF";
        if (line == "\r") {
            continue; // an empty line, as the writer puts after each text record
        }
        const QString text = ShiftJis::decode(line.chopped(1));
        EXPECT_FALSE(text.contains(QChar(0xfffd)));
        out.append({text.at(0), text.mid(1).split(QLatin1Char(';'))});
    }
    return out;
}

QRect recordRect(const Record &r)
{
    const int x1 = r.fields.value(0).toInt();
    const int y1 = r.fields.value(1).toInt();
    return QRect(QPoint(x1, y1),
                 QSize(r.fields.value(2).toInt() - x1, r.fields.value(3).toInt() - y1));
}

TEST(Overlay, StartsWithTheSheetSizeAndRulesEveryPrintBox)
{
    for (const auto &row : seedRows()) {
        SCOPED_TRACE(row.value("DenName").toStdString());
        const SlipTypeGeometry &type = typeOfRow(row);
        const Form &form = forms().formOf(type);
        QString variant;
        for (const FormVariant &v : form.variants) {
            if (v.overlay == row.value("FormName")) {
                variant = v.name;
            }
        }
        ASSERT_FALSE(variant.isEmpty());
        const QVector<Record> records = parseOverlay(forms().overlayFile(form, variant));
        ASSERT_FALSE(records.isEmpty());
        EXPECT_EQ(records.first().letter, QLatin1Char('P'));
        // 11.5 x 5 in continuous form.
        EXPECT_EQ(records.first().fields.value(0).toInt(), 2921);
        EXPECT_EQ(records.first().fields.value(1).toInt(), 1270);
        QVector<QRect> boxes;
        QVector<QRect> rules;
        for (const Record &r : records.mid(1)) {
            ASSERT_TRUE(QStringLiteral("BLT").contains(r.letter))
                << QString(r.letter).toStdString();
            if (r.letter == QLatin1Char('T')) {
                EXPECT_FALSE(r.fields.value(2).isEmpty());
                continue;
            }
            const QRect rect = recordRect(r);
            EXPECT_TRUE(QRect(0, 0, 2921, 1270).contains(rect)) << r.fields.join(';').toStdString();
            (r.letter == QLatin1Char('B') ? boxes : rules).append(rect);
        }
        // Each box a piece prints into is a ruled box, or the upper or lower
        // row of one divided by a dotted rule.
        for (const Placed &p : placePieces(row).on) {
            bool ruled = boxes.contains(p.box);
            for (const QRect &b : boxes) {
                if (ruled || !b.contains(p.box) || b.x() != p.box.x() ||
                    b.width() != p.box.width()) {
                    continue;
                }
                for (const QRect &l : rules) {
                    const int split = l.y();
                    const bool upper = p.box.y() == b.y() && p.box.y() + p.box.height() == split;
                    const bool lower =
                        p.box.y() == split && p.box.y() + p.box.height() == b.y() + b.height();
                    ruled = ruled || (l.x() == b.x() && l.width() == b.width() && (upper || lower));
                }
            }
            EXPECT_TRUE(ruled) << p.what.toStdString();
        }
    }
}

// ---------------------------------------------------------------- screen

struct ScreenCase
{
    const char *type;
    QSize window;
    QSize picture;
    std::vector<int> nameTops;
};

TEST(ScreenEdits, KeepTheDesignedWindowPictureAndLinePositions)
{
    const std::vector<ScreenCase> cases = {
        {"22", {1010, 631}, {1009, 565}, {123, 162, 201, 239, 278, 317, 356, 394, 432}},
        {"21", {1010, 631}, {1009, 565}, {138, 177, 215, 253, 292, 331, 370, 408, 445}},
        {"12", {1010, 629}, {1009, 565}, {199, 238, 276, 314, 353, 391}},
        {"11", {1094, 683}, {1091, 608}, {226, 269, 310, 352, 393, 434}},
        {"T11", {1003, 633}, {999, 565}, {209, 248, 287, 327, 366, 405}},
        {"T12", {1003, 633}, {999, 565}, {200, 239, 278, 317, 357, 395}},
    };
    for (const ScreenCase &c : cases) {
        SCOPED_TRACE(c.type);
        const SlipTypeGeometry &type = forms().type(c.type);
        const QJsonObject table = forms().editTable(type);
        EXPECT_EQ(table.value("window").toArray(),
                  (QJsonArray{c.window.width(), c.window.height()}));
        EXPECT_EQ(table.value("pictureSize").toArray(),
                  (QJsonArray{c.picture.width(), c.picture.height()}));
        EXPECT_EQ(table.value("picturePos").toArray(), (QJsonArray{2, 4}));
        const QJsonObject pictures = table.value("pictures").toObject();
        EXPECT_FALSE(pictures.isEmpty());
        for (const QString &variant : pictures.keys()) {
            EXPECT_EQ(forms().picture(type, variant).size(), c.picture) << variant.toStdString();
        }
        std::vector<int> tops;
        for (const ScreenEdit &e : forms().edits(type)) {
            if (e.line > 0 && e.name == "HINMEI_" + QString::number(e.line) + "1") {
                tops.push_back(e.rect.y());
            }
        }
        EXPECT_EQ(tops, c.nameTops);
    }
}

TEST(ScreenEdits, OfType22KeepTheirDesignedPlaces)
{
    struct Place
    {
        const char *name;
        int x, y, w, h; // w, h 0: not designed
    };
    const std::vector<Place> places = {
        {"HINMEI_11", 6, 123, 235, 19},
        {"HINMEI_12", 6, 142, 235, 19},
        {"CODE_11", 245, 123, 102, 19},
        {"CODE_12", 245, 142, 102, 19},
        {"COLOR_1", 350, 138, 42, 0},
        {"IRIKAZU_1", 392, 138, 42, 0},
        {"SIZE_1", 438, 138, 22, 0},
        {"ASEE_1", 460, 138, 21, 0},
        {"TANI_1", 483, 138, 29, 0},
        {"KAZU_11", 514, 138, 41, 0},
        {"KAZ2_12", 556, 138, 13, 0},
        {"KAZT_11", 592, 138, 47, 0},
        {"KZT2_12", 640, 138, 13, 0},
        {"HIKIAI_1", 655, 138, 18, 0},
        {"KUBUN_1", 675, 138, 18, 0},
        {"GTAN_11", 696, 138, 52, 0},
        {"GTN2_12", 749, 138, 20, 0},
        {"GKEI_1", 773, 138, 83, 0},
        {"URITANKA_1", 859, 138, 55, 0},
        {"BIKOU_1", 917, 138, 84, 0},
        {"CONA", 30, 64, 0, 0},
        {"TENP", 30, 85, 0, 0},
        {"COCO", 236, 82, 0, 0},
        {"DENN", 438, 82, 0, 0},
        {"TORI", 550, 82, 0, 0},
        {"TNAM", 652, 50, 0, 0},
        {"TNAM_2", 652, 76, 0, 0},
        {"HACY", 858, 84, 0, 0},
        {"NOUH", 917, 84, 0, 0},
        {"BINN", 977, 84, 0, 0},
        {"F_F1", 16, 480, 0, 0},
        {"G_F1", 16, 528, 0, 0},
        {"GOUKEI_KAZU9_1", 0, 481, 0, 0},
        {"GOUKEI_GENKA9", 0, 482, 0, 0},
        {"GOUKEI_URI9", 0, 482, 0, 0},
        // Line 2 repeats line 1 at its own top.
        {"HINMEI_21", 6, 162, 235, 19},
        {"BIKOU_2", 917, 177, 84, 0},
    };
    QMap<QString, QRect> edits;
    for (const ScreenEdit &e : forms().edits(forms().type("22"))) {
        edits.insert(e.name, e.rect);
    }
    for (const Place &p : places) {
        SCOPED_TRACE(p.name);
        ASSERT_TRUE(edits.contains(p.name));
        const QRect r = edits.value(p.name);
        if (p.x) {
            EXPECT_EQ(r.x(), p.x);
        }
        EXPECT_EQ(r.y(), p.y);
        if (p.w) {
            EXPECT_EQ(r.width(), p.w);
        }
        if (p.h) {
            EXPECT_EQ(r.height(), p.h);
        }
    }
}

TEST(ScreenEdits, FollowTheColumnGroupsAndTabOrderOfEachType)
{
    struct Case
    {
        const char *type;
        int count; // header + lines x per line + footer
        bool tani;
        bool secondName;
    };
    // Header 28 edits (21 without the groups of the typewriter forms), 20 per
    // line with two name rows (18 with one, 16 and 14 on the typewriter forms),
    // 15 in the footer (12 without the corrected quantities and L).
    const std::vector<Case> cases = {
        {"22", 28 + 9 * 20 + 15, true, true},    {"21", 28 + 9 * 18 + 15, true, false},
        {"12", 28 + 6 * 20 + 15, true, true},    {"11", 28 + 6 * 18 + 15, true, false},
        {"T11", 19 + 6 * 15 + 12, false, false}, {"T12", 19 + 6 * 17 + 12, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        const QVector<ScreenEdit> edits = forms().edits(forms().type(c.type));
        QStringList names;
        for (const ScreenEdit &e : edits) {
            names << e.name;
        }
        EXPECT_EQ(edits.size(), c.count) << names.join(' ').toStdString();
        EXPECT_EQ(names.mid(0, 5), (QStringList{"A_F1", "B_F1", "C_F1", "D_F1", "CONA"}));
        EXPECT_EQ(names.contains("TANI_1"), c.tani);
        EXPECT_EQ(names.contains("TEIS") && names.contains("JNOU_D") && names.contains("HACY_M") &&
                      names.contains("TORI_2") && names.contains("L_F1") &&
                      names.contains("KZT2_12"),
                  c.tani);
        const bool t12 = QLatin1String(c.type) == QLatin1String("T12");
        EXPECT_EQ(names.contains(t12 ? "DBEdit11" : "HINMEI_62"), c.secondName);
        EXPECT_EQ(names.contains(t12 ? "DBEdit12" : "CODE_62"), c.secondName);
        // Enter runs from BINN to line 1 and from the last line to the totals.
        const int binn = int(names.indexOf("BINN"));
        EXPECT_EQ(names.value(binn + 1), "HINMEI_11");
        const QString last = QStringLiteral("BIKOU_%1").arg(forms().type(c.type).lines);
        EXPECT_TRUE(names.value(names.indexOf(last) + 1).startsWith("GOUKEI_KAZU"));
        for (const ScreenEdit &e : edits) {
            if (e.name.startsWith("HINMEI_") || e.name.startsWith("CODE_") ||
                e.name.startsWith("DBEdit")) {
                EXPECT_EQ(e.tag, 10 * e.line + 1) << e.name.toStdString();
                EXPECT_EQ(e.setupKey, e.name.left(4));
            } else {
                EXPECT_EQ(e.tag, 0) << e.name.toStdString();
            }
        }
    }
}

TEST(ScreenEdits, SitOnTheirBoxesOfThePictureWithoutOverlapping)
{
    for (const SlipTypeGeometry &type : forms().types()) {
        SCOPED_TRACE(type.id.toStdString());
        const QVector<ScreenEdit> edits = forms().edits(type);
        const QJsonArray size = forms().editTable(type).value("pictureSize").toArray();
        const QRect picture(2, 4, size.at(0).toInt(), size.at(1).toInt());
        for (const ScreenEdit &e : edits) {
            QRectF box;
            for (const QString &id : e.boxes) {
                const QRectF r = forms().screenRect(type, id, std::max(e.line, 1));
                box = box.isNull() ? r : box.united(r);
            }
            // An edit may cover the one-pixel rule around its box.
            EXPECT_TRUE(box.adjusted(-1, -1, 1, 1).contains(QRectF(e.rect)))
                << e.name.toStdString() << " " << e.rect.x() << "," << e.rect.y() << " "
                << e.rect.width() << "x" << e.rect.height() << " box " << box.x() << "," << box.y()
                << " " << box.width() << "x" << box.height();
            EXPECT_TRUE(picture.contains(e.rect)) << e.name.toStdString();
            EXPECT_GE(e.rect.height(), e.fontPx) << e.name.toStdString();
        }
        for (int i = 0; i < edits.size(); ++i) {
            for (int j = i + 1; j < edits.size(); ++j) {
                EXPECT_FALSE(edits.at(i).rect.intersects(edits.at(j).rect))
                    << edits.at(i).name.toStdString() << " and " << edits.at(j).name.toStdString();
            }
        }
    }
}

// The picture shows the ruling where the boxes are: the top rule of every
// print box has the form colour, the middle of every item box is blank paper.
TEST(Pictures, ShowTheRulingOfTheBoxesAndNoData)
{
    for (const SlipTypeGeometry &type : forms().types()) {
        if (!type.picturesOf.isEmpty()) {
            continue;
        }
        const Form &form = forms().formOf(type);
        for (const FormVariant &variant : form.variants) {
            SCOPED_TRACE((type.id + " " + variant.name).toStdString());
            const QImage image = forms().picture(type, variant.name);
            auto pixel = [&](QPointF window) {
                return image.pixelColor((window - form.origin).toPoint());
            };
            auto near = [](const QColor &a, const QColor &b) {
                return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                           std::abs(a.blue() - b.blue()) <
                       40;
            };
            const QColor paper(0xff, 0xff, 0xfa);
            for (const FormBox &b : form.items) {
                if (b.style != QLatin1String("box")) {
                    continue;
                }
                for (int n = 1; n <= type.lines; ++n) {
                    const QRectF r = forms().screenRect(type, b.id, n);
                    const QPointF top(r.center().x(), r.top());
                    bool rule = false;
                    for (int d = -1; d <= 1; ++d) {
                        rule = rule || near(pixel(top + QPointF(0, d)), variant.rgb);
                    }
                    EXPECT_TRUE(rule) << b.id.toStdString() << " line " << n;
                    EXPECT_TRUE(near(pixel(r.center() + QPointF(0, r.height() / 4)), paper))
                        << b.id.toStdString() << " line " << n;
                }
            }
        }
    }
}

// The build puts pictures, overlays and edit tables beside the programs, and
// they are the ones the descriptions give.
TEST(InstalledFormFiles, AreBesideTheProgramsAndCurrent)
{
    const QDir bin(QStringLiteral(TAMBREL_BIN_DIR));
    for (const SlipTypeGeometry &type : forms().types()) {
        SCOPED_TRACE(type.id.toStdString());
        const QJsonObject table = forms().editTable(type);
        QFile edits(bin.filePath("FormEdits/" + type.id + ".json"));
        ASSERT_TRUE(edits.open(QIODevice::ReadOnly)) << edits.fileName().toStdString();
        EXPECT_EQ(QJsonDocument::fromJson(edits.readAll()).object(), table);
        const QJsonArray size = table.value("pictureSize").toArray();
        const QJsonObject pictures = table.value("pictures").toObject();
        for (auto it = pictures.begin(); it != pictures.end(); ++it) {
            const QImage jpeg(bin.filePath(it.value().toString()), "JPEG");
            EXPECT_EQ(jpeg.size(), QSize(size.at(0).toInt(), size.at(1).toInt()))
                << it.value().toString().toStdString();
        }
        const Form &form = forms().formOf(type);
        for (const FormVariant &v : form.variants) {
            QFile overlay(bin.filePath(v.overlay));
            ASSERT_TRUE(overlay.open(QIODevice::ReadOnly)) << v.overlay.toStdString();
            EXPECT_EQ(overlay.readAll(), forms().overlayFile(form, v.name));
        }
    }
    // The two turnaround names the slip programs compare against.
    EXPECT_TRUE(bin.exists("FormImages/CS_TR2.jpg"));
    EXPECT_TRUE(bin.exists("FormImages/CS_TR1.jpg"));
    EXPECT_TRUE(bin.exists("Type11/FormImages/CS_TR1.jpg"));
}

// ---------------------------------------------------------------- printed

struct Word
{
    QRectF rect; // 0.1 mm
    QString text;
};

QVector<Word> pdfWords(const QString &pdf, QSizeF *page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(60000)) << "pdftotext did not finish";
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression pageRe(
        QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)")re"));
    static const QRegularExpression wordRe(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    const auto pm = pageRe.match(out);
    EXPECT_TRUE(pm.hasMatch()) << out.left(200).toStdString();
    constexpr double k = 254.0 / 72.0;
    *page = QSizeF(pm.captured(1).toDouble() * k, pm.captured(2).toDouble() * k);
    QVector<Word> words;
    auto it = wordRe.globalMatch(out);
    while (it.hasNext()) {
        const auto m = it.next();
        words.append({QRectF(QPointF(m.captured(1).toDouble() * k, m.captured(2).toDouble() * k),
                             QPointF(m.captured(3).toDouble() * k, m.captured(4).toDouble() * k)),
                      m.captured(5)});
    }
    return words;
}

// One slip with every value at its full width, printed by the print command
// interpreter into a PDF on the sheet of the overlay: every value the PDF
// shows lies inside a box of the form, and the values of missing column
// groups do not show.
TEST(PrintedSlip, ShowsEveryFullWidthValueInsideABoxOfTheForm)
{
    const QString printer = QStringLiteral(TAMBREL_BIN_DIR "/tambrel-print");
    ASSERT_TRUE(QFile::exists(printer)) << printer.toStdString();
    for (const auto &row : seedRows()) {
        SCOPED_TRACE(row.value("DenName").toStdString());
        const SlipTypeGeometry &type = typeOfRow(row);
        const Form &form = forms().formOf(type);
        const QString variant = type.displayNames.key(row.value("DenName"));
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString overlay = dir.filePath(row.value("FormName"));
        const QString data = dir.filePath("Prntmpp.tmp");
        const QString pdf = dir.filePath("slip.pdf");
        for (const auto &[path, bytes] : {std::pair{overlay, forms().overlayFile(form, variant)},
                                          std::pair{data, forms().sampleSlip(type, variant)}}) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        QProcess run;
        run.start(printer, {data, "--form", overlay, "--paper", "256", "--pdf", pdf});
        ASSERT_TRUE(run.waitForFinished(120000));
        ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();

        QSizeF page;
        const QVector<Word> words = pdfWords(pdf, &page);
        EXPECT_NEAR(page.width(), form.paperWidth(), 1.0);
        EXPECT_NEAR(page.height(), form.paperLength(), 1.0);
        const Pieces pieces = placePieces(row);
        for (const Word &w : words) {
            bool inBox = false;
            for (const Placed &p : pieces.on) {
                // A little slack for the glyph boxes pdftotext reports.
                inBox = inBox || QRectF(p.box).adjusted(-2, -2, 2, 2).contains(w.rect);
            }
            EXPECT_TRUE(inBox) << w.text.toStdString() << " at " << w.rect.x() << "," << w.rect.y()
                               << " " << w.rect.width() << "x" << w.rect.height();
        }
        // One word per piece of the type: no value ran into its neighbour,
        // and the values of missing column groups do not show.
        EXPECT_EQ(words.size(), pieces.on.size());
    }
}

} // namespace
