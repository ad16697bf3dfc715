// The pictures that lead to web pages: one address per click, nothing else changed, and
// one action for a double-click; the pictures that lead nowhere open nothing; the pointer
// tells the two apart.
#include "support/screen_support.hpp"

#include "ui/dialogs.hpp"
#include "ui/links.hpp"
#include "ui/web.hpp"

#include <QStyleHints>
#include <QWindow>
#include <QtTest>

#include <memory>

using namespace quenlio;
using namespace quenlio::test_support;

class LinksTest : public QObject {
    Q_OBJECT

    // Pages are recorded instead of opened, and every box is answered.
    std::unique_ptr<web::Hook> m_web;
    std::unique_ptr<dialogs::Hook> m_dialogs;

private slots:
    void init() {
        m_web = std::make_unique<web::Hook>();
        m_dialogs = std::make_unique<dialogs::Hook>();
    }

    void cleanup() {
        CloseAllScreens();
        m_dialogs.reset();
        m_web.reset();
    }

    void eachClickOpensItsPageOnce_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("address");
        QTest::newRow("Main Image4 By") << int(Screen::Main) << "Image4" << QString(links::ShopPage);
        QTest::newRow("Main Image5 badge") << int(Screen::Main) << "Image5" << QString(links::ShopPage);
        QTest::newRow("Form1 Image1 about")
            << int(Screen::Form1) << "Image1" << QString(links::SecureShopPage);
        QTest::newRow("Form2 Image2 点击此处")
            << int(Screen::Form2) << "Image2" << QString(links::ReleaseThreadPage);
    }

    void eachClickOpensItsPageOnce() {
        QFETCH(int, screen);
        QFETCH(QString, control);
        QFETCH(QString, address);
        QWidget* opened = OpenScreen(Screen(screen));
        QVERIFY(QTest::qWaitForWindowExposed(opened));
        const QStringList before = OpenScreenNames();
        QWidget* link = opened->findChild<QWidget*>(control);
        QVERIFY(link);

        Click(link);
        LetEventsRun();
        QCOMPARE(m_web->opened(), QStringList{address});
        Click(link);
        LetEventsRun();
        QCOMPARE(m_web->opened(), (QStringList{address, address}));

        QCOMPARE(OpenScreenNames(), before);
        QCOMPARE(FindScreen(Screen(screen)), opened);
        QVERIFY(link->isVisible());
        QVERIFY(link->isEnabled());
        QVERIFY(m_dialogs->shown().empty());
    }

    // A double-click acts once. Both clicks come through the window system, within the
    // double-click time and at one place on the screen; the second lands on whatever is
    // under the pointer by then: the same control, or one of the screen the first click
    // opened. A click after the double-click time acts again.
    void doubleClickActsOnce_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("landsOn");
        QTest::addColumn<QString>("landsOnControl");
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QStringList>("screens");
        QTest::newRow("Form2 点击此处, on itself")
            << int(Screen::Form2) << "Image2" << int(Screen::Form2) << "Image2"
            << QStringList{links::ReleaseThreadPage} << QStringList{"Form2"};
        QTest::newRow("Form5 返回, on the menu's 12-character picture")
            << int(Screen::Form5) << "Label9" << int(Screen::Main) << "Image2" << QStringList{}
            << QStringList{"Main"};
        QTest::newRow("Main 12-character picture, on Form5's 查看方法")
            << int(Screen::Main) << "Image2" << int(Screen::Form5) << "Command2" << QStringList{}
            << QStringList{"Form5"};
        QTest::newRow("Main 关于, on the About picture")
            << int(Screen::Main) << "Image6" << int(Screen::Form1) << "Image1" << QStringList{}
            << QStringList{"Main", "Form1"};
    }

    void doubleClickActsOnce() {
        QFETCH(int, screen);
        QFETCH(QString, control);
        QFETCH(int, landsOn);
        QFETCH(QString, landsOnControl);
        QFETCH(QStringList, pages);
        QFETCH(QStringList, screens);
        QWidget* first = OpenScreen(Screen(screen));
        QVERIFY(QTest::qWaitForWindowExposed(first));
        QWidget* clicked = first->findChild<QWidget*>(control);
        QVERIFY(clicked);
        const QPoint pointer = clicked->mapToGlobal(clicked->rect().center());

        // A left click on `target` at the pointer's place on the screen, at `time` ms.
        auto click = [&](QWidget* target, int time) {
            QWindow* window = target->window()->windowHandle();
            const QPointF local = target->mapTo(target->window(), QPointF(target->rect().center()));
            qt_handleMouseEvent(window, local, pointer, Qt::LeftButton, Qt::LeftButton,
                                QEvent::MouseButtonPress, Qt::NoModifier, time);
            qt_handleMouseEvent(window, local, pointer, Qt::NoButton, Qt::LeftButton,
                                QEvent::MouseButtonRelease, Qt::NoModifier, time + 20);
        };
        const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        const int start = QTest::lastMouseTimestamp + 10 * interval;
        QTest::lastMouseTimestamp = start + 10 * interval;

        click(clicked, start);
        QWidget* second = FindScreen(Screen(landsOn));
        QVERIFY(second);
        QWidget* landing = second->findChild<QWidget*>(landsOnControl);
        QVERIFY(landing);
        click(landing, start + interval / 2);
        LetEventsRun();
        QCOMPARE(m_web->opened(), pages);
        QCOMPARE(OpenScreenNames(), screens);

        click(landing, start + 3 * interval);
        LetEventsRun();
        QVERIFY(m_web->opened() != pages || OpenScreenNames() != screens);
        QVERIFY(m_dialogs->shown().empty());
    }

    void picturesWithoutActionOpenNothing_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("control");
        QTest::newRow("Main Image1 title") << int(Screen::Main) << "Image1";
        QTest::newRow("Form2 Image1 notes") << int(Screen::Form2) << "Image1";
        QTest::newRow("Form4 Label1") << int(Screen::Form4) << "Label1";
        QTest::newRow("Form4 Image1") << int(Screen::Form4) << "Image1";
        QTest::newRow("Form4 Image2") << int(Screen::Form4) << "Image2";
        QTest::newRow("Form4 Image3") << int(Screen::Form4) << "Image3";
        QTest::newRow("Form4 Image4") << int(Screen::Form4) << "Image4";
    }

    void picturesWithoutActionOpenNothing() {
        QFETCH(int, screen);
        QFETCH(QString, control);
        QWidget* opened = OpenScreen(Screen(screen));
        QVERIFY(QTest::qWaitForWindowExposed(opened));
        QWidget* inert = opened->findChild<QWidget*>(control);
        QVERIFY(inert);
        Click(inert);
        QTest::mouseDClick(inert, Qt::LeftButton);
        LetEventsRun();
        QCOMPARE(m_web->opened(), QStringList());
        QVERIFY(m_dialogs->shown().empty());
        QCOMPARE(OpenScreenNames(), QStringList{QString::fromLatin1(AllScreens[std::size_t(screen)].second)});
    }

    void pointerShowsWhatReactsToAClick_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("hand");
        QTest::newRow("Main Image1") << int(Screen::Main) << "Image1" << false;
        QTest::newRow("Main Image2") << int(Screen::Main) << "Image2" << true;
        QTest::newRow("Main Image3") << int(Screen::Main) << "Image3" << true;
        QTest::newRow("Main Image4") << int(Screen::Main) << "Image4" << true;
        QTest::newRow("Main Image5, clickable with the normal pointer")
            << int(Screen::Main) << "Image5" << false;
        QTest::newRow("Main Image6") << int(Screen::Main) << "Image6" << true;
        QTest::newRow("Main Image7") << int(Screen::Main) << "Image7" << true;
        QTest::newRow("Form1 Image1") << int(Screen::Form1) << "Image1" << true;
        QTest::newRow("Form2 Image1") << int(Screen::Form2) << "Image1" << false;
        QTest::newRow("Form2 Image2") << int(Screen::Form2) << "Image2" << true;
        QTest::newRow("Form4 Label1") << int(Screen::Form4) << "Label1" << false;
        QTest::newRow("Form4 Image1") << int(Screen::Form4) << "Image1" << false;
        QTest::newRow("Form4 Image2") << int(Screen::Form4) << "Image2" << false;
        QTest::newRow("Form4 Image3") << int(Screen::Form4) << "Image3" << false;
        QTest::newRow("Form4 Image4") << int(Screen::Form4) << "Image4" << false;
    }

    void pointerShowsWhatReactsToAClick() {
        QFETCH(int, screen);
        QFETCH(QString, control);
        QFETCH(bool, hand);
        QWidget* opened = OpenScreen(Screen(screen));
        QWidget* widget = opened->findChild<QWidget*>(control);
        QVERIFY(widget);
        QCOMPARE(widget->cursor().shape(), hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
        // The screen itself keeps the normal pointer, so nothing inherits a hand.
        QCOMPARE(opened->cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(LinksTest)
#include "test_links.moc"
