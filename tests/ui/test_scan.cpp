// 扫描条码 on both query screens, with the label pictures tests/reader/draw_labels.sh draws (its
// folder in QUENLIO_LABELS): from the file dialog, the clipboard and a drop. The boxes are filled
// as if pasted over, and nothing is queried; a picture that gives nothing says so and changes
// nothing. The handset's 关于本机 screen, as tests/ocr/draw_about_screens.sh draws it (its folder in
// QUENLIO_SCREENS): read for text, checked, filled; and compared with a box label.
#include "core/about_screen.hpp"
#include "core/label.hpp"
#include "support/screen_support.hpp"
#include "ui/dialogs.hpp"
#include "ui/form3.hpp"
#include "ui/form5.hpp"

#include <QAccessible>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QPushButton>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <memory>

using namespace quenlio;
using namespace quenlio::test_support;

class TestScan : public QObject {
    Q_OBJECT

    std::unique_ptr<dialogs::Hook> m_dialogs;

    static QString Label(const char* name) { return qEnvironmentVariable("QUENLIO_LABELS") + "/" + name; }
    static QString About(const char* name) {
        return qEnvironmentVariable("QUENLIO_SCREENS") + "/" + name;
    }
    static QString Text(std::string_view text) {
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    // The picture from the file dialog, answered `answer` where it asks; what the box said last.
    dialogs::Shown Read(QPushButton* scan, const QString& picture,
                        dialogs::Answer answer = dialogs::Answer::Ok) {
        const std::size_t before = m_dialogs->shown().size();
        m_dialogs->QueuePicture(picture);
        m_dialogs->QueueAnswer(answer);
        Click(scan);
        [&] {
            QTRY_COMPARE_WITH_TIMEOUT(m_dialogs->shown().size(), before + 2, 60000);
        }();
        [&] {
            QTRY_VERIFY(!QApplication::overrideCursor());
        }();
        return m_dialogs->shown().back();
    }
    template <typename Screen> static Screen* Open(quenlio::Screen screen) {
        auto* form = static_cast<Screen*>(OpenScreen(screen));
        return QTest::qWaitForWindowActive(form) ? form : nullptr;
    }
    static void Drop(QWidget* target, const QString& file) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }
    // The label's 48-megapixel photo on the clipboard as another program puts it there: PNG bytes.
    static void CopyPhoto() {
        QFile photo(Label("photo.png"));
        auto* mime = new QMimeData;
        if (photo.open(QIODevice::ReadOnly))
            mime->setData(QStringLiteral("image/png"), photo.readAll());
        QApplication::clipboard()->setMimeData(mime);
    }

private slots:
    void init() { m_dialogs = std::make_unique<dialogs::Hook>(); }
    void cleanup() {
        CloseAllScreens();
        QThreadPool::globalInstance()->waitForDone();
        m_dialogs.reset();
    }

    void form5FromAFile() {
        Form5* form = Open<Form5>(Screen::Form5);
        QVERIFY(form);
        m_dialogs->QueuePicture(Label("label-turned.jpg"));
        Click(form->Scan);
        QTRY_COMPARE(form->Text1->text(), QStringLiteral("F1RJP3XYDTWF"));
        QCOMPARE(form->Text2->text(), QStringLiteral("MD297CH"));
        QCOMPARE(QApplication::focusWidget(), form->Text2);
        QVERIFY(form->Command1->isEnabled());
        QCOMPARE(form->Text3->text(), QString());
        QCOMPARE(m_dialogs->shown().size(), std::size_t{1}); // the file dialog alone
        const QString filter = m_dialogs->shown()[0].text;   // WebP where Qt reads it
        QVERIFY(filter.startsWith("图片 (*.jpg *.jpeg *.png ") && filter.endsWith(" *.bmp *.gif)"));
    }

