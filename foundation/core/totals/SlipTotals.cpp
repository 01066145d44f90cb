#include "SlipTotals.h"

#include "ResultSetSlipRecord.h"
#include "SlipRecord.h"
#include "app/AppError.h"
#include "app/Messages.h"
#include "db/EditableResultSet.h"
#include "settings/Settings.h"

#include <QList>

#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr qint64 kScale = 10000;            // four decimals
constexpr qint64 kProductScale = 100000000; // scale of a price times a quantity

using Wide = __int128;

QString lineColumn(const char *prefix, int line, const char *suffix = "")
{
    return QString::fromLatin1(prefix) + QString::number(line) + QString::fromLatin1(suffix);
}

[[noreturn]] void cannotCalculate(const QString &detail)
{
    throw AppError(QString::fromUtf8(kCannotCalculate), detail);
}

// Null, or a text box left empty. Blanks are text: " " is not a number.
bool isBlank(const QVariant &v)
{
    return !v.isValid() || v.isNull() ||
           (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

// An integer column's value; null (or empty text) counts 0.
qint64 integerPart(const SlipRecord &record, const QString &column)
{
    const QVariant v = record.value(column);
    if (isBlank(v))
        return 0;
    bool ok = false;
    const qint64 i = v.toString().trimmed().toLongLong(&ok);
    if (!ok)
        cannotCalculate(column);
    return i;
}

// "0." followed by the text, scaled by 10000 and rounded half to even.
qint64 fractionPart(const SlipRecord &record, const QString &column)
{
    const QVariant v = record.value(column);
    if (isBlank(v))
        return 0;
    const QString digits = v.toString().trimmed();
    if (digits.isEmpty())
        cannotCalculate(column);
    if (digits.size() > 18)
        cannotCalculate(column);
    qint64 numerator = 0;
    qint64 denominator = 1;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            cannotCalculate(column);
        numerator = numerator * 10 + (c.unicode() - u'0');
        denominator *= 10;
    }
    const Wide scaled = Wide(numerator) * kScale;
    qint64 q = qint64(scaled / denominator);
    const qint64 r = qint64(scaled % denominator);
    if (2 * r > denominator || (2 * r == denominator && (q % 2) != 0))
        ++q;
    return q;
}

// Integer part plus fraction, scaled by 10000.
qint64 fixedPoint(const SlipRecord &record, const QString &integerColumn,
                  const QString &fractionColumn)
{
    return integerPart(record, integerColumn) * kScale + fractionPart(record, fractionColumn);
}

// The exact quotient numerator / denominator rounded as Marume asks.
Wide roundQuotient(Wide numerator, Wide denominator, int marume)
{
    Wide q = numerator / denominator; // toward zero
    const Wide r = numerator % denominator;
    switch (marume) {
    case 0: {
        const Wide twice = 2 * (r < 0 ? -r : r);
        if (twice > denominator || (twice == denominator && (q % 2) != 0))
            q += numerator < 0 ? -1 : 1;
        return q;
    }
    case 1:
        return q;
    case 2:
        return r > 0 ? q + 1 : q;
    default:
        return (2 * numerator + denominator) / (2 * denominator); // x + 0.5, toward zero
    }
}

struct Line
{
    qint64 quantity = 0; // q (plain) or t (corrected), scaled
    bool hasCorrection = false;
    qint64 cost = 0;    // c, scaled
    qint64 selling = 0; // u, scaled
};

// A line with its plain quantity q, or with its corrected quantity t. Only
// the quantity used is read, so a bad digit in the other one stops nothing.
Line readLine(const SlipRecord &record, int n, bool corrected)
{
    Line l;
    const QString t1 = lineColumn("KAZU_T_", n, "1");
    const QString t2 = lineColumn("KAZU_T_", n, "2");
    l.hasCorrection = !isBlank(record.value(t1)) || !isBlank(record.value(t2));
    if (corrected && l.hasCorrection)
        l.quantity = fixedPoint(record, t1, t2);
    else
        l.quantity = fixedPoint(record, lineColumn("KAZU_", n, "1"), lineColumn("KAZU_", n, "2"));
    l.cost = fixedPoint(record, lineColumn("GENKA_", n, "1"), lineColumn("GENKA_", n, "2"));
    l.selling = integerPart(record, lineColumn("URITANKA_", n)) * kScale;
    return l;
}

// An amount that the slip can print, or the calculation stops.
qint64 checkedAmount(Wide amount, const QString &where)
{
    if (amount > std::numeric_limits<qint32>::max() || amount < std::numeric_limits<qint32>::min())
        throw AppError(Messages::twoPart(QString::fromUtf8(kCannotCalculate), where));
    const qint64 a = qint64(amount);
    if (QString::number(a).size() > kAmountMaxCharacters)
        throw AppError(Messages::twoPart(QString::fromUtf8(kCannotCalculate), where));
    return a;
}

QString lineTooLong(int n)
{
    return QString::number(n) + QString::fromUtf8(kLineAmountTooLong);
}

QString totalTooLong()
{
    return QString::fromUtf8(kTotalAmountTooLong);
}

// A(p x q): the exact product of two scaled numbers, rounded by Marume.
qint64 amount(qint64 price, qint64 quantity, int line)
{
    const Wide product = Wide(price) * Wide(quantity);
    return checkedAmount(roundQuotient(product, kProductScale, settings().Marume),
                         lineTooLong(line));
}

QVariant nullWhenZero(qint64 v)
{
    return v == 0 ? QVariant() : QVariant(int(v));
}

// Writes an integer column (null for 0) and reads it back as stored.
qint64 store(SlipRecord &record, const QString &column, qint64 v)
{
    record.setValue(column, nullWhenZero(v));
    const QVariant back = record.value(column);
    return isBlank(back) ? 0 : back.toLongLong();
}

qint64 storeTotal(SlipRecord &record, const char *column, Wide v)
{
    return store(record, QString::fromLatin1(column), checkedAmount(v, totalTooLong()));
}

bool shouldRun(const SlipRecord &record)
{
    return settings().AutoCalc && record.editing();
}

void quantityTotals(SlipRecord &record, bool corrected)
{
    const char *integerColumn = corrected ? "KAZU_T_" : "KAZU_";
    for (bool nine : {false, true}) {
        const QuantityDecimals decimals = SumQuantityDecimals(record, nine, corrected);
        const char *digitTotal = corrected ? (nine ? "GOUKEI_KAZU9_T2" : "GOUKEI_KAZU6_T2")
                                           : (nine ? "GOUKEI_KAZU9_2" : "GOUKEI_KAZU6_2");
        const char *integerTotal = corrected ? (nine ? "GOUKEI_KAZU9_T1" : "GOUKEI_KAZU6_T1")
                                             : (nine ? "GOUKEI_KAZU9_1" : "GOUKEI_KAZU6_1");
        record.setValue(QString::fromLatin1(digitTotal), decimals.remainder);
        qint64 sum = decimals.carry;
        for (int n = 1; n <= (nine ? 9 : 6); ++n)
            sum += integerPart(record, lineColumn(integerColumn, n, "1"));
        if (sum > std::numeric_limits<qint32>::max() || sum < std::numeric_limits<qint32>::min())
            cannotCalculate(QString::fromLatin1(integerTotal));
        store(record, QString::fromLatin1(integerTotal), sum);
    }
}

void correctedAmounts(SlipRecord &record)
{
    QList<Line> lines;
    bool corrected16 = false, corrected79 = false;
    for (int n = 1; n <= 9; ++n) {
        lines << readLine(record, n, true);
        (n <= 6 ? corrected16 : corrected79) |= lines.last().hasCorrection;
    }
    // Each total is written before the next is computed; the nine-line total
    // builds on the six-line one as stored.
    auto sum = [&](qint64 Line::*price, int from, int to) {
        Wide total = 0;
        for (int n = from; n <= to; ++n)
            total += amount(lines[n - 1].*price, lines[n - 1].quantity, n);
        return total;
    };
    const qint64 cost6 = storeTotal(record, "GOUKEI_GENKA6_T", sum(&Line::cost, 1, 6));
    storeTotal(record, "GOUKEI_GENKA9_T", cost6 + sum(&Line::cost, 7, 9));
    const qint64 selling6 = storeTotal(record, "GOUKEI_URI6_T", sum(&Line::selling, 1, 6));
    storeTotal(record, "GOUKEI_URI9_T", selling6 + sum(&Line::selling, 7, 9));
    // A slip without corrections has no corrected totals, although they
    // were computed from the plain quantities above.
    if (!corrected16) {
        record.setValue(QStringLiteral("GOUKEI_GENKA6_T"), QVariant());
        record.setValue(QStringLiteral("GOUKEI_URI6_T"), QVariant());
        if (!corrected79) {
            record.setValue(QStringLiteral("GOUKEI_GENKA9_T"), QVariant());
            record.setValue(QStringLiteral("GOUKEI_URI9_T"), QVariant());
        }
    }
}

} // namespace

