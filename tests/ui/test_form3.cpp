// The 11-character screen driven by key and mouse events in a real X server.
#include "support/screen_support.hpp"
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

#include <memory>

using namespace quenlio;
using namespace quenlio::test_support;

namespace {
const QString kMessage = QStringLiteral("序列号有误，请核对后重新输入！");
} // namespace

class TestForm3 : public QObject {
    Q_OBJECT

    QPointer<Form3> m_form;
    // Answers every box, as on the 12-character screen's tests; a test of the real box drops it.
    std::unique_ptr<dialogs::Hook> m_dialogs;

    Form3* form() { return m_form.data(); }
    QList<QLineEdit*> resultBoxes() {
        return {form()->Text3, form()->Text4, form()->Text5, form()->Text6, form()->Text7, form()->Text8};
    }
    QStringList results() {
        QStringList texts;
        for (QLineEdit* box : resultBoxes())
            texts << box->text();
        return texts;
    }

    // Replaces the box's text the way a user would: click, select all, type.
    void retype(QLineEdit* target, const QString& text) {
        QTest::mouseClick(target, Qt::LeftButton);
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(target, text);
    }

    void query(const QString& serial, const QString& part) {
        retype(form()->Text1, serial);
        QVERIFY(form()->Text2->hasFocus());
        retype(form()->Text2, part);
        QTest::mouseClick(form()->Command1, Qt::LeftButton);
    }

    // Step 3 of the serial rules after a rejected serial: empty and focused, all else shut.
    void verifyRejected() {
        QCOMPARE(form()->Text1->text(), QString());
        QTRY_VERIFY(form()->Text1->hasFocus());
        QVERIFY(!form()->Text2->isEnabled());
        QVERIFY(form()->Text2->isReadOnly());
        QVERIFY(!form()->Command1->isEnabled());
        for (QLineEdit* box : resultBoxes())
            QVERIFY2(!box->isEnabled() && box->isReadOnly(), qPrintable(box->objectName()));
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init() {
        m_dialogs = std::make_unique<dialogs::Hook>();
        m_form = qobject_cast<Form3*>(OpenScreen(Screen::Form3));
        QVERIFY(m_form);
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        QCOMPARE(m_form->size(), QSize(391, 363));
        QTRY_VERIFY(form()->Text1->hasFocus());
        QVERIFY(!form()->Text2->isEnabled() && !form()->Command1->isEnabled());
    }

    void cleanup() {
        if (!m_dialogs) // a fault must not leave a real box waiting for nobody
            m_dialogs = std::make_unique<dialogs::Hook>();
        for (Screen screen : {Screen::Form3, Screen::Main})
            if (QWidget* open = FindScreen(screen))
                open->close();
        QTRY_VERIFY(!m_form && !FindScreen(Screen::Main));
        m_dialogs.reset();
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
        QLineEdit* text1 = form()->Text1;
        QTest::keyClicks(text1, serial);
        if (!insertAtStart.isEmpty()) {
            QTest::keyClick(text1, Qt::Key_Home);
            QTest::keyClicks(text1, insertAtStart);
        }
        QLineEdit* target = text1;
        if (serial.size() == 11) {
            QCOMPARE(text1->text(), QStringLiteral("88923ABC8M9"));
            target = form()->Text2;
            QTest::keyClicks(target, QStringLiteral("md128j"));
        }
        QCOMPARE(target->text(), expected);
        QCOMPARE(target->cursorPosition(), expected.size());
        QVERIFY(m_dialogs->shown().empty());
    }

    // The limits count characters: a character of two UTF-16 units fits in the last free place
    // whole and is dropped whole where it does not fit.
    void limitsCountCharacters_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("shown");
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("typed as 11th") << "88923ABC8M" << false << emoji << "88923ABC8M" + emoji;
        QTest::newRow("pasted as 11th and 12th")
            << "88923ABC8M" << true << emoji + emoji << "88923ABC8M" + emoji;
        QTest::newRow("typed as 12th") << "88923ABC8M9" << false << emoji << "88923ABC8M9";
        QTest::newRow("pasted as 12th") << "88923ABC8M9" << true << emoji << "88923ABC8M9";
    }
    void limitsCountCharacters() {
        QFETCH(QString, serial);
        QFETCH(bool, paste);
        QFETCH(QString, added);
        QFETCH(QString, shown);
        QTest::keyClicks(form()->Text1, serial);
        QTest::mouseClick(form()->Text1, Qt::LeftButton);
        QTest::keyClick(form()->Text1, Qt::Key_End);
        if (paste)
            PasteText(form(), added, false);
        else
            TypeText(form(), added);
        QCOMPARE(form()->Text1->text(), shown);
        QVERIFY(form()->Text2->isEnabled());
        // A refused key or paste is no change: the focus stays in the serial box.
        QCOMPARE(form()->Text2->hasFocus(), shown != serial);
        QVERIFY(m_dialogs->shown().empty());
        // The part number's 7 count characters too.
        const QString extensionB = QString::fromUtf8("\xF0\xA0\x80\x80");
        form()->Text2->setFocus();
        QTest::keyClicks(form()->Text2, QStringLiteral("mc131l"));
        PasteText(form(), extensionB + extensionB, false);
        QCOMPARE(form()->Text2->text(), "MC131L" + extensionB);
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
        QTest::keyClicks(form()->Text1, serial);
        QCOMPARE(int(m_dialogs->shown().size()), rejected ? 1 : 0);
        if (rejected) {
            QCOMPARE(m_dialogs->shown()[0].text, kMessage);
            QCOMPARE(m_dialogs->shown()[0].title, QStringLiteral("错误"));
            QCOMPARE(m_dialogs->shown()[0].buttons, dialogs::Buttons::Ok);
            verifyRejected();
            return;
        }
        QVERIFY(form()->Text2->hasFocus());
        QVERIFY(form()->Text2->isEnabled() && !form()->Text2->isReadOnly());
        // Made writable, the part-number box still takes keys, not an input method's compositions.
        for (QLineEdit* code : {form()->Text1, form()->Text2})
            QVERIFY2(!code->testAttribute(Qt::WA_InputMethodEnabled), qPrintable(code->objectName()));
        for (QLineEdit* box : resultBoxes())
            QVERIFY2(box->isEnabled() && box->isReadOnly(), qPrintable(box->objectName()));
        QVERIFY(!form()->Command1->isEnabled());
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
        auto* elsewhere = new QLineEdit(m_form);
        elsewhere->setGeometry(8, 334, 100, 22);
        elsewhere->show();
        // Next after the serial, ahead of "返回", which Tab reaches too.
        QWidget::setTabOrder(form()->Text1, elsewhere);
        QTest::keyClicks(form()->Text1, serial);
        if (byTab)
            QTest::keyClick(form()->Text1, Qt::Key_Tab);
        else
            QTest::mouseClick(elsewhere, Qt::LeftButton);
        QCOMPARE(int(m_dialogs->shown().size()), rejected ? 1 : 0);
        if (rejected)
            verifyRejected();
        else
            QVERIFY(elsewhere->hasFocus() && form()->Text1->text() == serial);
    }