    // A 48-megapixel photo pasted: the screen answers events while it is read but takes no key,
    // then both boxes are filled; dropped as a file, the same.
    void form5ABigPhotoPastedAndDropped() {
        Form5* form = Open<Form5>(Screen::Form5);
        QVERIFY(form);
        CopyPhoto();
        QTest::keyClick(form->Text1, Qt::Key_V, Qt::ControlModifier);
        bool answeredDuringReading = false;
        QTimer::singleShot(0, form, [&] { answeredDuringReading = form->Text1->text().isEmpty(); });
        QVERIFY(QApplication::overrideCursor());
        QTest::keyClick(form->Text1, Qt::Key_A);
        QCOMPARE(form->Text1->text(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(form->Text2->text(), QStringLiteral("MD297CH"), 60000);
        QCOMPARE(form->Text1->text(), QStringLiteral("F1RJP3XYDTWF"));
        QVERIFY(answeredDuringReading);
        QVERIFY(!QApplication::overrideCursor());

        form->Text1->clear();
        Drop(form, Label("photo.png"));
        QTRY_COMPARE_WITH_TIMEOUT(form->Text2->text(), QStringLiteral("MD297CH"), 60000);
        QCOMPARE(form->Text1->text(), QStringLiteral("F1RJP3XYDTWF"));
    }

    // A screenshot pasted as a chat app's picture arrives: checked, then filled, never queried. A
    // photo of the screen from the file dialog the same; a screen with no serial says so.
    void form5ReadsTheHandsetsScreen() {
        Form5* form = Open<Form5>(Screen::Form5);
        QVERIFY(form);
        QApplication::clipboard()->setImage(QImage(About("zh-ios6-1136.png")));
        QTest::keyClick(form->Text1, Qt::Key_V, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(m_dialogs->shown().size(), std::size_t{1}, 60000);
        const dialogs::Shown check = m_dialogs->shown()[0];
        QVERIFY2(check.kind == dialogs::Shown::Kind::Reading, qPrintable(check.text));
        QCOMPARE(check.title, Text(CheckReadingTitle));
        QCOMPARE(check.text, QStringLiteral("序列号(12位) F1RJP3XYDTWF\n型号 MD297CH"));
        QCOMPARE(check.choices, QStringList({Text(FillIn), Text(CancelReading)}));
        QCOMPARE(form->Text1->text(), QStringLiteral("F1RJP3XYDTWF"));
        QCOMPARE(form->Text2->text(), QStringLiteral("MD297CH"));
        QVERIFY(form->Command1->isEnabled());
        QCOMPARE(form->Text3->text(), QString());

        form->Text1->clear();
        QCOMPARE(Read(form->Scan, About("photo-zh-ios6.jpg")).text,
                 QStringLiteral("序列号(12位) F1RJP3XYDTWF\n型号 MD297CH"));
        QCOMPARE(form->Text2->text(), QStringLiteral("MD297CH"));
        form->Text1->clear();
        const dialogs::Shown negative = Read(form->Scan, About("general-zh-ios7-1136.png"));
        QCOMPARE(negative.kind, dialogs::Shown::Kind::Message);
        QCOMPARE(negative.text, Text(NoScreenSerial));
        QCOMPARE(form->Text1->text(), QString());
    }

    void form3ReadsAnOldHandsetsScreen() {
        Form3* form = Open<Form3>(Screen::Form3);
        QVERIFY(form);
        QCOMPARE(Read(form->Scan, About("old-zh-ios6-960.png")).choices.front(), Text(FillIn));
        QCOMPARE(form->Text1->text(), QStringLiteral("88923ABC3NP"));
        QCOMPARE(form->Text2->text(), QStringLiteral("MC605CH"));
    }

    // A box label, then the same handset's screen: 机盒一致, nothing changed; on an old handset
    // whose box says another part number: both side by side, the handset's taken when asked. Typing
    // ends it.
    void form5PairsABoxWithItsHandset() {
        Form5* form = Open<Form5>(Screen::Form5);
        QVERIFY(form);
        m_dialogs->QueuePicture(Label("label.png"));
        Click(form->Scan);
        QTRY_COMPARE(form->Text2->text(), QStringLiteral("MD297CH"));
        const dialogs::Shown same = Read(form->Scan, About("zh-ios6-1136.png"), dialogs::Answer::Cancel);
        QVERIFY2(same.text.startsWith(Text(BoxAgrees) + "\n"), qPrintable(same.text));
        QCOMPARE(same.choices, QStringList{QStringLiteral("确定")});
        QCOMPARE(form->Text1->text(), QStringLiteral("F1RJP3XYDTWF"));
        QCOMPARE(form->Pairing->text(), Text(BoxAgrees));
        QCOMPARE(QAccessible::queryAccessibleInterface(form->Pairing)->text(QAccessible::Name),
                 Text(BoxAgrees));
    }

    void form3TellsABoxFromAnotherHandset() {
        Form3* form = Open<Form3>(Screen::Form3);
        QVERIFY(form);
        m_dialogs->QueuePicture(Label("old-label.png"));
        Click(form->Scan);
        QTRY_COMPARE(form->Text2->text(), QStringLiteral("MB716CH"));
        const dialogs::Shown other = Read(form->Scan, About("old-zh-ios6-960.png"));
        QCOMPARE(other.text, Text(BoxDisagrees) +
                                 QStringLiteral("\n序列号(11位) 机盒标签 88923ABC3NP 手机屏幕 88923ABC3NP"
                                                "\n型号 机盒标签 MB716CH（不同） 手机屏幕 MC605CH（不同）"));
        QCOMPARE(other.choices, QStringList({Text(TakeHandsets), Text(CancelReading)}));
        QCOMPARE(form->Text2->text(), QStringLiteral("MC605CH"));
        QCOMPARE(form->Pairing->text(), Text(BoxDisagrees));
        QCOMPARE(form->Pairing->focusPolicy(), Qt::NoFocus);
        QTest::keyClick(form->Text2, Qt::Key_Backspace);
        QCOMPARE(form->Pairing->text(), QString());
    }

    void form3FromTheClipboardThenRefusals() {
        Form3* form = Open<Form3>(Screen::Form3);
        QVERIFY(form);
        TypeAtFocus("5K905ABC8M9MB046LL");
        QApplication::clipboard()->setImage(QImage(Label("old-label.png")));
        QTest::keyClick(form->Text2, Qt::Key_V, Qt::ControlModifier);
        QTRY_COMPARE(form->Text1->text(), QStringLiteral("88923ABC3NP"));
        QCOMPARE(form->Text2->text(), QStringLiteral("MB716CH"));
        QVERIFY(m_dialogs->shown().empty());

        // A 12-character label dropped on the serial box, which takes dropped text itself, the
        // same label in an SVG, and a file that is no picture: one line each, the boxes as they were.
        Drop(form->Text1, Label("label.png"));
        QTRY_COMPARE(m_dialogs->shown().size(), std::size_t{1});
        Drop(form, Label("label.svg"));
        QTRY_COMPARE(m_dialogs->shown().size(), std::size_t{2});
        m_dialogs->QueuePicture(QCoreApplication::applicationFilePath());
        Click(form->Scan);
        QTRY_COMPARE(m_dialogs->shown().size(), std::size_t{4});
        QCOMPARE(m_dialogs->shown()[0].text, QStringLiteral("这是12位序列号，请到12位序列号查询中扫描"));
        const QString unreadable = QString::fromUtf8(UnreadablePicture.data(), UnreadablePicture.size());
        QCOMPARE(m_dialogs->shown()[1].text, unreadable);
        QCOMPARE(m_dialogs->shown()[3].text, unreadable);
        QCOMPARE(form->Text1->text(), QStringLiteral("88923ABC3NP"));
        QCOMPARE(form->Text2->text(), QStringLiteral("MB716CH"));

        // The screen closed while a picture is read: the cursor comes back at once, and the answer
        // (that the label is a 12-character one) goes nowhere.
        CopyPhoto();
        QTest::keyClick(form->Text1, Qt::Key_V, Qt::ControlModifier);
        form->close();
        QTRY_VERIFY(!QApplication::overrideCursor());
        QThreadPool::globalInstance()->waitForDone();
        LetEventsRun();
        QCOMPARE(m_dialogs->shown().size(), std::size_t{4});
    }
};

QTEST_MAIN(TestScan)
#include "test_scan.moc"
