#include "ui/screens.hpp"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    quenlio::PrepareApplication();
    quenlio::OpenScreen(quenlio::Screen::Form5);
    return app.exec();
}
