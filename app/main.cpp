#include "ui/accessibility.hpp"
#include "ui/fonts.hpp"
#include "ui/screens.hpp"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenlio"));
    QApplication::setApplicationVersion(QStringLiteral("3.0.0"));
    QApplication::setDesktopFileName(QStringLiteral("example.quenlio.Quenlio"));
    // Message boxes and anything without a font of its own use the screens' 宋体, not
    // whatever the desktop happens to offer for Chinese.
    QApplication::setFont(quenlio::fonts::Song());
    // The menu's icon on every window too, drawn from the same SVG at any scale.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/quenlio.svg")));
    quenlio::InstallAccessibility();
    quenlio::OpenScreen(quenlio::Screen::Form5);
    return app.exec();
}
