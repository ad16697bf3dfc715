#include "ui/form1.hpp"

#include "ui/controls.hpp"
#include "ui/links.hpp"
#include "ui/web.hpp"

#include <quenlio/version.hpp>

namespace quenlio {

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("关于"));
    setWindowFlags(FixedScreenFlags);
    setFixedSize(500, 399);

    Image1 = PlacePicture(this, "Image1", QStringLiteral(":/images/form1_about.svg"),
                          QStringLiteral("Quenlio ") + QLatin1String(Version) +
                              QStringLiteral("，作者与网店地址，数据库截止2012.12.15"),
                          QRect(0, 0, 500, 399));
    Image1->setClickable();
    connect(Image1, &Picture::clicked, this, &Form1::Image1_Click);
}

void Form1::Image1_Click() {
    OpenWebPage(QString::fromLatin1(links::SecureShopPage));
}

} // namespace quenlio
