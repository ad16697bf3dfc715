#include "ui/screens.hpp"

#include "ui/accessibility.hpp"
#include "ui/fonts.hpp"
#include "ui/form1.hpp"
#include "ui/form2.hpp"
#include "ui/form3.hpp"
#include "ui/form4.hpp"
#include "ui/form5.hpp"
#include "ui/main_menu.hpp"

#include <QApplication>
#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <quenlio/version.hpp>

#include <array>

namespace quenlio {

namespace {

std::array<QPointer<QWidget>, ScreenCount> g_open;

QWidget* Create(Screen screen) {
    switch (screen) {
    case Screen::Form5:
        return new Form5;
    case Screen::Main:
        return new Main;
    case Screen::Form3:
        return new Form3;
    case Screen::Form1:
        return new Form1;
    case Screen::Form2:
        return new Form2;
    case Screen::Form4:
        return new Form4;
    }
    return nullptr;
}

// A closed screen lingers until its deferred deletion runs; it no longer counts as
// open, or a quick "返回" and back would raise the dying one instead of a fresh one.
bool IsOpen(const QPointer<QWidget>& slot) {
    return slot && slot->isVisible();
}

} // namespace

QWidget* FindScreen(Screen screen) {
    const QPointer<QWidget>& slot = g_open[static_cast<std::size_t>(screen)];
    return IsOpen(slot) ? slot.data() : nullptr;
}

QWidget* OpenScreen(Screen screen) {
    QPointer<QWidget>& slot = g_open[static_cast<std::size_t>(screen)];
    if (!IsOpen(slot)) {
        slot = Create(screen);
        // Closing a screen discards it; the program ends with the last one.
        slot->setAttribute(Qt::WA_DeleteOnClose);
        slot->show();
    } else {
        if (slot->isMinimized())
            slot->showNormal();
        slot->raise();
    }
    slot->activateWindow();
    return slot.data();
}

void PrepareApplication() {
    QApplication::setApplicationName(QStringLiteral("Quenlio"));
    QApplication::setApplicationVersion(QString::fromLatin1(Version));
    QApplication::setDesktopFileName(QStringLiteral("example.quenlio.Quenlio"));
    // Message boxes and anything without a font of its own use the screens' 宋体, not
    // whatever the desktop happens to offer for Chinese.
    QApplication::setFont(fonts::Song());
    // The menu's icon on every window too.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/quenlio.svg")));
    InstallAccessibility();
}

} // namespace quenlio
