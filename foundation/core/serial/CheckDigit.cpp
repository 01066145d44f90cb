#include "CheckDigit.h"

#include "app/AppError.h"
#include "app/Messages.h"
#include "text/KivFunc.h"

namespace {

QString normalise(const QString &number)
{
    return ExtractDigits(number, true);
}

// Sum of the digits times their weights, modulo 11. The text must be ten
// ASCII digits.
int modulus11Remainder(const QString &tenDigits)
{
    static constexpr int kWeights[10] = {6, 5, 4, 3, 2, 6, 5, 4, 3, 2};
    int sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += (tenDigits.at(i).unicode() - u'0') * kWeights[i];
    return sum % 11;
}

} // namespace

QString CheckDigit7DR(QString &number)
{
    number = normalise(number);
    if (number.size() != 6)
        throw AppError(Messages::twoPart(QString::fromUtf8(kDigitCountError),
                                         QString::fromUtf8(kDigitCount7DR)));
    return QString::number(number.toLongLong() % 7);
}

QString CheckDigitModulus11(QString &number, bool checkMissing)
{
    number = normalise(number);
    if (number.size() != 10)
        throw AppError(Messages::twoPart(QString::fromUtf8(kDigitCountError),
                                         QString::fromUtf8(kDigitCountModulus11)));
    const int r = modulus11Remainder(number);
    if (r == 0)
        return QStringLiteral("0");
    if (r == 1) {
        // 11 - 1 = 10 does not fit into one digit.
        if (checkMissing) {
            Messages::show(MsgType::Information, number + QString::fromUtf8(kMissingNumber),
                           MsgButton::Ok);
            return {};
        }
        return QStringLiteral("0");
    }
    return QString::number(11 - r);
}

bool IsModulus11MissingNumber(const QString &tenDigits)
{
    if (tenDigits.size() != 10)
        return false;
    for (QChar c : tenDigits) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return modulus11Remainder(tenDigits) == 1;
}
