#include "ui/form4.hpp"

#include "ui/controls.hpp"
#include "ui/fonts.hpp"

#include <QLabel>

namespace quenlio {

Form4::Form4(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("序列号、型号查看方法"));
    setWindowFlags(FixedScreenFlags);
    setFixedSize(423, 421);

    Label1 = MakeLabel(this, "Label1", QStringLiteral("设置→通用→关于本机→序列号、型号"),
                       QRect(0, 6, 423, 34), fonts::Song(15.75));
    Label1->setAlignment(Qt::AlignCenter);

    // The screenshots in the order of the path, left to right and top to bottom.
    Image1 = PlacePicture(this, "Image1", QStringLiteral(":/images/form4_settings.svg"),
                          QStringLiteral("主屏幕上的“设置”图标"), QRect(8, 48, 200, 180));
    Image2 = PlacePicture(this, "Image2", QStringLiteral(":/images/form4_general.svg"),
                          QStringLiteral("设置页中的“通用”"), QRect(215, 48, 200, 180));
    Image3 = PlacePicture(this, "Image3", QStringLiteral(":/images/form4_about.svg"),
                          QStringLiteral("通用页中的“关于本机”"), QRect(8, 234, 200, 180));
    Image4 = PlacePicture(this, "Image4", QStringLiteral(":/images/form4_details.svg"),
                          QStringLiteral("关于本机页中的型号MD239CH和序列号"), QRect(215, 234, 200, 180));
}

} // namespace quenlio
