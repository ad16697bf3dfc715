// The yardstick for start-up: the toolkit's floor with a Chinese font, a window of the
// 12-character screen's size holding one box with one line of Chinese text in the
// screens' 宋体, that quits at its first paint.
#include "bench/first_paint.hpp"
#include "ui/fonts.hpp"

#include <QLineEdit>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bare"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(466, 492);
    auto* box = new QLineEdit(QStringLiteral("序列号(12位)"), &window);
    box->setFont(quenlio::fonts::Song());
    box->setGeometry(98, 84, 198, 24);
    new quenlio::bench::QuitAtFirstPaint(&window);
    window.show();
    return app.exec();
}
