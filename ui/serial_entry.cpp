#include "ui/serial_entry.hpp"

#include "ui/controls.hpp"
#include "ui/dialogs.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QValidator>

#include <utility>

namespace quenlio {

namespace {

// Rewrites the text inside the box's own edit, before the change is reported, so that
// no handler ever sees the text as typed.
class Normaliser : public QValidator {
public:
    Normaliser(std::string (*normalise)(std::string_view), std::size_t maxChars, QLineEdit* box)
        : QValidator(box), m_normalise(normalise), m_maxChars(maxChars), m_accepted(box->text()) {}

    State validate(QString& text, int& caret) const override {
        const bool trimmed = DropBeyondLimit(text, caret);
        const QString normal = FromUtf8(m_normalise(Utf8(text)));
        if (normal != text) {
            text = normal;
            caret = static_cast<int>(text.size());
        }
        // Everything typed fell beyond the limit: refusing the edit leaves the box as it
        // was and reports no change, where rewriting it would report one. (The program's own
        // writes, which Qt does not undo when refused, always fit.)
        if (trimmed && text == m_accepted)
            return Invalid;
        m_accepted = text;
        return Acceptable;
    }

private:
    // The characters beyond the limit are the last ones typed or pasted, just before
    // the caret; they go whole, a surrogate pair as one character.
    bool DropBeyondLimit(QString& text, int& caret) const {
        const std::size_t length = CharLength(text);
        if (length <= m_maxChars)
            return false;
        for (std::size_t excess = length - m_maxChars; excess > 0; --excess) {
            const int at = caret > 0 ? caret : static_cast<int>(text.size());
            const int width =
                at >= 2 && text.at(at - 1).isLowSurrogate() && text.at(at - 2).isHighSurrogate() ? 2 : 1;
            text.remove(at - width, width);
            if (caret > 0)
                caret -= width;
        }
        return true;
    }

