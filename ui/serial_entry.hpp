#pragma once
// What the two query screens do alike with their serial and part-number boxes: keep
// the text normalised as it is typed, and check the serial when the user moves on.
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QLineEdit;
class QWidget;

namespace quenlio {

class FocusEdit;

// Keeps the box's text in the form `normalise` gives it, whether typed, pasted or
// written by the program, with the caret at the end after every change, and at most
// `maxChars` characters long, counted as the rules count them (an emoji or a rare
// Chinese character is one, where QLineEdit's own limit would count two and keep half).
// What is typed or pasted beyond the limit is dropped whole, as a full box drops a key;
// an edit that leaves nothing new is refused without a change. The text is rewritten
// before the box reports the change, so its change handler runs once, on the final
// text. Call it before connecting that handler.
void NormaliseAsTyped(QLineEdit* box, std::string (*normalise)(std::string_view), std::size_t maxChars);

// The check of a serial that runs when the focus moves: a serial the rule rejects is
// reported in a message box, then emptied and given the focus back. The message box
// runs its own event loop, and the focus comes and goes meanwhile (the window loses it
// to the box and gets it back); none of that starts a second check.
class SerialCheck : public QObject {
public:
    using Rule = bool (*)(std::string_view serial);

    // Belongs to the serial box and goes with it.
    SerialCheck(QLineEdit* serial, Rule accepts, QString message, QString title);

    // Checks whenever `box` reports that the user moved the focus into or out of it
    // (`focusChange` is FocusEdit::gotFocus or FocusEdit::lostFocus). The focus leaving
    // with the window, to another window or a context menu, is no such move: it comes
    // back to the same place.
    void RunOn(FocusEdit* box, void (FocusEdit::*focusChange)(Qt::FocusReason));

    // Moves the focus to `next`, which normally checks the serial through RunOn. When
    // the move raises no focus event (the window is inactive, or the focus was not where
    // RunOn watches), the check runs here instead.
    void MoveFocusTo(QWidget* next);

    void Run();

private:
    QLineEdit* m_serial;
    Rule m_accepts;
    QString m_message;
    QString m_title;
    bool m_running = false; // the message is up
    unsigned m_runs = 0;
};

// A hand scanner is a keyboard that types a bar code's text in one burst and then Enter or Tab.
// Told from a person by the pace of the keys typed into `boxes`: a burst is taken whole by
// `take` (its Enter or Tab with it, so it presses nothing and moves nothing); a person's keys
// reach the boxes as they were typed, one by one, so every rule of typed text holds. The keys
// are held until that is decided, a few tens of milliseconds. The boxes take keys, never an
// input method's compositions, so that a scanner works with a Chinese input method on.
// A key with no time (made by the program or a test tool, not by a keyboard) is a person's.
class KeyBursts : public QObject {
public:
    using Take = std::function<void(const QString& text)>;

    // Belongs to `owner` and goes with it.
    KeyBursts(std::initializer_list<QLineEdit*> boxes, Take take, QObject* owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsBurst() const;
    void Hold(const QKeyEvent& key, int wait);
    void Decide();
    // Takes what is held as a burst or lets it on as a person's keys (into `into`, as ReleaseHeld).
    void Conclude(QWidget* into = nullptr);
    // Into `into`, or the box that has the focus now, which an earlier key may have moved.
    void ReleaseHeld(QWidget* into = nullptr);
    void TakeBurst();
    // Lets `key` on to the box that has the focus now, which an earlier key may have moved.
    bool PassOn(QObject* watched, QKeyEvent* key);

    std::vector<QLineEdit*> m_boxes;
    Take m_take;
    std::vector<std::unique_ptr<QKeyEvent>> m_held;
    unsigned long m_lastTime = 0; // the last held key's, in the window system's milliseconds
    QTimer m_wait;                // the pause that decides
    QElapsedTimer m_sinceKey;
    bool m_waitedLate = false;
    bool m_releasing = false;
};

} // namespace quenlio
