#include "ui/form2.hpp"

#include "ui/controls.hpp"
#include "ui/links.hpp"
#include "ui/web.hpp"

namespace quenlio {

Form2::Form2(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("说明"));
    setWindowFlags(FixedScreenFlags);
    setFixedSize(464, 302);

    Image1 =
        PlacePicture(this, "Image1", QStringLiteral(":/images/form2_notes.svg"),
                     QStringLiteral("说明：①支持iPhone全系列序列号查询 ②请务必输入正确的序列号和型号进行查询 "
                                    "③iPhone-设置-通用-关于本机 ④查询结果仅供参考 ⑤关于售后换机"),
                     QRect(8, 8, 448, 240));
    Image2 = PlacePicture(this, "Image2", QStringLiteral(":/images/form2_click.svg"),
                          QStringLiteral("点击此处"), QRect(336, 258, 120, 34));
    Image2->setClickable();
    connect(Image2, &Picture::clicked, this, &Form2::Image2_Click);
}

void Form2::Image2_Click() {
    OpenWebPage(QString::fromLatin1(links::ReleaseThreadPage));
}

} // namespace quenlio
