#pragma once
// What the screen tests share: the six screens by name, letting posted events run, and the
// keyboard, clipboard and mouse as a user drives them.
#include "ui/controls.hpp"
#include "ui/screens.hpp"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>

class QWidget;

namespace quenlio::test_support {

inline constexpr std::array<std::pair<Screen, const char*>, ScreenCount> AllScreens{
    {{Screen::Form5, "Form5"},
     {Screen::Main, "Main"},
     {Screen::Form3, "Form3"},
     {Screen::Form1, "Form1"},
     {Screen::Form2, "Form2"},
     {Screen::Form4, "Form4"}}};
QString ScreenName(Screen screen);

// Lets posted events run as the event loop does between two user events: repaints, and the
// deferred deletion of closed screens.
void LetEventsRun();

// The names of the open screens, in the order of AllScreens.
QStringList OpenScreenNames();
// Every visible top-level window, whatever the screen registry believes.
int VisibleWindowCount();
void CloseAllScreens();
// The control of that name on the screen, or null.
QWidget* Control(QWidget* screen, const char* name);

// Records which screens were open at the moment a screen received its close event.
class CloseWatcher : public QObject {
public:
    explicit CloseWatcher(QWidget* screen);
    bool closed = false;
    QStringList openWhenClosing;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Characters as the screens count them (a Chinese character or an emoji is one).
int Chars(const QString& text);

// The control's name, or its class where it has none.
QString Describe(const QWidget* widget);

// Where the keyboard goes: the focus widget of the screen, or the screen itself.
QWidget* KeyboardTarget(QWidget* screen);

// Clicks the middle of the control with the left button, as a user would.
void Click(QWidget* control);

// Types each character of Latin-1 text into whichever control has the focus at that moment,
// as a real keyboard does: after the 12th serial character the rest goes to Text2.
void TypeAtFocus(const QString& text);

// Types each character at the screen's focus, as a keyboard or an input method delivers it:
// one key event carrying the character's text, a surrogate pair as one character.
// QTest::keyClicks drops characters outside Latin-1, so Chinese goes through here.
// Returns what it did, for an event log.
QString TypeText(QWidget* screen, const QString& text);

// Puts the text on the clipboard and presses Ctrl+V at the focus; with `replace`, Ctrl+A
// first, as a user replaces a box's text.
QString PasteText(QWidget* screen, const QString& text, bool replace);

} // namespace quenlio::test_support
