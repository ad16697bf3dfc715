#pragma once
// Helpers for the tests of the screens and the ways between them.
#include "ui/screens.hpp"

#include <QApplication>
#include <QEvent>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <array>
#include <utility>

namespace quenlio::shelltest {

inline constexpr std::array<std::pair<Screen, const char*>, 6> AllScreens{{{Screen::Form5, "Form5"},
                                                                           {Screen::Main, "Main"},
                                                                           {Screen::Form3, "Form3"},
                                                                           {Screen::Form1, "Form1"},
                                                                           {Screen::Form2, "Form2"},
                                                                           {Screen::Form4, "Form4"}}};

// Lets closed screens finish their deferred deletion.
inline void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// The names of the open screens, in the order of AllScreens.
inline QStringList OpenScreenNames() {
    QStringList names;
    for (const auto& [screen, name] : AllScreens)
        if (FindScreen(screen))
            names << QString::fromLatin1(name);
    return names;
}

// Every visible top-level window, whatever the screen registry believes.
inline int VisibleWindowCount() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            ++count;
    return count;
}

inline void CloseAllScreens() {
    for (const auto& entry : AllScreens)
        if (QWidget* open = FindScreen(entry.first))
            open->close();
    Settle();
}

inline QWidget* Control(QWidget* screen, const char* name) {
    return screen ? screen->findChild<QWidget*>(QString::fromLatin1(name)) : nullptr;
}

// Records which screens were open at the moment a screen received its close event.
class CloseWatcher : public QObject {
public:
    explicit CloseWatcher(QWidget* screen) { screen->installEventFilter(this); }
    bool closed = false;
    QStringList openWhenClosing;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            closed = true;
            openWhenClosing = OpenScreenNames();
        }
        return false;
    }
};

inline void Click(QWidget* control) {
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

} // namespace quenlio::shelltest
