// The 11-character screen driven by key and mouse events in a real X server.
#include "ui/dialogs.hpp"
#include "ui/form3.hpp"
#include "ui/screens.hpp"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace quenlio;

namespace {
const QString kMessage = QStringLiteral("序列号有误，请核对后重新输入！");
const char* const kResults[] = {"Text3", "Text4", "Text5", "Text6", "Text7", "Text8"};
} // namespace

class TestForm3 : public QObject {
    Q_OBJECT

    QPointer<QWidget> m_form;

    QLineEdit* box(const char* name) { return m_form->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QPushButton* command1() { return m_form->findChild<QPushButton*>(QStringLiteral("Command1")); }
    QStringList results() {
        QStringList texts;
        for (const char* name : kResults)
            texts << box(name)->text();
        return texts;
    }

    // Replaces the box's text the way a user would: click, select all, type.
    void retype(QLineEdit* target, const QString& text) {
        QTest::mouseClick(target, Qt::LeftButton);
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(target, text);
    }

    void query(const QString& serial, const QString& part) {
        retype(box("Text1"), serial);
        QVERIFY(box("Text2")->hasFocus());
        retype(box("Text2"), part);
        QTest::mouseClick(command1(), Qt::LeftButton);
    }

    // Step 3 of the serial rules after a rejected serial: empty and focused, all else shut.
    void verifyRejected() {
        QCOMPARE(box("Text1")->text(), QString());
        QTRY_VERIFY(box("Text1")->hasFocus());
        QVERIFY(!box("Text2")->isEnabled());
        QVERIFY(box("Text2")->isReadOnly());
        QVERIFY(!command1()->isEnabled());
        for (const char* name : kResults)
            QVERIFY2(!box(name)->isEnabled() && box(name)->isReadOnly(), name);
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init() {
        m_form = OpenScreen(Screen::Form3);
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        QCOMPARE(m_form->size(), QSize(391, 363));
        QTRY_VERIFY(box("Text1")->hasFocus());
        QVERIFY(!box("Text2")->isEnabled() && !command1()->isEnabled());
    }

    void cleanup() {
        dialogs::Hook quiet; // a fault must not leave a real box waiting for nobody
        for (Screen screen : {Screen::Form3, Screen::Main})
            if (QWidget* open = FindScreen(screen))
                open->close();
        QTRY_VERIFY(!m_form && !FindScreen(Screen::Main));
    }

    void upperCaseWithCaretAtEnd_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("insertAtStart");
        QTest::addColumn<QString>("expected");
        QTest::newRow("serial") << "ab9"
                                << ""
                                << "AB9";
        QTest::newRow("serial, typed at the start") << "88923"
                                                    << "x"
                                                    << "X88923";
        QTest::newRow("part number") << "88923abc8m9"
                                     << ""
                                     << "MD128J";
    }
    void upperCaseWithCaretAtEnd() {
        QFETCH(QString, serial);
        QFETCH(QString, insertAtStart);
        QFETCH(QString, expected);
        dialogs::Hook hook;
        QLineEdit* text1 = box("Text1");
        QTest::keyClicks(text1, serial);
        if (!insertAtStart.isEmpty()) {
            QTest::keyClick(text1, Qt::Key_Home);
            QTest::keyClicks(text1, insertAtStart);
        }
        QLineEdit* target = text1;
        if (serial.size() == 11) {
            QCOMPARE(text1->text(), QStringLiteral("88923ABC8M9"));
            target = box("Text2");
            QTest::keyClicks(target, QStringLiteral("md128j"));
        }
        QCOMPARE(target->text(), expected);
        QCOMPARE(target->cursorPosition(), expected.size());
        QVERIFY(hook.shown().empty());
    }

    void eleventhCharacter_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<bool>("rejected");
        QTest::newRow("valid") << "88923ABC8M9" << false;
        QTest::newRow("blank as week tens digit") << "889 5ABC8M9" << false;
        QTest::newRow("hyphen as week tens digit") << "889-5ABC8M9" << false;
        QTest::newRow("year digit 3") << "88323ABC8M9" << true;
        QTest::newRow("week tens digit 6") << "88963ABC8M9" << true;
        QTest::newRow("letter as week units digit") << "8892aABC8M9" << true;
    }
    void eleventhCharacter() {
        QFETCH(QString, serial);
        QFETCH(bool, rejected);
        dialogs::Hook hook;
        QTest::keyClicks(box("Text1"), serial);
        QCOMPARE(int(hook.shown().size()), rejected ? 1 : 0);
        if (rejected) {
            QCOMPARE(hook.shown()[0].text, kMessage);
            QCOMPARE(hook.shown()[0].title, QStringLiteral("错误"));
            QCOMPARE(hook.shown()[0].buttons, dialogs::Buttons::Ok);
            verifyRejected();
            return;
        }
        QVERIFY(box("Text2")->hasFocus());
        QVERIFY(box("Text2")->isEnabled() && !box("Text2")->isReadOnly());
        for (const char* name : kResults)
            QVERIFY2(box(name)->isEnabled() && box(name)->isReadOnly(), name);
        QVERIFY(!command1()->isEnabled());
    }

