// The menu, About, Instructions and where-to-find screens, and the ways in and out of the
// query screens, under a long seeded stream of random clicks on pictures, links and random
// points, and of window closes: after every event the open screens are the ones the
// clicks lead to, each at most once, and each link has opened its page exactly once.
#include "support/random_events.hpp"

#include "ui/links.hpp"
#include "ui/picture.hpp"
#include "ui/screens.hpp"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <array>
#include <map>

using namespace quenlio;
using namespace quenlio::chaos;
using namespace quenlio::test_support;

namespace {

// What one click leads to: a screen opened, one closed, a page opened.
struct Effect {
    std::optional<Screen> open;
    std::optional<Screen> close;
    const char* page = nullptr;
};

Effect EffectOfClick(Screen screen, const QWidget* control) {
    if (!control->isEnabled())
        return {};
    const QString name = control->objectName();
    auto is = [&](const char* n) {
        return name == QLatin1String(n);
    };
    switch (screen) {
    case Screen::Main:
        if (is("Image2"))
            return {Screen::Form5, Screen::Main};
        if (is("Image3"))
            return {Screen::Form3, Screen::Main};
        if (is("Image6"))
            return {Screen::Form1, {}};
        if (is("Image7"))
            return {Screen::Form2, {}};
        if (is("Image4") || is("Image5"))
            return {{}, {}, links::ShopPage};
        return {};
    case Screen::Form5:
        if (is("Image2"))
            return {{}, {}, links::ShopPage};
        if (is("Label9"))
            return {Screen::Main, Screen::Form5};
        if (is("Command2"))
            return {Screen::Form4, {}};
        return {};
    case Screen::Form3:
        if (is("Label11"))
            return {Screen::Main, Screen::Form3};
        return {};
    case Screen::Form1:
        return is("Image1") ? Effect{{}, {}, links::SecureShopPage} : Effect{};
    case Screen::Form2:
        return is("Image2") ? Effect{{}, {}, links::ReleaseThreadPage} : Effect{};
    case Screen::Form4:
        return {};
    }
    return {};
}

// The controls a user would click on a screen: its pictures, links and the help button.
QList<QWidget*> Clickables(QWidget* screen) {
    QList<QWidget*> controls;
    for (QWidget* child : screen->findChildren<QWidget*>())
        if (qobject_cast<Picture*>(child) || qobject_cast<LinkLabel*>(child) ||
            child->objectName() == QLatin1String("Command2"))
            if (child->isVisible())
                controls << child;
    return controls;
}

// A query screen just opened holds nothing and offers only its first box.
bool IsFresh(Screen screen, QWidget* form) {
    auto box = [&](const char* name) {
        return form->findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    const QPushButton* query = form->findChild<QPushButton*>(QStringLiteral("Command1"));
    if (!box("Text1") || !box("Text2") || !query)
        return false;
    for (QLineEdit* edit : form->findChildren<QLineEdit*>())
        if (!edit->text().isEmpty())
            return false;
    bool fresh = box("Text1")->isEnabled() && !box("Text2")->isEnabled() && !query->isEnabled();
    if (screen == Screen::Form5)
        for (const char* name : {"Command3", "Command6", "Command7"})
            fresh = fresh && !form->findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled();
    return fresh;
}

} // namespace

class TestRandomShell : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void randomEvents() {
        const std::uint64_t seed = SeedFromEnvironment(20121215);
        const int events = EventCountFromEnvironment(10000);
        Random random(seed);
        QuietIgnoredEvents quiet;
        Answers answers(random, {});
        EventLog log;
        QElapsedTimer clock;
        clock.start();

        // Which screens are open, and the window each one had when it was opened.
        std::map<Screen, QPointer<QWidget>> open;
        open[Screen::Form5] = OpenScreen(Screen::Form5);
        QVERIFY(QTest::qWaitForWindowExposed(open[Screen::Form5]));
        int opened = 0, pages = 0, resets = 0;

