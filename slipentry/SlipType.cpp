#include "SlipType.h"

#include <QDir>

namespace {

const SlipTypeInfo kTypes[] = {
    {SlipType::Type22, "Tambrel22", u"．．．２行印字", u"２行印字", 11, false,
     u"FormImages\\CS_TR2.jpg", u"ターンアラウンド用２型（２行印字）", u"ＯＣＲ用２型（２行印字）"},
    {SlipType::Type21, "Tambrel21", u"．．．１行印字", u"１行印字", 10, true,
     u"FormImages\\CS_TR2.jpg", u"ターンアラウンド用２型（１行印字）", u"ＯＣＲ用２型（１行印字）"},
    {SlipType::Type12, "Tambrel12", u"．．．２行印字", u"２行印字", 8, false,
     u"FormImages\\CS_TR1.jpg", u"ターンアラウンド用１型（２行印字）", u"ＯＣＲ用１型（２行印字）"},
    {SlipType::Type11, "Tambrel11", u"．．．１行印字", u"１行印字", 7, true,
     u"FormImages\\CS_TR1.jpg", u"ターンアラウンド用１型（１行印字）", u"ＯＣＲ用１型（１行印字）"},
    {SlipType::TypeT11, "TambrelT11", u"．．．１行印字", u"１行印字", 35, true, nullptr, nullptr,
     u"タイプ用１型（１行印字）"},
    {SlipType::TypeT12, "TambrelT12", u"．．．２行印字", u"２行印字", 7, false, nullptr, nullptr,
     u"タイプ用１型（２行印字）"},
};

QString normalisedPicture(const QString &path)
{
    // "\" and "/" count as the same separator; case is ignored.
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p.toLower();
}

} // namespace

const SlipTypeInfo &slipTypeInfo(SlipType type)
{
    for (const SlipTypeInfo &info : kTypes) {
        if (info.type == type)
            return info;
    }
    return kTypes[0];
}

QString slipPrintName(SlipType type, const QString &picturePath)
{
    const SlipTypeInfo &info = slipTypeInfo(type);
    if (info.turnaroundPicture && normalisedPicture(picturePath.trimmed()) ==
                                      normalisedPicture(QString::fromUtf16(info.turnaroundPicture)))
        return QString::fromUtf16(info.turnaroundName);
    return QString::fromUtf16(info.printName);
}