int RoundAmount(double x)
{
    double r = 0;
    switch (settings().Marume) {
    case 0:
        r = std::nearbyint(x);
        break; // the default rounding: half to even
    case 1:
        r = std::trunc(x);
        break;
    case 2:
        r = std::ceil(x);
        break;
    default:
        r = std::trunc(x + 0.5);
        break;
    }
    if (!(r >= std::numeric_limits<qint32>::min() && r <= std::numeric_limits<qint32>::max()))
        cannotCalculate(QString::number(x, 'f'));
    return int(r);
}

QuantityDecimals SumQuantityDecimals(const SlipRecord &record, bool nineLines, bool corrected)
{
    int sum = 0;
    for (int n = 1; n <= (nineLines ? 9 : 6); ++n) {
        const QVariant digit = record.value(lineColumn(corrected ? "KAZU_T_" : "KAZU_", n, "2"));
        bool ok = false;
        const int d = digit.toString().trimmed().toInt(&ok);
        sum += ok ? d : 0;
    }
    QuantityDecimals result;
    result.carry = sum / 10;
    const int remainder = sum - result.carry * 10;
    result.remainder = remainder == 0 ? QStringLiteral("") : QString::number(remainder);
    return result;
}

void CalculateSlipTotals(SlipRecord &record)
{
    if (!shouldRun(record))
        return;
    quantityTotals(record, false);

    Wide selling6 = 0, selling9 = 0;
    for (int n = 1; n <= 9; ++n) {
        const Line l = readLine(record, n, false);
        store(record, lineColumn("GENKAKEI_", n), amount(l.cost, l.quantity, n));
        const qint64 s = amount(l.selling, l.quantity, n);
        record.setValue(lineColumn("BIKOU_", n),
                        s == 0 ? QVariant() : QVariant(QString::number(s)));
        if (n <= 6)
            selling6 += s;
        selling9 += s;
        if (n == 6)
            storeTotal(record, "GOUKEI_URI6", selling6);
    }
    storeTotal(record, "GOUKEI_URI9", selling9);

    Wide cost6 = 0;
    for (int n = 1; n <= 6; ++n)
        cost6 += integerPart(record, lineColumn("GENKAKEI_", n));
    Wide cost9 = storeTotal(record, "GOUKEI_GENKA6", cost6);
    for (int n = 7; n <= 9; ++n)
        cost9 += integerPart(record, lineColumn("GENKAKEI_", n));
    storeTotal(record, "GOUKEI_GENKA9", cost9);

    correctedAmounts(record);
}

void CalculateCorrectedTotals(SlipRecord &record)
{
    if (!shouldRun(record))
        return;
    quantityTotals(record, true);
    correctedAmounts(record);
}

void CalculateCorrectedAmounts(SlipRecord &record)
{
    if (!shouldRun(record))
        return;
    correctedAmounts(record);
}

void CalculateSlipTotals(EditableResultSet &dataSet)
{
    ResultSetSlipRecord record(dataSet);
    CalculateSlipTotals(record);
}

void CalculateCorrectedTotals(EditableResultSet &dataSet)
{
    ResultSetSlipRecord record(dataSet);
    CalculateCorrectedTotals(record);
}

void CalculateCorrectedAmounts(EditableResultSet &dataSet)
{
    ResultSetSlipRecord record(dataSet);
    CalculateCorrectedAmounts(record);
}