        for (int index = 0; index < events; ++index) {
            if (open.empty()) {
                // Everything closed: the program would have ended; start again from the menu.
                open[Screen::Main] = OpenScreen(Screen::Main);
                ++resets;
            }
            auto target = open.begin();
            std::advance(target, random.Below(static_cast<int>(open.size())));
            const Screen screen = target->first;
            QWidget* window = target->second;

            Effect effect;
            QString what;
            const int action = random.Weighted({55, 38, 7});
            if (action == 2) {
                what = QStringLiteral("close %1").arg(ScreenName(screen));
                window->close();
                effect.close = screen;
            } else {
                QWidget* control = nullptr;
                QPoint at;
                const QList<QWidget*> clickables = Clickables(window);
                if (action == 0 && !clickables.isEmpty()) {
                    control = random.Pick(clickables);
                    at = QPoint(random.Below(control->width()), random.Below(control->height()));
                } else {
                    const QPoint point(random.Below(window->width()), random.Below(window->height()));
                    control = window->childAt(point);
                    if (!control)
                        control = window;
                    at = control->mapFrom(window, point);
                }
                effect = EffectOfClick(screen, control);
                what = ScreenName(screen) + QLatin1Char(' ') + ClickOn(control, at);
            }
            log.Add(index, what);
            LetEventsRun();

            std::map<Screen, QPointer<QWidget>> expected = open;
            if (effect.open && !expected.count(*effect.open))
                expected[*effect.open] = nullptr; // a new window
            if (effect.close)
                expected.erase(*effect.close);

            Failures fail;
            for (const auto& [s, name] : AllScreens) {
                QWidget* now = FindScreen(s);
                const auto it = expected.find(s);
                if (it == expected.end()) {
                    fail.Expect(!now, QStringLiteral("%1 is closed").arg(name));
                    continue;
                }
                fail.Expect(now != nullptr, QStringLiteral("%1 is open").arg(name));
                if (!now)
                    continue;
                if (it->second) {
                    fail.Expect(now == it->second,
                                QStringLiteral("%1 is the same window as before").arg(name));
                } else {
                    ++opened;
                    if (s == Screen::Form5 || s == Screen::Form3)
                        fail.Expect(IsFresh(s, now), QStringLiteral("%1 opens fresh").arg(name));
                    it->second = now;
                }
                fail.Expect(!now->isModal() && !now->parentWidget(),
                            QStringLiteral("%1 is an ownerless, modeless window").arg(name));
            }
            fail.Expect(VisibleWindowCount() == static_cast<int>(expected.size()),
                        QStringLiteral("each screen at most once: %1 windows for %2 screens")
                            .arg(VisibleWindowCount())
                            .arg(expected.size()));
            const QStringList addresses = answers.TakeOpened();
            fail.Expect(addresses ==
                            (effect.page ? QStringList{QString::fromLatin1(effect.page)} : QStringList{}),
                        QStringLiteral("pages opened: \"%1\"").arg(addresses.join(QStringLiteral("\", \""))));
            fail.Expect(answers.TakeShown().empty(), "no screen here shows a dialog");
            if (!fail.Empty())
                QFAIL(qPrintable(log.Report(seed, index, fail.Text())));
            pages += static_cast<int>(addresses.size());
            open = std::move(expected);
        }
        qInfo("seed %llu: %d events in %lld ms; %d screens opened, %d pages, %d restarts from the menu",
              static_cast<unsigned long long>(seed), events, static_cast<long long>(clock.elapsed()), opened,
              pages, resets);
        QVERIFY(opened > 100 && pages > 100);

        for (const auto& [s, window] : open)
            if (window)
                window->close();
        LetEventsRun();
        QCOMPARE(VisibleWindowCount(), 0);
    }
};

QTEST_MAIN(TestRandomShell)
#include "test_random_shell.moc"
