#include "SlipType.h"

#include "text/KivFunc.h"

namespace {

const SlipTypeInfo kTypes[] = {
    {SlipType::Type22, "22", "Tambrel22", u"．．．２行印字", u"２行印字", 11, false, false,
     u"FormImages\\CS_TR2.jpg", u"ターンアラウンド用２型（２行印字）", u"ＯＣＲ用２型（２行印字）",
     ""},
    {SlipType::Type21, "21", "Tambrel21", u"．．．１行印字", u"１行印字", 10, true, false,
     u"FormImages\\CS_TR2.jpg", u"ターンアラウンド用２型（１行印字）", u"ＯＣＲ用２型（１行印字）",
     ""},
    {SlipType::Type12, "12", "Tambrel12", u"．．．２行印字", u"２行印字", 8, false, false,
     u"FormImages\\CS_TR1.jpg", u"ターンアラウンド用１型（２行印字）", u"ＯＣＲ用１型（２行印字）",
     ""},
    {SlipType::Type11, "11", "Tambrel11", u"．．．１行印字", u"１行印字", 7, true, false,
     u"FormImages\\CS_TR1.jpg", u"ターンアラウンド用１型（１行印字）", u"ＯＣＲ用１型（１行印字）",
     "Type11"},
    {SlipType::TypeT11, "T11", "TambrelT11", u"．．．１行印字", u"１行印字", 35, true, true,
     nullptr, nullptr, u"タイプ用１型（１行印字）", ""},
    {SlipType::TypeT12, "T12", "TambrelT12", u"．．．２行印字", u"２行印字", 7, false, true,
     nullptr, nullptr, u"タイプ用１型（２行印字）", ""},
};

QString normalisedPicture(const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
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
    if (info.turnaroundPicture &&
        normalisedPicture(TrimWide(picturePath))
                .compare(normalisedPicture(QString::fromUtf16(info.turnaroundPicture)),
                         Qt::CaseInsensitive) == 0)
        return QString::fromUtf16(info.turnaroundName);
    return QString::fromUtf16(info.printName);
}
