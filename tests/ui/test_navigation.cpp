// The ways between the screens: which screens are open after each move, that a query
// screen reached from the menu is fresh, and that the program ends with its last screen.
#include "support/screen_support.hpp"

#include "ui/dialogs.hpp"
#include "ui/form1.hpp"
#include "ui/form2.hpp"
#include "ui/form4.hpp"
#include "ui/main_menu.hpp"
#include "ui/picture.hpp"
#include "ui/web.hpp"

#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

#include <functional>
#include <vector>

using namespace quenlio;
using namespace quenlio::test_support;

class NavigationTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<dialogs::Hook> m_dialogs;
    std::unique_ptr<web::Hook> m_web;

    // Opens the menu the way the user reaches it: from the start-up screen's "返回".
    QWidget* ReachMain() {
        QWidget* form5 = OpenScreen(Screen::Form5);
        QWidget* back = Control(form5, "Label9");
        if (!back)
            return nullptr;
        Click(back);
        LetEventsRun();
        return FindScreen(Screen::Main);
    }

private slots:
    void init() {
        m_dialogs = std::make_unique<dialogs::Hook>();
        m_web = std::make_unique<web::Hook>();
    }

    void cleanup() {
        CloseAllScreens();
        const int left = VisibleWindowCount();
        m_web.reset();
        m_dialogs.reset();
        QCOMPARE(left, 0);
    }

    void startUpOpensOnlyForm5() {
        QWidget* form5 = OpenScreen(Screen::Form5);
        QVERIFY(QTest::qWaitForWindowExposed(form5));
        QCOMPARE(OpenScreenNames(), QStringList{"Form5"});
        QCOMPARE(VisibleWindowCount(), 1);
        QVERIFY(!form5->isModal());
        QCOMPARE(form5->parentWidget(), nullptr);
    }

    void screensHaveTheirCaptionsAndSizes_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("size");
        QTest::newRow("Main") << int(Screen::Main) << "Quenlio ByMorlane " << QSize(412, 374);
        QTest::newRow("Form1") << int(Screen::Form1) << "关于" << QSize(500, 399);
        QTest::newRow("Form2") << int(Screen::Form2) << "说明" << QSize(464, 302);
        QTest::newRow("Form4") << int(Screen::Form4) << "序列号、型号查看方法" << QSize(423, 421);
    }

    void screensHaveTheirCaptionsAndSizes() {
        QFETCH(int, screen);
        QFETCH(QString, caption);
        QFETCH(QSize, size);
        QWidget* opened = OpenScreen(Screen(screen));
        QVERIFY(QTest::qWaitForWindowExposed(opened));
        QCOMPARE(opened->windowTitle(), caption);
        QCOMPARE(opened->size(), size);
        QCOMPARE(opened->minimumSize(), size);
        QCOMPARE(opened->maximumSize(), size);
        QVERIFY(!opened->isModal());
        QCOMPARE(opened->parentWidget(), nullptr);
        QVERIFY(opened->testAttribute(Qt::WA_DeleteOnClose));
    }

    void backFromForm5OpensMain() {
        QWidget* form5 = OpenScreen(Screen::Form5);
        QWidget* back = Control(form5, "Label9");
        QVERIFY2(back, "Form5 has no 返回 label");
        QPointer<QWidget> old = form5;
        CloseWatcher watcher(form5);
        Click(back);
        // Main is up before Form5 goes: a window stays open throughout.
        QVERIFY(watcher.closed);
        QCOMPARE(watcher.openWhenClosing, (QStringList{"Form5", "Main"}));
        LetEventsRun();
        QCOMPARE(OpenScreenNames(), QStringList{"Main"});
        QVERIFY(old.isNull());
    }

    void menuGivesAFreshForm5() {
        QWidget* form5 = OpenScreen(Screen::Form5);
        auto* text1 = qobject_cast<QLineEdit*>(Control(form5, "Text1"));
        QVERIFY2(text1 && Control(form5, "Label9"), "Form5 has no Text1 or 返回 label");
        QVERIFY(QTest::qWaitForWindowExposed(form5));
        text1->setFocus();
        QTest::keyClicks(text1, "C8Q");
        QCOMPARE(text1->text(), QString("C8Q"));
        QPointer<QWidget> old = form5;

        auto* menu = qobject_cast<Main*>(ReachMain());
        QVERIFY(menu);
        CloseWatcher watcher(menu);
        Click(menu->Image2);
        QCOMPARE(watcher.openWhenClosing, (QStringList{"Form5", "Main"}));
        LetEventsRun();
        QCOMPARE(OpenScreenNames(), QStringList{"Form5"});
        QVERIFY(old.isNull());
        QWidget* fresh = FindScreen(Screen::Form5);
        QCOMPARE(qobject_cast<QLineEdit*>(Control(fresh, "Text1"))->text(), QString());
        QVERIFY(!Control(fresh, "Text2")->isEnabled());
        QVERIFY(!Control(fresh, "Command1")->isEnabled());
    }

    // A quick "返回" and straight back, before any deferred deletion has run, must still
    // give a fresh screen, never the one being closed.
    void quickReturnBeforeDeletionStillGivesFreshScreens() {
        QWidget* form5 = OpenScreen(Screen::Form5);
        QWidget* back = Control(form5, "Label9");
        QVERIFY2(back, "Form5 has no 返回 label");
        QPointer<QWidget> oldForm5 = form5;
        Click(back);
        auto* menu = qobject_cast<Main*>(FindScreen(Screen::Main));
        QVERIFY(menu);
        QPointer<QWidget> oldMenu = menu;
        Click(menu->Image2);
        QWidget* again = FindScreen(Screen::Form5);
        QVERIFY(again);
        QVERIFY(again != oldForm5.data());
        QVERIFY(again->isVisible());
        Click(Control(again, "Label9"));
        QWidget* menuAgain = FindScreen(Screen::Main);
        QVERIFY(menuAgain);
        QVERIFY(menuAgain != oldMenu.data());
        LetEventsRun();
        QCOMPARE(OpenScreenNames(), QStringList{"Main"});
        QCOMPARE(VisibleWindowCount(), 1);
    }

    void menuOpensForm3AndItsBackReturns() {
        auto* menu = qobject_cast<Main*>(ReachMain());
        QVERIFY2(menu, "Form5 has no 返回 label");
        CloseWatcher menuWatcher(menu);
        Click(menu->Image3);
        QCOMPARE(menuWatcher.openWhenClosing, (QStringList{"Main", "Form3"}));
        LetEventsRun();
        QCOMPARE(OpenScreenNames(), QStringList{"Form3"});
        QWidget* form3 = FindScreen(Screen::Form3);
        QWidget* back = Control(form3, "Label11");
        QVERIFY2(back, "Form3 has no 返回 label");
        CloseWatcher form3Watcher(form3);
        Click(back);
        QCOMPARE(form3Watcher.openWhenClosing, (QStringList{"Main", "Form3"}));
        LetEventsRun();
        QCOMPARE(OpenScreenNames(), QStringList{"Main"});
    }

    void menuOpensAboutAndInstructionsAndStays_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("targetName");
        QTest::newRow("Image6 关于") << "Image6" << int(Screen::Form1) << "Form1";
        QTest::newRow("Image7 说明") << "Image7" << int(Screen::Form2) << "Form2";
    }

    void menuOpensAboutAndInstructionsAndStays() {
        QFETCH(QString, picture);
        QFETCH(int, target);
        QFETCH(QString, targetName);
        QWidget* menu = OpenScreen(Screen::Main);
        QWidget* control = menu->findChild<QWidget*>(picture);
        QVERIFY(control);
        Click(control);
        LetEventsRun();
        QCOMPARE(OpenScreenNames(), (QStringList{"Main", targetName}));
        QWidget* first = FindScreen(Screen(target));
        QVERIFY(QTest::qWaitForWindowActive(first));

        // A second click raises the same window; it does not make another.
        menu->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(menu));
        Click(control);
        LetEventsRun();
        QCOMPARE(FindScreen(Screen(target)), first);
        QVERIFY(QTest::qWaitForWindowActive(first));
        QCOMPARE(VisibleWindowCount(), 2);
        QCOMPARE(m_web->opened(), QStringList());
    }

    void form4OpensOnceAndComesToTheFront() {
        QWidget* form5 = OpenScreen(Screen::Form5);
        QWidget* command2 = Control(form5, "Command2");
        QVERIFY2(command2, "Form5 has no Command2");
        QVERIFY(QTest::qWaitForWindowExposed(form5));
        Click(command2);
        LetEventsRun();
        QWidget* form4 = FindScreen(Screen::Form4);
        QVERIFY(form4);
        QVERIFY(QTest::qWaitForWindowActive(form4));
        form5->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form5));
        Click(command2);
        LetEventsRun();
        QCOMPARE(FindScreen(Screen::Form4), form4);
        QVERIFY(QTest::qWaitForWindowActive(form4));
        QCOMPARE(OpenScreenNames(), (QStringList{"Form5", "Form4"}));
        QCOMPARE(VisibleWindowCount(), 2);
    }

    void form4OutlivesAChangeToMain() {
        QWidget* form5 = OpenScreen(Screen::Form5);
        QWidget* command2 = Control(form5, "Command2");
        QVERIFY2(command2 && Control(form5, "Label9"), "Form5 has no Command2 or 返回 label");
        Click(command2);
        QPointer<QWidget> form4 = FindScreen(Screen::Form4);
        QVERIFY(ReachMain());
        QCOMPARE(OpenScreenNames(), (QStringList{"Main", "Form4"}));
        QCOMPARE(FindScreen(Screen::Form4), form4.data());
    }

    void aboutOutlivesTheMenu() {
        auto* menu = qobject_cast<Main*>(OpenScreen(Screen::Main));
        Click(menu->Image6);
        QPointer<QWidget> about = FindScreen(Screen::Form1);
        QVERIFY(about);
        Click(menu->Image3);
        LetEventsRun();
        QCOMPARE(OpenScreenNames(), (QStringList{"Form3", "Form1"}));
        QCOMPARE(FindScreen(Screen::Form1), about.data());
        // And on to Form5 through Form3's "返回" and the menu: About is still there.
        QWidget* back = Control(FindScreen(Screen::Form3), "Label11");
        QVERIFY2(back, "Form3 has no 返回 label");
        Click(back);
        Click(qobject_cast<Main*>(FindScreen(Screen::Main))->Image2);
        LetEventsRun();
        QCOMPARE(OpenScreenNames(), (QStringList{"Form5", "Form1"}));
        QCOMPARE(FindScreen(Screen::Form1), about.data());
    }

    void closingAScreenDiscardsIt() {
        QPointer<QWidget> about = OpenScreen(Screen::Form1);
        about->close();
        QCOMPARE(FindScreen(Screen::Form1), nullptr);
        LetEventsRun();
        QVERIFY(about.isNull());
        QWidget* again = OpenScreen(Screen::Form1);
        QVERIFY(again->isVisible());
        QCOMPARE(OpenScreenNames(), QStringList{"Form1"});
    }

    void minimisedScreenIsRestoredWhenOpenedAgain() {
        QWidget* about = OpenScreen(Screen::Form1);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        about->showMinimized();
        QTRY_VERIFY(about->isMinimized());
        QCOMPARE(OpenScreen(Screen::Form1), about);
        QTRY_VERIFY(!about->isMinimized());
        QCOMPARE(VisibleWindowCount(), 1);
    }

    // The program's own event loop, with the steps fed in one by one: the loop must end
    // after the last step and not before.
    void programEndsWithItsLastScreen_data() {
        QTest::addColumn<int>("scenario");
        QTest::newRow("Form5 closed right after start-up") << 0;
        QTest::newRow("About outlives Main and Form3") << 1;
        QTest::newRow("Form4 outlives Form5 and Main") << 2;
    }

    void programEndsWithItsLastScreen() {
        QFETCH(int, scenario);
        QVERIFY(QGuiApplication::quitOnLastWindowClosed());
        std::vector<std::function<void()>> steps;
        auto closeScreen = [](Screen screen) {
            return [screen] {
                if (QWidget* open = FindScreen(screen))
                    open->close();
            };
        };
        auto clickControl = [](Screen screen, const char* name) {
            return [screen, name] {
                QWidget* control = Control(FindScreen(screen), name);
                QVERIFY2(control, name); // a renamed control fails the scenario
                Click(control);
            };
        };
        OpenScreen(Screen::Form5);
        if (scenario == 1) {
            steps = {clickControl(Screen::Form5, "Label9"), clickControl(Screen::Main, "Image6"),
                     clickControl(Screen::Main, "Image3"), closeScreen(Screen::Form3),
                     closeScreen(Screen::Form1)};
        } else if (scenario == 2) {
            steps = {clickControl(Screen::Form5, "Command2"), clickControl(Screen::Form5, "Label9"),
                     closeScreen(Screen::Main), closeScreen(Screen::Form4)};
        } else {
            steps = {closeScreen(Screen::Form5)};
        }

        std::size_t done = 0;
        int stepsAtLastWindow = -1;
        QStringList openAtLastWindow;
        QMetaObject::Connection watch = connect(qApp, &QGuiApplication::lastWindowClosed, this, [&] {
            stepsAtLastWindow = int(done);
            openAtLastWindow = OpenScreenNames();
        });
        QTimer stepper;
        stepper.setInterval(30);
        connect(&stepper, &QTimer::timeout, this, [&] {
            if (done < steps.size())
                steps[done++]();
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(2); });
        // A quit left behind by an earlier test's closing must not end this loop early.
        QCoreApplication::removePostedEvents(qApp, QEvent::Quit);
        stepper.start();
        watchdog.start(5000);
        const int result = QApplication::exec();
        disconnect(watch);

        QCOMPARE(result, 0);
        QCOMPARE(stepsAtLastWindow, int(steps.size()));
        QCOMPARE(openAtLastWindow, QStringList());
        QCOMPARE(VisibleWindowCount(), 0);
    }
};

QTEST_MAIN(NavigationTest)
#include "test_navigation.moc"
