// The yardstick for start-up: an empty Qt window that quits at its first paint.
#include "bench/first_paint.hpp"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bare"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(640, 480);
    new quenlio::bench::QuitAtFirstPaint(&window);
    window.show();
    return app.exec();
}
