#include "ui/serial_entry.hpp"

#include "ui/controls.hpp"
#include "ui/dialogs.hpp"

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

} // namespace quenlio
