// The 12-character screen driven from the keyboard in a real X server: input rules,
// the half-year check, the query and the layout.
#include "support/form5_support.hpp"
#include "support/screen_support.hpp"
#include "ui/accessibility.hpp"
#include "ui/dialogs.hpp"
#include "ui/picture.hpp"
#include "ui/screens.hpp"

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace quenlio;
using namespace quenlio::test_support;

namespace {

QColor TextColour(const QLineEdit* box) {
    return box->palette().color(QPalette::Active, QPalette::Text);
}

// Which of the four photos are visible, as "1", "3", "4", "5" or "" for none.
QString VisiblePhotos(const Form5& form) {
    QString shown;
    if (form.Image1->isVisible())
        shown += '1';
    if (form.Image3->isVisible())
        shown += '3';
    if (form.Image4->isVisible())
        shown += '4';
    if (form.Image5->isVisible())
        shown += '5';
    return shown;
}

} // namespace

class TestForm5 : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Form5> m_form;
    std::unique_ptr<dialogs::Hook> m_dialogs;

    Form5& form() { return *m_form; }

    void Query(const QString& serial, const QString& partNumber) {
        test_support::Query(form(), serial, partNumber);
    }

private slots:
    // Before any screen exists, as the program does it.
    void initTestCase() { InstallAccessibility(); }

    void init() {
        m_dialogs = std::make_unique<dialogs::Hook>();
        m_form = std::make_unique<Form5>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    void cleanup() {
        m_form.reset();
        m_dialogs.reset();
    }

    void opensInItsDesignedState() {
        QCOMPARE(form().windowTitle(), QStringLiteral("Quenlio ByMorlane"));
        QCOMPARE(form().size(), QSize(466, 492));
        QCOMPARE(form().minimumSize(), form().maximumSize());
        QCOMPARE(QApplication::focusWidget(), form().Text1);
        // Enabled: the serial, the replacement flag box, the help and scan buttons and the back
        // link only.
        for (QWidget* control : form().findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(control) || qobject_cast<QPushButton*>(control)) {
                const bool usable =
                    control == form().Text1 || control == form().Text9 || control == form().Command2 ||
                    control == form().Scan;
                QVERIFY2(control->isEnabled() == usable, qPrintable(control->objectName()));
            }
        }
        for (QLineEdit* result :
             {form().Text3, form().Text4, form().Text5, form().Text6, form().Text7, form().Text11})
            QVERIFY2(result->isReadOnly(), qPrintable(result->objectName()));
        QVERIFY(!form().Text9->isReadOnly());
        QVERIFY(!form().Text8->isReadOnly());
        QCOMPARE(VisiblePhotos(form()), QString());
        QVERIFY(form().Image2->isVisible());
        QCOMPARE(form().Image2->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(form().Label9->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(form().Command7->parentWidget(), &form());
        // Codes are typed as keys, never composed by an input method (a scanner's keys too).
        for (QLineEdit* code : {form().Text1, form().Text2})
            QVERIFY2(!code->testAttribute(Qt::WA_InputMethodEnabled), qPrintable(code->objectName()));
    }

    void controlsCarryNamesAndCaptions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Frame1") << "Frame1"
                                << "信息输入";
        QTest::newRow("Frame2") << "Frame2"
                                << "查询结果";
        QTest::newRow("Frame3") << "Frame3"
                                << "激活时间查询";
        QTest::newRow("Text1") << "Text1"
                               << "序列号(12位)";
        QTest::newRow("Text2") << "Text2"
                               << "型号";
        QTest::newRow("Text3") << "Text3"
                               << "设备型号";
        QTest::newRow("Text4") << "Text4"
                               << "出厂时间";
        QTest::newRow("Text5") << "Text5"
                               << "销售地";
        QTest::newRow("Text6") << "Text6"
                               << "运营商";
        QTest::newRow("Text7") << "Text7"
                               << "产地";
        QTest::newRow("Text9") << "Text9"
                               << "是否售后换机";
        QTest::newRow("Text8") << "Text8"
                               << "保修截止";
        QTest::newRow("Text11") << "Text11"
                                << "激活时间";
        QTest::newRow("Command1") << "Command1"
                                  << "查询";
        QTest::newRow("Command2") << "Command2"
                                  << "查看方法";
        QTest::newRow("Command3") << "Command3"
                                  << "保修查询";
        QTest::newRow("Command6") << "Command6"
                                  << "激活查询";
        QTest::newRow("Command7") << "Command7"
                                  << "是否翻新";
        QTest::newRow("Label9") << "Label9"
                                << "返回";
        QTest::newRow("Image1") << "Image1"
                                << "黑色 iPhone 5 正面照片";
        QTest::newRow("Image3") << "Image3"
                                << "白色 iPhone 5 正面照片";
        QTest::newRow("Image4") << "Image4"
                                << "黑色 iPhone 4/4S 正面照片";
        QTest::newRow("Image5") << "Image5"
                                << "白色 iPhone 4/4S 正面照片";
    }
    void controlsCarryNamesAndCaptions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        auto* control = form().findChild<QWidget*>(name);
        QVERIFY(control);
        if (auto* frame = qobject_cast<QGroupBox*>(control))
            QCOMPARE(frame->title(), caption);
        else
            QCOMPARE(control->accessibleName(), caption);
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            QCOMPARE(button->text(), caption);
        if (auto* label = qobject_cast<QLabel*>(control))
            QCOMPARE(label->text(), caption);
    }

    // Every control lies inside its container, and no two of them overlap, except the
    // photos, which share one place, and the verdict button over its frame.
    void controlsDoNotOverlap() {
        const QList<QWidget*> containers{&form(), form().Frame1, form().Frame2, form().Frame3};
        for (QWidget* container : containers) {
            QList<QWidget*> children;
            for (QObject* child : container->children())
                if (auto* widget = qobject_cast<QWidget*>(child); widget && !widget->isWindow())
                    children << widget;
            for (QWidget* child : children)
                QVERIFY2(container->rect().contains(child->geometry()), qPrintable(child->objectName()));
            for (int i = 0; i < children.size(); ++i) {
                for (int j = i + 1; j < children.size(); ++j) {
                    QWidget* a = children[i];
                    QWidget* b = children[j];
                    const bool photos =
                        qobject_cast<Picture*>(a) && qobject_cast<Picture*>(b) && container == form().Frame2;
                    const bool verdictOverFrame = (a == form().Command7 && b == form().Frame3) ||
                                                  (b == form().Command7 && a == form().Frame3);
                    if (photos || verdictOverFrame)
                        continue;
                    QVERIFY2(!a->geometry().intersects(b->geometry()),
                             qPrintable(a->objectName() + " overlaps " + b->objectName()));
                }
            }
        }
        QVERIFY(form().Frame3->geometry().contains(form().Command7->geometry()));
    }

    // The longest texts the query can write fit their boxes in the screen's font.
    void resultBoxesFitTheLongestTexts_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("model") << "Text3"
                               << "iPhone 4S 16GB 白色(CDMA)";
        QTest::newRow("week") << "Text4"
                              << "2011年09月25日-10月01日";
        QTest::newRow("region") << "Text5"
                                << "中国(展示机不作销售)";
        QTest::newRow("carrier") << "Text6"
                                 << "Vodafone(仅供参考)";
        QTest::newRow("factory") << "Text7"
                                 << "中国-成都富士康";
        QTest::newRow("flag") << "Text9"
                              << "否(供参考)";
        QTest::newRow("serial") << "Text1"
                                << "WWWWWWWWWWWW";
        QTest::newRow("date") << "Text11"
                              << "2013-11-11";
    }
    void resultBoxesFitTheLongestTexts() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        auto* edit = form().findChild<QLineEdit*>(box);
        QVERIFY(edit);
        edit->setText(text);
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.rect = edit->rect();
        option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        const QRect inner = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
        QVERIFY2(edit->fontMetrics().horizontalAdvance(text) + 4 <= inner.width(),
                 qPrintable(QString("%1 needs %2 px, has %3")
                                .arg(text)
                                .arg(edit->fontMetrics().horizontalAdvance(text))
                                .arg(inner.width())));
    }

    void serialIsNormalisedWithCaretAtEnd_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("lower case") << "dnph7"
                                    << "DNPH7";
        QTest::newRow("letter o") << "oOo"
                                  << "000";
        QTest::newRow("mixed") << "f1gjo9xz"
                               << "F1GJ09XZ";
        QTest::newRow("eleven") << "dnph7abcdtd"
                                << "DNPH7ABCDTD";
    }
    void serialIsNormalisedWithCaretAtEnd() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TypeAtFocus(typed);
        QCOMPARE(form().Text1->text(), shown);
        QCOMPARE(form().Text1->cursorPosition(), shown.size());
        QCOMPARE(QApplication::focusWidget(), form().Text1);
        QVERIFY(!form().Text2->isEnabled());
        QVERIFY(m_dialogs->shown().empty());
    }

    // A letter typed in the middle is normalised too, and the caret jumps to the end.
    void letterTypedInTheMiddleMovesCaretToEnd() {
        TypeAtFocus("ABCD");
        QTest::keyClick(form().Text1, Qt::Key_Home);
        QTest::keyClick(form().Text1, Qt::Key_Right);
        QTest::keyClick(form().Text1, 'o');
        QCOMPARE(form().Text1->text(), QStringLiteral("A0BCD"));
        QCOMPARE(form().Text1->cursorPosition(), 5);
    }

    // The limits count characters: a character outside the Basic Multilingual Plane (two
    // UTF-16 units) fits in the last free place whole, and one that does not fit is dropped
    // whole, never cut in half.
    void limitsCountCharacters_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("shown");
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        const QString extensionB = QString::fromUtf8("\xF0\xA0\x80\x80");
        QTest::newRow("emoji typed as 12th") << "DNPH7ABCDTD" << false << emoji << "DNPH7ABCDTD" + emoji;
        QTest::newRow("emoji pasted as 12th") << "DNPH7ABCDTD" << true << emoji << "DNPH7ABCDTD" + emoji;
        QTest::newRow("two pasted, one fits")
            << "DNPH7ABCDTD" << true << extensionB + emoji << "DNPH7ABCDTD" + extensionB;
        QTest::newRow("paste cut after 12") << "DNPH7ABC" << true << "dt" + emoji + "kxyz"
                                            << "DNPH7ABCDT" + emoji + "K";
        QTest::newRow("emoji typed as 13th") << "DNPH7ABCDTDK" << false << emoji << "DNPH7ABCDTDK";
        QTest::newRow("emoji pasted as 13th") << "DNPH7ABCDTDK" << true << emoji << "DNPH7ABCDTDK";
    }
    void limitsCountCharacters() {
        QFETCH(QString, serial);
        QFETCH(bool, paste);
        QFETCH(QString, added);
        QFETCH(QString, shown);
        TypeAtFocus(serial);
        // Back into a full serial box, at its end.
        Click(form().Text1);
        QTest::keyClick(form().Text1, Qt::Key_End);
        m_dialogs->clear();
        if (paste)
            PasteText(&form(), added, false);
        else
            TypeText(&form(), added);
        QCOMPARE(form().Text1->text(), shown);
        const bool complete = CharLength(shown) == 12;
        QCOMPARE(form().Text2->isEnabled(), complete);
        // A refused key or paste changes nothing: the focus stays, no check runs again.
        QCOMPARE(QApplication::focusWidget(),
                 complete && shown != serial ? static_cast<QWidget*>(form().Text2) : form().Text1);
        QVERIFY(m_dialogs->shown().empty());
    }

    // The part number's limit of 7 counts characters too.
    void partNumberLimitCountsCharacters_data() {
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("shown");
        const QString extensionB = QString::fromUtf8("\xF0\xA0\x80\x80");
        QTest::newRow("typed as 7th") << false << extensionB << "MD239C" + extensionB;
        QTest::newRow("pasted as 7th and 8th") << true << extensionB + extensionB << "MD239C" + extensionB;
    }
    void partNumberLimitCountsCharacters() {
        QFETCH(bool, paste);
        QFETCH(QString, added);
        QFETCH(QString, shown);
        TypeAtFocus("DNPH7ABC1234md239c");
        QCOMPARE(QApplication::focusWidget(), form().Text2);
        if (paste)
            PasteText(&form(), added, false);
        else
            TypeText(&form(), added);
        QCOMPARE(form().Text2->text(), shown);
        TypeText(&form(), QStringLiteral("X"));
        QCOMPARE(form().Text2->text(), shown);
        QVERIFY(form().Command1->isEnabled());
    }

    void twelfthCharacterMovesFocus_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("partNumber");
        QTest::newRow("DTDK") << "DNPH7ABCDTDK"
                              << "MD269LL";
        QTest::newRow("dtdk lower case") << "dnph7abcdtdk"
                                         << "MD269LL";
        QTest::newRow("DTF9") << "F1XK1ABCDTF9"
                              << "MD276LL";
        QTest::newRow("DTDR") << "C7GJYABCDTDR"
                              << "MD271LL";
        QTest::newRow("no model code") << "DNPH7ABC1234"
                                       << "";
        QTest::newRow("O in the model code") << "DNPH7ABCDTFO"
                                             << "";
    }
    void twelfthCharacterMovesFocus() {
        QFETCH(QString, serial);
        QFETCH(QString, partNumber);
        TypeAtFocus(serial.left(11));
        QCOMPARE(QApplication::focusWidget(), form().Text1);
        QVERIFY(!form().Text2->isEnabled());
        TypeAtFocus(serial.right(1));
        QCOMPARE(QApplication::focusWidget(), form().Text2);
        QVERIFY(form().Text2->isEnabled());
        QCOMPARE(form().Text2->text(), partNumber);
        QCOMPARE(form().Command1->isEnabled(), !partNumber.isEmpty());
        QVERIFY(!form().Command3->isEnabled());
        QVERIFY(m_dialogs->shown().empty());
        // Keys typed next go on into the part number.
        if (partNumber.isEmpty()) {
            TypeAtFocus("md239ch");
            QCOMPARE(form().Text2->text(), QStringLiteral("MD239CH"));
            QVERIFY(form().Command1->isEnabled());
        }
    }

    void rejectedHalfYearCode_data() {
        QTest::addColumn<QString>("serial");
        QTest::newRow("L") << "DNPL7ABC1234";
        QTest::newRow("A") << "DNPA7ABC1234";
        QTest::newRow("digit 0") << "DNP07ABC1234";
        QTest::newRow("letter o turned 0") << "dnpo7abc1234";
        QTest::newRow("with a model code") << "DNPL7ABCDTDK";
    }
    void rejectedHalfYearCode() {
        QFETCH(QString, serial);
        TypeAtFocus(serial);
        QCOMPARE(m_dialogs->shown().size(), std::size_t(1));
        const dialogs::Shown& box = m_dialogs->shown().front();
        QCOMPARE(box.text, QStringLiteral("请输入正确的序列号!"));
        QCOMPARE(box.title, QStringLiteral("序列号错误！"));
        QVERIFY(box.buttons == dialogs::Buttons::Ok);
        QCOMPARE(form().Text1->text(), QString());
        QCOMPARE(form().Text2->text(), QString());
        QVERIFY(!form().Text2->isEnabled());
        QVERIFY(!form().Command1->isEnabled());
        QVERIFY(!form().Command3->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), form().Text1);
        // Nothing comes back later: no second box, no focus wandering.
        QTest::qWait(200);
        QCOMPARE(m_dialogs->shown().size(), std::size_t(1));
        QCOMPARE(QApplication::focusWidget(), form().Text1);
    }

    // Overtyping the half-year code of a queried serial repeats the check; a bad code
    // closes every gate that the query had opened.
    void overtypedHalfYearCodeIsCheckedAgain_data() {
        QTest::addColumn<char>("code");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("good K") << 'k' << true;
        QTest::newRow("bad L") << 'l' << false;
    }
    void overtypedHalfYearCodeIsCheckedAgain() {
        QFETCH(char, code);
        QFETCH(bool, accepted);
        Query("DNPH7ABCDTDK", QString());
        QVERIFY(form().Command3->isEnabled());
        form().Text1->setFocus();
        QTest::keyClick(form().Text1, Qt::Key_Home);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(form().Text1, Qt::Key_Right);
        QTest::keyClick(form().Text1, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(form().Text1, code);
        if (accepted) {
            QCOMPARE(form().Text1->text(), QStringLiteral("DNPK7ABCDTDK"));
            QCOMPARE(QApplication::focusWidget(), form().Text2);
            QCOMPARE(form().Text2->text(), QStringLiteral("MD269LL"));
            QVERIFY(form().Command3->isEnabled());
            QVERIFY(m_dialogs->shown().empty());
        } else {
            QCOMPARE(m_dialogs->shown().size(), std::size_t(1));
            QCOMPARE(form().Text1->text(), QString());
            QVERIFY(!form().Text2->isEnabled());
            QVERIFY(!form().Command1->isEnabled());
            QVERIFY(!form().Command3->isEnabled());
            QTRY_COMPARE(QApplication::focusWidget(), form().Text1);
            // The last query's results stay.
            QCOMPARE(form().Text3->text(), QStringLiteral("iPhone 4S 64GB 黑色(GSM)"));
        }
    }

    // The real box: shown once, closed by "clicking" its OK button, then the window gets
    // the focus back from the window manager and the serial box keeps it. A screen reader's
    // press on "返回" while the box is up does nothing: it would close the screen under it.
    void rejectedHalfYearCodeWithRealMessageBox() {
        m_dialogs.reset();
        QAccessibleInterface* back = QAccessible::queryAccessibleInterface(form().Label9);
        QVERIFY(back && back->actionInterface());
        bool pressedUnderBox = false;
        int boxes = 0;
        QPointer<QWidget> lastBox;
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::Warning;
        QStringList buttons;
        QTimer closer;
        closer.setInterval(50);
        connect(&closer, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box == lastBox || !box->isVisible())
                return;
            lastBox = box;
            ++boxes;
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            back->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            pressedUnderBox = FindScreen(Screen::Main) != nullptr || !form().isVisible();
            box->buttons().front()->click();
        });
        closer.start();
        TypeAtFocus("DNPL7ABC1234");
        QVERIFY(!pressedUnderBox);
        QCOMPARE(boxes, 1);
        QCOMPARE(text, QStringLiteral("请输入正确的序列号!"));
        QCOMPARE(title, QStringLiteral("序列号错误！"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons, QStringList{QStringLiteral("确定")});
        QTRY_VERIFY(form().isActiveWindow());
        QTRY_COMPARE(QApplication::focusWidget(), form().Text1);
        QTest::qWait(300);
        QCOMPARE(boxes, 1);
        QCOMPARE(QApplication::focusWidget(), form().Text1);
        QCOMPARE(form().Text1->text(), QString());
        QVERIFY(!form().Text2->isEnabled());
        QVERIFY(!form().Command1->isEnabled());
        // The screen goes on working after the box, and the press works again.
        TypeAtFocus("DNPH7ABCDTDK");
        QCOMPARE(QApplication::focusWidget(), form().Text2);
        QCOMPARE(boxes, 1);
        back->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(FindScreen(Screen::Main));
        FindScreen(Screen::Main)->close();
        QVERIFY(!form().isVisible());
    }

    // While the box is up the window loses the focus and gets it back, in the part
    // number, from the window manager: that is no second check.
    void focusReturningWhileBoxIsUpShowsNoSecondBox() {
        QWidget other;
        other.resize(200, 100);
        bool bounced = false;
        m_dialogs->onShown = [&](const dialogs::Shown&) {
            if (bounced)
                return;
            bounced = true;
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            form().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
            QTRY_COMPARE(QApplication::focusWidget(), form().Text2);
        };
        TypeAtFocus("DNPL7ABC1234");
        QVERIFY(bounced);
        QCOMPARE(m_dialogs->shown().size(), std::size_t(1));
        QCOMPARE(form().Text1->text(), QString());
        QVERIFY(!form().Text2->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), form().Text1);
    }

    // Focus moved into the part number by any other means while the box is up does
    // not start a second check either.
    void focusMovedWhileBoxIsUpShowsNoSecondBox_data() {
        QTest::addColumn<int>("reason");
        QTest::newRow("mouse") << int(Qt::MouseFocusReason);
        QTest::newRow("tab") << int(Qt::TabFocusReason);
        QTest::newRow("other") << int(Qt::OtherFocusReason);
    }
    void focusMovedWhileBoxIsUpShowsNoSecondBox() {
        QFETCH(int, reason);
        int shownWhileUp = 0;
        m_dialogs->onShown = [&](const dialogs::Shown&) {
            if (++shownWhileUp > 1)
                return;
            form().Text1->setFocus(Qt::MouseFocusReason);
            form().Text2->setFocus(static_cast<Qt::FocusReason>(reason));
        };
        TypeAtFocus("DNPA7ABC1234");
        QCOMPARE(m_dialogs->shown().size(), std::size_t(1));
        QCOMPARE(form().Text1->text(), QString());
        QVERIFY(!form().Text2->isEnabled());
        QVERIFY(!form().Command1->isEnabled());
        QCOMPARE(QApplication::focusWidget(), form().Text1);
    }

    // A serial completed while the window is in the background is checked at once;
    // the focus that comes with the window later does not check it again.
    void serialCompletedInBackgroundIsCheckedOnce() {
        QWidget other;
        other.resize(200, 100);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        form().Text1->setText("DNPL7ABC1234");
        QCOMPARE(m_dialogs->shown().size(), std::size_t(1));
        QCOMPARE(form().Text1->text(), QString());
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        QTRY_COMPARE(QApplication::focusWidget(), form().Text1);
        QTest::qWait(100);
        QCOMPARE(m_dialogs->shown().size(), std::size_t(1));
    }

    void deletingACharacterClosesTheGatesAndKeepsResults() {
        Query("DNPH7ABCDTDK", QString());
        QCOMPARE(form().Text3->text(), QStringLiteral("iPhone 4S 64GB 黑色(GSM)"));
        QVERIFY(form().Command3->isEnabled());
        Click(form().Text1);
        QTest::keyClick(form().Text1, Qt::Key_End);
        QTest::keyClick(form().Text1, Qt::Key_Backspace);
        QCOMPARE(form().Text1->text(), QStringLiteral("DNPH7ABCDTD"));
        QCOMPARE(form().Text2->text(), QString());
        QVERIFY(!form().Text2->isEnabled());
        QVERIFY(!form().Command1->isEnabled());
        QVERIFY(!form().Command3->isEnabled());
        QCOMPARE(form().Text3->text(), QStringLiteral("iPhone 4S 64GB 黑色(GSM)"));
        QCOMPARE(form().Text5->text(), QStringLiteral("美国"));
        QCOMPARE(form().Text6->text(), QStringLiteral("AT&T"));
        QCOMPARE(form().Text7->text(), QStringLiteral("中国-成都富士康"));
        QVERIFY(form().Text3->isEnabled());
        QCOMPARE(VisiblePhotos(form()), QStringLiteral("4"));
    }

    void partNumberLengthGatesTheQuery_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("queryEnabled");
        QTest::newRow("5") << "md239"
                           << "MD239" << false;
        QTest::newRow("6") << "md128j"
                           << "MD128J" << true;
        QTest::newRow("7") << "md239ch"
                           << "MD239CH" << true;
        QTest::newRow("8 cut to 7") << "md239chx"
                                    << "MD239CH" << true;
    }
    void partNumberLengthGatesTheQuery() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, queryEnabled);
        TypeAtFocus("DNPH7ABC1234" + typed);
        QCOMPARE(form().Text2->text(), shown);
        QCOMPARE(form().Text2->cursorPosition(), shown.size());
        QCOMPARE(form().Command1->isEnabled(), queryEnabled);
    }

    // Shortening the part number below six characters takes the warranty button too;
    // lengthening it again gives back only the query button.
    void shorterPartNumberDisablesWarrantyButton() {
        Query("DNPH7ABC1234", "md239ch");
        QVERIFY(form().Command3->isEnabled());
        form().Text2->setFocus();
        QTest::keyClick(form().Text2, Qt::Key_Backspace);
        QVERIFY(form().Command1->isEnabled());
        QVERIFY(form().Command3->isEnabled());
        QTest::keyClick(form().Text2, Qt::Key_Backspace);
        QVERIFY(!form().Command1->isEnabled());
        QVERIFY(!form().Command3->isEnabled());
        QTest::keyClick(form().Text2, 'c');
        QVERIFY(form().Command1->isEnabled());
        QVERIFY(!form().Command3->isEnabled());
    }

    void queryShowsEveryField_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("partNumber");
        QTest::addColumn<QStringList>("fields"); // Text3, Text4, Text5, Text6, Text7, Text9
        QTest::addColumn<bool>("red");
        QTest::addColumn<QString>("photos");
        QTest::newRow("white 4S, Chengdu") << "DNPH7ABC1234"
                                           << "md239ch"
                                           << QStringList{"iPhone 4S 16GB 白色(GSM)",
                                                          "2012年02月12日-02月18日",
                                                          "中国",
                                                          "中国联通/移动",
                                                          "中国-成都富士康",
                                                          "否(供参考)"}
                                           << false << "5";
        QTest::newRow("black 5, replacement") << "C7GK1ABC1234"
                                              << "MD297CH" << QStringList{"iPhone 5 16GB 黑色(GSM)",
                                                                          "2013年01月01日-01月05日",
                                                                          "中国",
                                                                          "中国联通/移动",
                                                                          "中国-富士康",
                                                                          "是"}
                                              << true << "1";
        QTest::newRow("white 5, Zhengzhou")
            << "F1GGHABC1234"
            << "MD298CH" << QStringList{"iPhone 5 16GB 白色(GSM)", "2011年09月25日-10月01日", "中国",
                                        "中国联通/移动",           "中国-郑州富士康",         "否(供参考)"}
            << false << "3";
        QTest::newRow("black 4 8GB, lower-case replacement")
            << "c3kjyabc1234"
            << "md128ch" << QStringList{"iPhone 4 8GB 黑色(GSM)",
                                        "2012年12月30日-12月31日",
                                        "中国",
                                        "中国联通/移动",
                                        "中国-富士康",
                                        "是"}
            << true << "4";
        QTest::newRow("Hong Kong with its blank")
            << "DQGKYABC1234"
            << "MD235ZP"
            << QStringList{"iPhone 4S 16GB 黑色(GSM)", "2013年", "香港 ", "-", "中国-富士康", "是"} << true
            << "4";
        QTest::newRow("white 4 CDMA autofilled")
            << "DNPJ1ABCDTFC" << QString() << QStringList{"iPhone 4S 16GB 白色(CDMA)",
                                                          "2012年07月01日-07月07日",
                                                          "美国",
                                                          "Verizon",
                                                          "中国-成都富士康",
                                                          "否(供参考)"}
            << false << "5";
        QTest::newRow("unknown part number")
            << "F1PF2ABC1234"
            << "MD999CH"
            << QStringList{"", "2011年01月02日-01月08日", "", "", "中国-郑州富士康", "否(供参考)"} << false
            << "";
    }
    void queryShowsEveryField() {
        QFETCH(QString, serial);
        QFETCH(QString, partNumber);
        QFETCH(QStringList, fields);
        QFETCH(bool, red);
        QFETCH(QString, photos);
        Query(serial, partNumber);
        const QStringList shown{form().Text3->text(), form().Text4->text(), form().Text5->text(),
                                form().Text6->text(), form().Text7->text(), form().Text9->text()};
        QCOMPARE(shown, fields);
        QCOMPARE(TextColour(form().Text9), red ? QColor(255, 0, 0) : QColor(0, 0, 0));
        QCOMPARE(VisiblePhotos(form()), photos);
        for (QLineEdit* box :
             {form().Text3, form().Text4, form().Text5, form().Text6, form().Text7, form().Text8})
            QVERIFY2(box->isEnabled(), qPrintable(box->objectName()));
        QVERIFY(form().Command3->isEnabled());
        QVERIFY(!form().Text11->isEnabled());
        QVERIFY(m_dialogs->shown().empty());
    }

    // Pressing the query twice gives the same, and each query replaces the last one
    // completely: flag colour, photo, and what the user typed into the flag box.
    void queriesReplaceEachOther() {
        Query("C7GK1ABC1234", "MD297CH");
        const QStringList first{form().Text3->text(), form().Text4->text(), form().Text5->text(),
                                form().Text6->text(), form().Text7->text(), form().Text9->text()};
        Click(form().Command1);
        const QStringList again{form().Text3->text(), form().Text4->text(), form().Text5->text(),
                                form().Text6->text(), form().Text7->text(), form().Text9->text()};
        QCOMPARE(again, first);
        QCOMPARE(TextColour(form().Text9), QColor(255, 0, 0));
        QCOMPARE(VisiblePhotos(form()), QStringLiteral("1"));

        QTest::keyClicks(form().Text9, "x");
        Query("DNPH7ABC1234", "MD999CH");
        QCOMPARE(form().Text9->text(), QStringLiteral("否(供参考)"));
        QCOMPARE(TextColour(form().Text9), QColor(0, 0, 0));
        QCOMPARE(form().Text3->text(), QString());
        QCOMPARE(form().Text5->text(), QString());
        QCOMPARE(VisiblePhotos(form()), QString());

        Query("DQGH7ABC1234", "MD298CH");
        QCOMPARE(TextColour(form().Text9), QColor(255, 0, 0));
        QCOMPARE(VisiblePhotos(form()), QStringLiteral("3"));
        Query("DNPH7ABC1234", "MD239CH");
        QCOMPARE(TextColour(form().Text9), QColor(0, 0, 0));
        QCOMPARE(VisiblePhotos(form()), QStringLiteral("5"));
    }

    void backLinkOpensTheMenuAndCloses() {
        Click(form().Label9);
        QWidget* menu = FindScreen(Screen::Main);
        QVERIFY(menu);
        QVERIFY(menu->isVisible());
        QVERIFY(!form().isVisible());
        menu->close();
        QTRY_VERIFY(!FindScreen(Screen::Main));
    }

    void helpButtonOpensOneWhereToFindScreen() {
        Click(form().Command2);
        QWidget* help = FindScreen(Screen::Form4);
        QVERIFY(help);
        Click(form().Command2);
        QCOMPARE(FindScreen(Screen::Form4), help);
        QVERIFY(form().isVisible());
        help->close();
        QTRY_VERIFY(!FindScreen(Screen::Form4));
    }
};

QTEST_MAIN(TestForm5)
#include "test_form5.moc"