    // Another window, or closing the screen, is not leaving the box: nothing is checked.
    void otherWindowDoesNotCheck() {
        QTest::keyClicks(form()->Text1, QStringLiteral("88623AB"));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        QTRY_VERIFY(form()->Text1->hasFocus());
        QCOMPARE(form()->Text1->text(), QStringLiteral("88623AB"));
        m_form->close();
        QTRY_VERIFY(!m_form);
        QVERIFY(m_dialogs->shown().empty());
    }

    // The focus passes through the serial box and leaves it again while the message is up.
    void focusBouncesWhileMessageUp() {
        m_dialogs->onShown = [this](const dialogs::Shown&) {
            form()->Text1->setFocus(Qt::MouseFocusReason);
            form()->Text2->setFocus(Qt::TabFocusReason);
        };
        QTest::keyClicks(form()->Text1, QStringLiteral("88963ABC8M9"));
        QCOMPARE(int(m_dialogs->shown().size()), 1);
        verifyRejected();
    }

    // Typed while another window is active, the serial moves the focus without focus events.
    void inactiveWindowStillChecks() {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTest::keyClicks(form()->Text1, QStringLiteral("88323ABC8M9"));
        QCOMPARE(int(m_dialogs->shown().size()), 1);
        QCOMPARE(m_form->focusWidget(), form()->Text1);
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        verifyRejected();
        QCOMPARE(int(m_dialogs->shown().size()), 1);
    }

    // The real message box, answered from a timer once it is up.
    void realMessageBoxOnce() {
        m_dialogs.reset();
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
        QTest::keyClicks(form()->Text1, QStringLiteral("8892AABC8M9"));
        QCOMPARE(boxes, 1);
        QCOMPARE(text, kMessage);
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        verifyRejected();
        QTest::qWait(300);
        QCOMPARE(boxes, 1);
        QVERIFY(form()->Text1->hasFocus());
    }

    void command1Gating() {
        QLineEdit* text1 = form()->Text1;
        QLineEdit* text2 = form()->Text2;
        QTest::keyClicks(text1, QStringLiteral("88923ABC8M9"));
        QTest::keyClicks(text2, QStringLiteral("MC131"));
        QVERIFY(!form()->Command1->isEnabled());
        QTest::keyClick(text2, Qt::Key_L);
        QVERIFY(form()->Command1->isEnabled());
        QTest::mouseClick(text1, Qt::LeftButton);
        QTest::keyClick(text1, Qt::Key_Backspace);
        QVERIFY(!form()->Command1->isEnabled() && !text2->isEnabled() && text2->isReadOnly());
        QCOMPARE(text2->text(), QStringLiteral("MC131L"));
        QVERIFY(!form()->Text3->isEnabled());
        QTest::keyClick(text1, Qt::Key_9);
        QVERIFY(text2->hasFocus() && form()->Command1->isEnabled());
        QVERIFY(m_dialogs->shown().empty());
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
        query(serial, part);
        QCOMPARE(results(), expected);
        QVERIFY(m_dialogs->shown().empty());
    }

    // Fields without a match keep what an earlier query showed, and the factory rule sees it.
    void keepsEarlierResults() {
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
        QLabel* back = form()->Label11;
        QCOMPARE(back->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(back, Qt::LeftButton);
        QTRY_VERIFY(!m_form);
        QVERIFY(FindScreen(Screen::Main) && FindScreen(Screen::Main)->isVisible());
    }
};

QTEST_MAIN(TestForm3)
#include "test_form3.moc"