    // A control elsewhere on the screen takes the focus from a partial serial.
    void leavingPartialSerial_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<bool>("byTab");
        QTest::addColumn<bool>("rejected");
        QTest::newRow("4 chars, tab") << "88A2" << true << false;
        QTest::newRow("4 chars, click") << "8862" << false << false;
        QTest::newRow("5 chars, tab") << "88A23" << true << true;
        QTest::newRow("7 chars valid, click") << "88923AB" << false << false;
        QTest::newRow("10 chars, click") << "88963ABC8M" << false << true;
    }
    void leavingPartialSerial() {
        QFETCH(QString, serial);
        QFETCH(bool, byTab);
        QFETCH(bool, rejected);
        dialogs::Hook hook;
        auto* elsewhere = new QLineEdit(m_form);
        elsewhere->setGeometry(8, 334, 100, 22);
        elsewhere->show();
        // Next after the serial, ahead of "返回", which Tab reaches too.
        QWidget::setTabOrder(box("Text1"), elsewhere);
        QTest::keyClicks(box("Text1"), serial);
        if (byTab)
            QTest::keyClick(box("Text1"), Qt::Key_Tab);
        else
            QTest::mouseClick(elsewhere, Qt::LeftButton);
        QCOMPARE(int(hook.shown().size()), rejected ? 1 : 0);
        if (rejected)
            verifyRejected();
        else
            QVERIFY(elsewhere->hasFocus() && box("Text1")->text() == serial);
    }

    // Another window, or closing the screen, is not leaving the box: nothing is checked.
    void otherWindowDoesNotCheck() {
        dialogs::Hook hook;
        QTest::keyClicks(box("Text1"), QStringLiteral("88623AB"));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        QTRY_VERIFY(box("Text1")->hasFocus());
        QCOMPARE(box("Text1")->text(), QStringLiteral("88623AB"));
        m_form->close();
        QTRY_VERIFY(!m_form);
        QVERIFY(hook.shown().empty());
    }

    // The focus passes through the serial box and leaves it again while the message is up.
    void focusBouncesWhileMessageUp() {
        dialogs::Hook hook;
        hook.onShown = [this](const dialogs::Shown&) {
            box("Text1")->setFocus(Qt::MouseFocusReason);
            box("Text2")->setFocus(Qt::TabFocusReason);
        };
        QTest::keyClicks(box("Text1"), QStringLiteral("88963ABC8M9"));
        QCOMPARE(int(hook.shown().size()), 1);
        verifyRejected();
    }

    // Typed while another window is active, the serial moves the focus without focus events.
    void inactiveWindowStillChecks() {
        dialogs::Hook hook;
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTest::keyClicks(box("Text1"), QStringLiteral("88323ABC8M9"));
        QCOMPARE(int(hook.shown().size()), 1);
        QCOMPARE(m_form->focusWidget(), box("Text1"));
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        verifyRejected();
        QCOMPARE(int(hook.shown().size()), 1);
    }

    // The real message box, answered from a timer once it is up.
    void realMessageBoxOnce() {
        int boxes = 0;
        QString text;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++boxes;
                text = shown->text();
                shown->buttons().first()->click();
            }
        });
        closer.start(50);
        QTest::keyClicks(box("Text1"), QStringLiteral("8892AABC8M9"));
        QCOMPARE(boxes, 1);
        QCOMPARE(text, kMessage);
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        verifyRejected();
        QTest::qWait(300);
        QCOMPARE(boxes, 1);
        QVERIFY(box("Text1")->hasFocus());
    }

    void command1Gating() {
        dialogs::Hook hook;
        QLineEdit* text1 = box("Text1");
        QLineEdit* text2 = box("Text2");
        QTest::keyClicks(text1, QStringLiteral("88923ABC8M9"));
        QTest::keyClicks(text2, QStringLiteral("MC131"));
        QVERIFY(!command1()->isEnabled());
        QTest::keyClick(text2, Qt::Key_L);
        QVERIFY(command1()->isEnabled());
        QTest::mouseClick(text1, Qt::LeftButton);
        QTest::keyClick(text1, Qt::Key_Backspace);
        QVERIFY(!command1()->isEnabled() && !text2->isEnabled() && text2->isReadOnly());
        QCOMPARE(text2->text(), QStringLiteral("MC131L"));
        QVERIFY(!box("Text3")->isEnabled());
        QTest::keyClick(text1, Qt::Key_9);
        QVERIFY(text2->hasFocus() && command1()->isEnabled());
        QVERIFY(hook.shown().empty());
    }

    void decodes_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("part");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("3GS, US") << "88923ABC8M9"
                                 << "MC131LL"
                                 << QStringList{
                                        "iPhone 3GS 32GB 黑色", "2009年第23周", "美国", "AT&T", "中国", "否"};
        QTest::newRow("6-char J, replacement 5K")
            << "5K005XYZVR0"
            << "MA501J" << QStringList{"iPhone 4GB", "2010年第05周", "日本", "-", "中国", "是"};
        QTest::newRow("7-char with J sixth")
            << "61815ABCA4S"
            << "MC603JA" << QStringList{"iPhone 4 16GB 黑色", "2008年第15周", "", "-", "", "是"};
        QTest::newRow("EOO no model, lower case")
            << "95712abceoo"
            << "mc555ch" << QStringList{"", "2007年第12周", "中国", "-", "", "是"};
        QTest::newRow("6-char B") << "12123ABCWH8"
                                  << "MB048B"
                                  << QStringList{"iPhone 8GB", "2011年第23周", "英国", "-", "中国", "否"};
    }
    void decodes() {
        QFETCH(QString, serial);
        QFETCH(QString, part);
        QFETCH(QStringList, expected);
        dialogs::Hook hook;
        query(serial, part);
        QCOMPARE(results(), expected);
        QVERIFY(hook.shown().empty());
    }

    // Fields without a match keep what an earlier query showed, and the factory rule sees it.
    void keepsEarlierResults() {
        dialogs::Hook hook;
        query(QStringLiteral("88923ABCEOO"), QStringLiteral("MC131XX"));
        QCOMPARE(results(), (QStringList{"", "2009年第23周", "", "-", "", "否"}));
        query(QStringLiteral("88923ABC3NP"), QStringLiteral("MC131XX"));
        QCOMPARE(results(), (QStringList{"iPhone 3GS 16GB 黑色", "2009年第23周", "", "-", "", "否"}));
        query(QStringLiteral("61005ABCEOO"), QStringLiteral("MC131LL"));
        QCOMPARE(results(),
                 (QStringList{"iPhone 3GS 16GB 黑色", "2010年第05周", "美国", "AT&T", "中国", "是"}));
        query(QStringLiteral("88923ABCEOO"), QStringLiteral("MC131ZZ"));
        QCOMPARE(results(), (QStringList{"iPhone 3GS 16GB 黑色", "2009年第23周", "美国", "-", "中国", "否"}));
    }

    void backOpensMenu() {
        auto* back = m_form->findChild<QLabel*>(QStringLiteral("Label11"));
        QCOMPARE(back->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(back, Qt::LeftButton);
        QTRY_VERIFY(!m_form);
        QVERIFY(FindScreen(Screen::Main) && FindScreen(Screen::Main)->isVisible());
    }
};

QTEST_MAIN(TestForm3)
#include "test_form3.moc"
