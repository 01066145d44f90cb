#include "ExportColumns.h"

#include "ExportTexts.h"

#include <QList>

namespace {

struct Column
{
    QString name;
    QString header;
};

QString fullWidthDigit(int n)
{
    return QString(QChar(0xFF10 + n));
}

// The 198 columns of the turnaround format in their order.
const QList<Column> &allColumns()
{
    static const QList<Column> columns = [] {
        QList<Column> c;
        const auto add = [&c](const QString &name, const QString &header) {
            c.append(Column{name, header});
        };
        add("CONAME", u"社名"_qs);
        add("TENPONAME", u"店名"_qs);
        add("COCODE", u"社・店コード"_qs);
        add("BUNRUICODE", u"分類コード"_qs);
        add("DENKUBUN", u"伝票区分"_qs);
        add("DENNO_1", u"伝票番号"_qs);
        add("DENNO_2", u"チェックデジット"_qs);
        add("TORIHIKICODE_1", u"取引先コード"_qs);
        add("TORIHIKICODE_2", u"取引先コード２"_qs);
        add("TORIHIKINAME_1", u"取引先名"_qs);
        add("TORIHIKINAME_2", u"取引先名２"_qs);
        add("TEISEI_1", u"訂正区分（有）"_qs);
        add("TEISEI_2", u"訂正区分（無）"_qs);
        const QString ymd[] = {u"（年）"_qs, u"（月）"_qs, u"（日）"_qs};
        const char *const nouhin1[] = {"NOUHIN_Y1", "NOUHIN_M1", "NOUHIN_D1"};
        const char *const nouhin2[] = {"NOUHIN_Y2", "NOUHIN_M2", "NOUHIN_D2"};
        const char *const hacyu[] = {"HACYU_Y", "HACYU_M", "HACYU_D"};
        for (int i = 0; i < 3; ++i)
            add(QLatin1String(nouhin1[i]), u"実納品日"_qs + ymd[i]);
        for (int i = 0; i < 3; ++i)
            add(QLatin1String(nouhin2[i]), u"納品日"_qs + ymd[i]);
        for (int i = 0; i < 3; ++i)
            add(QLatin1String(hacyu[i]), u"発注日"_qs + ymd[i]);
        add("BINN", u"便"_qs);
        // Line families, lines 1 to 9; two-part families have an upper and
        // a lower (or integer and fraction) column per line.
        for (int n = 1; n <= 9; ++n) {
            add(QStringLiteral("HINMEI_%1%2").arg(n).arg(1),
                u"品名・規格（"_qs + fullWidthDigit(n) + u"行目上段）"_qs);
            add(QStringLiteral("HINMEI_%1%2").arg(n).arg(2),
                u"品名・規格（"_qs + fullWidthDigit(n) + u"行目下段）"_qs);
        }
        for (int n = 1; n <= 9; ++n) {
            add(QStringLiteral("CODE_%1%2").arg(n).arg(1),
                u"商品コード（"_qs + fullWidthDigit(n) + u"行目上段）"_qs);
            add(QStringLiteral("CODE_%1%2").arg(n).arg(2),
                u"商品コード（"_qs + fullWidthDigit(n) + u"行目下段）"_qs);
        }
        const struct
        {
            const char *column;
            const char16_t *header;
        } single[] = {{"COLOR_", u"色"},
                      {"IRIKAZU_", u"入数"},
                      {"SIZE_", u"サイズ"},
                      {"CASEE_", u"ケース"},
                      {"TANI_", u"単位"}};
        for (const auto &f : single) {
            for (int n = 1; n <= 9; ++n)
                add(QLatin1String(f.column) + QString::number(n),
                    QString::fromUtf16(f.header) + fullWidthDigit(n) + u"行目"_qs);
        }
        const auto withFraction = [&](const char *column, const QString &header) {
            for (int n = 1; n <= 9; ++n) {
                add(QStringLiteral("%1%2%3").arg(QLatin1String(column)).arg(n).arg(1),
                    header + fullWidthDigit(n) + u"行目"_qs);
                add(QStringLiteral("%1%2%3").arg(QLatin1String(column)).arg(n).arg(2),
                    u"小数部"_qs);
            }
        };
        withFraction("KAZU_", u"数量"_qs);
        withFraction("KAZU_T_", u"訂正後数量"_qs);
        for (int n = 1; n <= 9; ++n)
            add(QStringLiteral("HIKIAI_%1").arg(n), u"引合"_qs + fullWidthDigit(n) + u"行目"_qs);
        for (int n = 1; n <= 9; ++n)
            add(QStringLiteral("KUBUN_%1").arg(n), u"区分"_qs + fullWidthDigit(n) + u"行目"_qs);
        withFraction("GENKA_", u"原単価"_qs);
        for (int n = 1; n <= 9; ++n)
            add(QStringLiteral("URITANKA_%1").arg(n),
                u"売単価"_qs + fullWidthDigit(n) + u"行目"_qs);
        for (char letter = 'A'; letter <= 'L'; ++letter)
            add(QStringLiteral("%1_F1").arg(QLatin1Char(letter)), QString(QLatin1Char(letter)));
        add("PRINTOUT", u"印刷対象(0=印刷しない、1=印刷）"_qs);
        return c;
    }();
    return columns;
}

// Positions the typewriter format leaves out: the second trading-partner
// code, the actual delivery date and the order date.
bool typewriterLeavesOut(int position)
{
    return position == 8 || (position >= 13 && position <= 15) ||
           (position >= 19 && position <= 21);
}

QList<Column> columnsOf(int format)
{
    const QList<Column> &all = allColumns();
    if (format != kFormatTypewriter)
        return all;
    QList<Column> out;
    const QString ymd[] = {u"年"_qs, u"月"_qs, u"日"_qs};
    for (int i = 0; i < all.size(); ++i) {
        if (typewriterLeavesOut(i))
            continue;
        Column c = all.at(i);
        if (i >= 16 && i <= 18)
            c.header = ymd[i - 16];
        out.append(c);
    }
    return out;
}

} // namespace

