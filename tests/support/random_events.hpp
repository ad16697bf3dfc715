#pragma once
// Seeded random events for the screen tests: a reproducible generator, the keyboard,
// clipboard and mouse as a user drives them, answers for every dialog, and a log of the
// last events for the failure report.
#include "support/screen_support.hpp"
#include "ui/dialogs.hpp"
#include "ui/web.hpp"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <utility>
#include <vector>

namespace quenlio::chaos {

// The seed of a run: QUENLIO_RANDOM_SEED when set (decimal or 0x-hex), else the fixed one.
inline std::uint64_t SeedFromEnvironment(std::uint64_t fixed) {
    const QByteArray text = qgetenv("QUENLIO_RANDOM_SEED");
    if (text.isEmpty())
        return fixed;
    bool ok = false;
    const qulonglong seed = text.toULongLong(&ok, 0);
    return ok ? seed : fixed;
}

// How many events to send: QUENLIO_RANDOM_EVENTS when set, for longer soak runs.
inline int EventCountFromEnvironment(int fixed) {
    bool ok = false;
    const int count = qEnvironmentVariableIntValue("QUENLIO_RANDOM_EVENTS", &ok);
    return ok && count > 0 ? count : fixed;
}

class Random {
public:
    explicit Random(std::uint64_t seed) : m_engine(seed) {}

    // 0 to n - 1.
    int Below(int n) { return static_cast<int>(std::uniform_int_distribution<int>(0, n - 1)(m_engine)); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine) < p; }
    template <typename List> const auto& Pick(const List& list) {
        return list[static_cast<std::size_t>(Below(static_cast<int>(std::size(list))))];
    }
    QChar CharOf(const QString& alphabet) { return alphabet.at(Below(static_cast<int>(alphabet.size()))); }
    QString StringOf(const QString& alphabet, int length) {
        QString text;
        for (int i = 0; i < length; ++i)
            text += CharOf(alphabet);
        return text;
    }
    // Picks an index by weight.
    int Weighted(const std::vector<int>& weights) {
        int total = 0;
        for (int w : weights)
            total += w;
        int roll = Below(total);
        int index = 0;
        for (int w : weights) {
            if (roll < w)
                return index;
            roll -= w;
            ++index;
        }
        return index - 1;
    }

private:
    std::mt19937_64 m_engine;
};

// The last events sent, so a failure can be replayed by reading its report.
class EventLog {
public:
    void Add(int index, const QString& what) {
        m_lines.push_back(QStringLiteral("#%1 %2").arg(index).arg(what));
        if (m_lines.size() > 40)
            m_lines.pop_front();
    }
    void Note(const QString& what) {
        if (!m_lines.empty())
            m_lines.back() += QStringLiteral(" | ") + what;
    }
    QString Report(std::uint64_t seed, int index, const QString& failure) const {
        QString text =
            QStringLiteral("%1\nseed %2 (rerun with QUENLIO_RANDOM_SEED=%2), event #%3; last events:")
                .arg(failure)
                .arg(seed)
                .arg(index);
        for (const QString& line : m_lines)
            text += QStringLiteral("\n  ") + line;
        return text;
    }

private:
    std::deque<QString> m_lines;
};

// Collects every broken rule of one check, so the report names them all.
class Failures {
public:
    void Expect(bool holds, const QString& rule) {
        if (!holds)
            m_broken << rule;
    }
    bool Empty() const { return m_broken.isEmpty(); }
    QString Text() const { return m_broken.join(QStringLiteral("\n")); }

private:
    QStringList m_broken;
};

// Keys a user presses on its own, with what the log calls them.
struct NamedKey {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* name;
};

