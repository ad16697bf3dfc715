// Starts as the quenlio program does, shows the 12-character screen and quits at its
// first paint.
#include "bench/first_paint.hpp"
#include "ui/screens.hpp"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    quenlio::PrepareApplication();
    QWidget* form5 = quenlio::OpenScreen(quenlio::Screen::Form5);
    new quenlio::bench::QuitAtFirstPaint(form5);
    return app.exec();
}
