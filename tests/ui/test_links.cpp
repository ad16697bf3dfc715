// The pictures that lead to web pages: one address per click, nothing else changed; the
// pictures that lead nowhere open nothing; the pointer tells the two apart.
#include "shell_helpers.hpp"

#include "ui/dialogs.hpp"
#include "ui/links.hpp"
#include "ui/web.hpp"

#include <QtTest>

using namespace quenlio;
using namespace quenlio::shelltest;

class LinksTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { CloseAllScreens(); }

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
        web::Hook web;
        dialogs::Hook dialogs;
        QWidget* opened = OpenScreen(Screen(screen));
        QVERIFY(QTest::qWaitForWindowExposed(opened));
        const QStringList before = OpenScreenNames();
        QWidget* link = opened->findChild<QWidget*>(control);
        QVERIFY(link);

        Click(link);
        Settle();
        QCOMPARE(web.opened(), QStringList{address});
        Click(link);
        Settle();
        QCOMPARE(web.opened(), (QStringList{address, address}));

        QCOMPARE(OpenScreenNames(), before);
        QCOMPARE(FindScreen(Screen(screen)), opened);
        QVERIFY(link->isVisible());
        QVERIFY(link->isEnabled());
        QVERIFY(dialogs.shown().empty());
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
        web::Hook web;
        dialogs::Hook dialogs;
        QWidget* opened = OpenScreen(Screen(screen));
        QVERIFY(QTest::qWaitForWindowExposed(opened));
        QWidget* inert = opened->findChild<QWidget*>(control);
        QVERIFY(inert);
        Click(inert);
        QTest::mouseDClick(inert, Qt::LeftButton);
        Settle();
        QCOMPARE(web.opened(), QStringList());
        QVERIFY(dialogs.shown().empty());
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