inline const std::vector<NamedKey>& EditingKeys() {
    static const std::vector<NamedKey> keys = {
        {Qt::Key_Backspace, Qt::NoModifier, "Backspace"},
        {Qt::Key_Delete, Qt::NoModifier, "Delete"},
        {Qt::Key_Tab, Qt::NoModifier, "Tab"},
        {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab"},
        {Qt::Key_Home, Qt::NoModifier, "Home"},
        {Qt::Key_End, Qt::NoModifier, "End"},
        {Qt::Key_Left, Qt::NoModifier, "Left"},
        {Qt::Key_Right, Qt::ShiftModifier, "Shift+Right"},
        {Qt::Key_Space, Qt::NoModifier, "Space"},
        {Qt::Key_Return, Qt::NoModifier, "Enter"},
        {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
        {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
        {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},
    };
    return keys;
}

inline QString KeyEvent(QWidget* screen, const NamedKey& key) {
    QWidget* target = test_support::KeyboardTarget(screen);
    const QString what =
        QStringLiteral("key %1 -> %2").arg(QString::fromLatin1(key.name), test_support::Describe(target));
    QTest::keyClick(target, key.key, key.modifiers);
    return what;
}

inline QString ClickOn(QWidget* control, QPoint at) {
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, at);
    return QStringLiteral("click %1 at (%2,%3)").arg(test_support::Describe(control)).arg(at.x()).arg(at.y());
}

inline QString ClickRandomly(Random& random, QWidget* control) {
    return ClickOn(control,
                   QPoint(random.Below(qMax(1, control->width())), random.Below(qMax(1, control->height()))));
}

// Clicks whatever lies under a random point of the screen.
inline QString ClickAnywhere(Random& random, QWidget* screen) {
    const QPoint point(random.Below(screen->width()), random.Below(screen->height()));
    QWidget* under = screen->childAt(point);
    if (!under)
        under = screen;
    return ClickOn(under, under->mapFrom(screen, point));
}

// A paste as a user makes one: mostly what belongs in the box that has the focus, sometimes
// any of the texts by weight. A text with no box is pasted only by weight.
struct PasteChoice {
    const char* box;
    std::function<QString()> text;
    int weight;
};
inline QString PasteFor(Random& random, const QWidget* focus, const std::vector<PasteChoice>& choices) {
    const QString box = focus ? focus->objectName() : QString();
    if (random.Chance(0.7))
        for (const PasteChoice& choice : choices)
            if (choice.box && box == QLatin1String(choice.box))
                return choice.text();
    std::vector<int> weights;
    for (const PasteChoice& choice : choices)
        weights.push_back(choice.weight);
    return choices[static_cast<std::size_t>(random.Weighted(weights))].text();
}

// What the query screens' tests do from the keyboard, by `kind` from 0 to 3: a key of the
// serials' alphabet, an editing key, a character no serial holds, or a paste of what the
// box with the focus mostly takes (replacing its text or not).
template <typename Inputs> QString KeyboardEvent(Random& random, Inputs& inputs, QWidget* screen, int kind) {
    switch (kind) {
    case 0:
        return test_support::TypeText(screen, inputs.SerialKey());
    case 1:
        return KeyEvent(screen, random.Pick(EditingKeys()));
    case 2:
        return test_support::TypeText(screen, inputs.Typed());
    default:
        return test_support::PasteText(screen, inputs.Paste(test_support::KeyboardTarget(screen)),
                                       random.Chance(0.5));
    }
}

// Answers every message box and input box at random, and records each one with its
// answer; the scan's file dialog is cancelled, and counted alone; web pages are recorded
// instead of opened.
class Answers {
public:
    struct Entry {
        dialogs::Shown shown;
        dialogs::Answer answer = dialogs::Answer::Ok;
        std::optional<QString> input; // the line returned by an input box, none for Cancel
    };

    Answers(Random& random, std::vector<QString> inputs) : m_random(random), m_inputs(std::move(inputs)) {
        m_dialogs.onShown = [this](const dialogs::Shown& shown) {
            if (shown.kind == dialogs::Shown::Kind::Picture) {
                ++m_pictureAsks;
                return;
            }
            Entry entry{shown, dialogs::Answer::Ok, std::nullopt};
            if (shown.kind == dialogs::Shown::Kind::Input) {
                const int choice = m_random.Below(static_cast<int>(m_inputs.size()) + 2);
                if (choice < static_cast<int>(m_inputs.size()))
                    entry.input = m_inputs[static_cast<std::size_t>(choice)];
                else if (choice == static_cast<int>(m_inputs.size()))
                    entry.input = shown.initial; // accepted unchanged
                m_dialogs.QueueInput(entry.input);
            } else {
                entry.answer = m_random.Chance(0.5) ? dialogs::Answer::Ok : dialogs::Answer::Cancel;
                m_dialogs.QueueAnswer(entry.answer);
            }
            if (onShown)
                onShown(entry);
            m_entries.push_back(std::move(entry));
        };
    }

    // Runs while a dialog is up, before it answers.
    std::function<void(const Entry&)> onShown;

    // How often the scan asked for a picture.
    int pictureAsks() const { return m_pictureAsks; }

    // What was shown since the last call, and the addresses opened.
    std::vector<Entry> TakeShown() { return std::exchange(m_entries, {}); }
    QStringList TakeOpened() {
        QStringList opened = m_web.opened();
        m_web.clear();
        return opened;
    }

private:
    Random& m_random;
    std::vector<QString> m_inputs;
    dialogs::Hook m_dialogs;
    web::Hook m_web;
    std::vector<Entry> m_entries;
    int m_pictureAsks = 0;
};

// Keys sent to controls that ignore them (a picture, a disabled button) and clicks on
// disabled controls are what a user does too; Qt's warnings about them are noise here.
class QuietIgnoredEvents {
public:
    QuietIgnoredEvents() { s_previous = qInstallMessageHandler(&Filter); }
    ~QuietIgnoredEvents() { qInstallMessageHandler(s_previous); }

private:
    static void Filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtWarningMsg && (message.startsWith(QLatin1String("Keyboard event not accepted")) ||
                                     message.startsWith(QLatin1String("Mouse event \""))))
            return;
        if (s_previous)
            s_previous(type, context, message);
    }
    static inline QtMessageHandler s_previous = nullptr;
};

inline bool HasLowerAscii(const QString& text) {
    for (const QChar c : text)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            return true;
    return false;
}

} // namespace quenlio::chaos
