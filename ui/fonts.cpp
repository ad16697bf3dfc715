#include "ui/fonts.hpp"

#include <QStringList>

namespace quenlio::fonts {

namespace {
QFont Make(const QStringList& families, double points) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    return font;
}
} // namespace

QFont Song(double points) {
    return Make({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC")}, points);
}

QFont NewSong(double points) {
    return Make({QStringLiteral("NSimSun"), QStringLiteral("新宋体"), QStringLiteral("Noto Serif CJK SC")},
                points);
}

QFont Kai(double points) {
    return Make({QStringLiteral("KaiTi_GB2312"), QStringLiteral("楷体_GB2312"), QStringLiteral("KaiTi"),
                 QStringLiteral("AR PL UKai CN")},
                points);
}

} // namespace quenlio::fonts