QStringList ExportColumnNames(int format)
{
    QStringList names;
    for (const Column &c : columnsOf(format))
        names.append(c.name);
    return names;
}

QStringList ExportHeaders(int format)
{
    QStringList headers;
    for (const Column &c : columnsOf(format))
        headers.append(c.header);
    return headers;
}

QStringList ExportDateKinds(int format)
{
    using namespace ExportTexts;
    if (format == kFormatTypewriter)
        return {QString::fromUtf16(kDateNone), QString::fromUtf16(kDateYmd)};
    return {QString::fromUtf16(kDateNone), QString::fromUtf16(kDateActualDelivery),
            QString::fromUtf16(kDateOrder), QString::fromUtf16(kDateDelivery)};
}

QString ExportDateColumn(int format, int dateKind)
{
    if (format == kFormatTypewriter)
        return dateKind == 1 ? QStringLiteral("NOUHIN_DATE2") : QString();
    switch (dateKind) {
    case 1:
        return QStringLiteral("NOUHIN_DATE1");
    case 2:
        return QStringLiteral("HACYU_DATE");
    case 3:
        return QStringLiteral("NOUHIN_DATE2");
    default:
        return {};
    }
}

MasterExport MasterExportOf(int choice)
{
    using namespace ExportTexts;
    switch (choice) {
    case 0:
        return {QString::fromUtf16(kMasterCompanies),
                {QStringLiteral("SELECT CONAME1,CONAME2,CODE1 FROM COMPANY"),
                 QStringLiteral("WHERE (KUBUN = 0)"), QStringLiteral("ORDER BY CONAME1")},
                {u"社名"_qs, u"店名"_qs, u"社・店コード"_qs}};
    case 1:
        return {
            QString::fromUtf16(kMasterPartners),
            {QStringLiteral("SELECT CONAME1,CONAME2,CODE1,CODE2 FROM COMPANY"),
             QStringLiteral("WHERE (KUBUN = 1)"), QStringLiteral("ORDER BY CONAME1")},
            {u"取引先名(1)"_qs, u"取引先名(2)"_qs, u"取引先コード(1)"_qs, u"取引先コード(2)"_qs}};
    case 2:
        return {QString::fromUtf16(kMasterItems),
                {QStringLiteral("SELECT HINMEI1,HINMEI2,CODE1,CODE2,IRO,IRIKAZU,SIZEE,CASEE,"),
                 QStringLiteral("TANI,KAZU1,KAZU2,GENKA1,GENKA2,URITANKA,COCODE"),
                 QStringLiteral("FROM CSITEM"), QStringLiteral("ORDER BY COCODE")},
                {u"品名・規格 １行目"_qs, u"品名・規格 ２行目"_qs, u"商品コード １行目"_qs,
                 u"商品コード ２行目"_qs, u"色"_qs, u"入数"_qs, u"サイズ"_qs, u"ケース"_qs,
                 u"単位"_qs, u"数量 整数部"_qs, u"数量 少数部"_qs, u"原単価 整数部"_qs,
                 u"原単価 少数部"_qs, u"売単価"_qs, u"社・店コード"_qs}};
    default:
        return {};
    }
}
