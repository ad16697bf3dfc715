#include "ui/main_menu.hpp"

#include "ui/controls.hpp"
#include "ui/links.hpp"
#include "ui/screens.hpp"
#include "ui/web.hpp"

namespace quenlio {

Main::Main(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Main"));
    // The caption keeps its trailing blank, as the menu has always shown it.
    setWindowTitle(QStringLiteral("Quenlio ByMorlane "));
    setWindowFlags(FixedScreenFlags);
    setFixedSize(412, 374);

    Image1 = PlacePicture(this, "Image1", QStringLiteral(":/images/main_title.svg"),
                          QStringLiteral("请选择设备型号"), QRect(16, 10, 380, 44));
    Image2 = PlacePicture(this, "Image2", QStringLiteral(":/images/main_models12.svg"),
                          QStringLiteral("iPhone4S、iPhone5、iPhone4(8GB)"), QRect(16, 64, 380, 84));
    Image3 = PlacePicture(this, "Image3", QStringLiteral(":/images/main_models11.svg"),
                          QStringLiteral("iPhone4(16GB&32GB)、iPhone3GS、iPhone、iPhone3G"),
                          QRect(16, 158, 380, 84));
    Image7 = PlacePicture(this, "Image7", QStringLiteral(":/images/main_help.svg"), QStringLiteral("说明"),
                          QRect(16, 256, 184, 44));
    Image6 = PlacePicture(this, "Image6", QStringLiteral(":/images/main_about.svg"), QStringLiteral("关于"),
                          QRect(212, 256, 184, 44));
    Image4 = PlacePicture(this, "Image4", QStringLiteral(":/images/main_by.svg"),
                          QStringLiteral("By Morlane"), QRect(16, 316, 184, 44));
    Image5 = PlacePicture(this, "Image5", QStringLiteral(":/images/main_contact.svg"),
                          QStringLiteral("旺旺：morlane.example 和我联系"), QRect(212, 316, 184, 44));

    // The clickable ones take the focus with Tab in the order they are read, the title
    // stays out. The contact badge keeps the normal pointer, as it always has.
    for (Picture* clickable : {Image2, Image3, Image7, Image6, Image4})
        clickable->setClickable();
    Image5->setClickable(Picture::Pointer::Normal);

    connect(Image2, &Picture::clicked, this, &Main::Image2_Click);
    connect(Image3, &Picture::clicked, this, &Main::Image3_Click);
    connect(Image4, &Picture::clicked, this, &Main::Image4_Click);
    connect(Image5, &Picture::clicked, this, &Main::Image5_Click);
    connect(Image6, &Picture::clicked, this, &Main::Image6_Click);
    connect(Image7, &Picture::clicked, this, &Main::Image7_Click);
}

// The target opens before the menu closes, so that a screen stays open throughout.
void Main::Image2_Click() {
    OpenScreen(Screen::Form5);
    close();
}

void Main::Image3_Click() {
    OpenScreen(Screen::Form3);
    close();
}

void Main::Image4_Click() {
    OpenWebPage(QString::fromLatin1(links::ShopPage));
}

void Main::Image5_Click() {
    OpenWebPage(QString::fromLatin1(links::ShopPage));
}

void Main::Image6_Click() {
    OpenScreen(Screen::Form1);
}

void Main::Image7_Click() {
    OpenScreen(Screen::Form2);
}

} // namespace quenlio
