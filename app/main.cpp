#include "ui/accessibility.hpp"
#include "ui/screens.hpp"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenlio"));
    QApplication::setApplicationVersion(QStringLiteral("3.0.0"));
    QApplication::setDesktopFileName(QStringLiteral("quenlio"));
    quenlio::InstallAccessibility();
    quenlio::OpenScreen(quenlio::Screen::Form5);
    return app.exec();
}
