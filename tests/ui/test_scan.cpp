// 扫描条码 on both query screens, with the label pictures tests/reader/draw_labels.sh draws (its
// folder in QUENLIO_LABELS): from the file dialog, the clipboard and a drop. The boxes are filled
// as if pasted over, and nothing is queried; a picture that gives nothing says so and changes
// nothing.
#include "core/label.hpp"
#include "support/screen_support.hpp"
#include "ui/dialogs.hpp"
#include "ui/form3.hpp"
#include "ui/form5.hpp"

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