    std::string (*m_normalise)(std::string_view);
    std::size_t m_maxChars;
    // The text last let through: the box's text between two edits.
    mutable QString m_accepted;
};

// A scanner types a character every 1-10 ms over USB, up to 30-40 ms over Bluetooth; even a
// fast typist rarely types two keys 60 ms apart. A key this soon after the last is fast.
constexpr int FastGap = 50;
// A burst is at least this many keys, each fast after the one before: as many as the shortest
// code a box takes from a scanner (a part number without its identifier). No person types six
// keys within a quarter of a second.
constexpr std::size_t BurstKeys = 6;
// A burst with no Enter or Tab at its end has ended when no key has followed it for this long.
constexpr int BurstPause = 100;

bool IsModifier(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

// A key a burst may hold: one character typed, timed, not a held key repeating.
bool Holdable(const QKeyEvent& key) {
    const QString text = key.text();
    return key.timestamp() != 0 && !key.isAutoRepeat() && text.size() == 1 && text.at(0).isPrint() &&
           !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool EndsBurst(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Tab;
}

} // namespace

void NormaliseAsTyped(QLineEdit* box, std::string (*normalise)(std::string_view), std::size_t maxChars) {
    box->setValidator(new Normaliser(normalise, maxChars, box));
    // Also after a deletion or an undo, which the normal form leaves as it is.
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [box](const QString& text) { box->setCursorPosition(static_cast<int>(text.size())); });
}

SerialCheck::SerialCheck(QLineEdit* serial, Rule accepts, QString message, QString title)
    : QObject(serial), m_serial(serial), m_accepts(accepts), m_message(std::move(message)),
      m_title(std::move(title)) {}

void SerialCheck::RunOn(FocusEdit* box, void (FocusEdit::*focusChange)(Qt::FocusReason)) {
    connect(box, focusChange, this, [this](Qt::FocusReason reason) {
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Run();
    });
}

void SerialCheck::MoveFocusTo(QWidget* next) {
    const unsigned runs = m_runs;
    next->setFocus(Qt::OtherFocusReason);
    if (m_runs == runs)
        Run();
}

void SerialCheck::Run() {
    if (m_running)
        return;
    ++m_runs;
    if (m_accepts(Utf8(m_serial->text())))
        return;
    // The screen cannot close under its modal box, so the box and this check are still
    // there when it returns.
    m_running = true;
    dialogs::ShowMessage(m_serial->window(), m_message, m_title);
    // Emptying the serial closes the screen's gates again.
    m_serial->clear();
    m_serial->setFocus(Qt::OtherFocusReason);
    m_running = false;
}

KeyBursts::KeyBursts(std::initializer_list<QLineEdit*> boxes, Take take, QObject* owner)
    : QObject(owner), m_boxes(boxes), m_take(std::move(take)) {
    for (QLineEdit* box : m_boxes) {
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        box->installEventFilter(this);
    }
    m_wait.setSingleShot(true);
    connect(&m_wait, &QTimer::timeout, this, &KeyBursts::Decide);
}

bool KeyBursts::IsBurst() const {
    return m_held.size() >= BurstKeys;
}

bool KeyBursts::eventFilter(QObject* watched, QEvent* event) {
    // A box made read-only or writable again asks for the input method again.
    if (event->type() == QEvent::ReadOnlyChange)
        static_cast<QWidget*>(watched)->setAttribute(Qt::WA_InputMethodEnabled, false);
    // The focus leaving: what is held goes first, into the box it was typed into.
    if (event->type() == QEvent::FocusOut && !m_held.empty() && !m_releasing)
        Conclude(static_cast<QWidget*>(watched));
    if (event->type() != QEvent::KeyPress || m_releasing)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (IsModifier(key->key()))
        return false;
    if (m_held.empty()) {
        if (!Holdable(*key))
            return PassOn(watched, key);
        Hold(*key, FastGap);
        return true;
    }
    const unsigned long gap = key->timestamp() - m_lastTime;
    if (IsBurst() && EndsBurst(*key)) {
        TakeBurst();
        return true;
    }
    if (Holdable(*key) && gap <= static_cast<unsigned long>(IsBurst() ? BurstPause : FastGap)) {
        Hold(*key, m_held.size() + 1 >= BurstKeys ? BurstPause : FastGap);
        return true;
    }
    // Too slow for a burst, or no character: what was held is decided, and this key starts afresh.
    Conclude();
    return eventFilter(watched, event);
}

void KeyBursts::Hold(const QKeyEvent& key, int wait) {
    m_held.emplace_back(key.clone());
    m_lastTime = key.timestamp();
    m_sinceKey.start();
    m_waitedLate = false;
    m_wait.start(wait);
}

void KeyBursts::Decide() {
    // The window's thread was kept busy past the pause: keys typed meanwhile may still be queued,
    // so they are given one more pause to arrive before the burst is decided without them.
    if (!m_waitedLate && m_sinceKey.elapsed() > 2 * m_wait.interval()) {
        m_waitedLate = true;
        m_wait.start();
        return;
    }
    Conclude();
}

void KeyBursts::Conclude(QWidget* into) {
    if (IsBurst())
        TakeBurst();
    else
        ReleaseHeld(into);
}

void KeyBursts::ReleaseHeld(QWidget* into) {
    m_wait.stop();
    const std::vector<std::unique_ptr<QKeyEvent>> held = std::move(m_held);
    m_held.clear();
    for (const auto& key : held) {
        QWidget* focus = QApplication::focusWidget();
        QObject* to = into                                                    ? into
                      : focus && focus->window() == m_boxes.front()->window() ? focus
                                                                              : m_boxes.front();
        m_releasing = true;
        QCoreApplication::sendEvent(to, key.get());
        m_releasing = false;
    }
}

void KeyBursts::TakeBurst() {
    m_wait.stop();
    QString text;
    for (const auto& key : m_held)
        text += key->text();
    m_held.clear();
    m_take(text);
}

bool KeyBursts::PassOn(QObject* watched, QKeyEvent* key) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus == watched || focus->window() != m_boxes.front()->window())
        return false;
    m_releasing = true;
    QCoreApplication::sendEvent(focus, key);
    m_releasing = false;
    return true;
}

} // namespace quenlio
