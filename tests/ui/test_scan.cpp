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
#include <QMimeData>
#include <QPushButton>
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

private slots:
    void init() { m_dialogs = std::make_unique<dialogs::Hook>(); }
    void cleanup() {
        CloseAllScreens();
        m_dialogs.reset();
    }

    void form5FromAFile() {
        Form5* form = Open<Form5>(Screen::Form5);
        QVERIFY(form);
        m_dialogs->QueuePicture(Label("label-turned.png"));
        Click(form->Scan);
        QCOMPARE(form->Text1->text(), QStringLiteral("F1RJP3XYDTWF"));
        QCOMPARE(form->Text2->text(), QStringLiteral("MD297CH"));
        QCOMPARE(QApplication::focusWidget(), form->Text2);
        QVERIFY(form->Command1->isEnabled());
        QCOMPARE(form->Text3->text(), QString());
        QCOMPARE(m_dialogs->shown().size(), std::size_t{1}); // the file dialog alone
    }

    void form3FromTheClipboardThenRefusals() {
        Form3* form = Open<Form3>(Screen::Form3);
        QVERIFY(form);
        TypeAtFocus("5K905ABC8M9MB046LL");
        QApplication::clipboard()->setImage(QImage(Label("old-label.png")));
        QTest::keyClick(form->Text2, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(form->Text1->text(), QStringLiteral("88923ABC3NP"));
        QCOMPARE(form->Text2->text(), QStringLiteral("MB716CH"));
        QVERIFY(m_dialogs->shown().empty());

        // A 12-character label dropped on the serial box, which takes dropped text itself, and a
        // file that is no picture: one line each, and the boxes as they were.
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(Label("label.png"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form->Text1, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form->Text1, &drop);
        m_dialogs->QueuePicture(QCoreApplication::applicationFilePath());
        Click(form->Scan);
        QCOMPARE(m_dialogs->shown().size(), std::size_t{3});
        QCOMPARE(m_dialogs->shown()[0].text, QStringLiteral("这是12位序列号，请到12位序列号查询中扫描"));
        QCOMPARE(m_dialogs->shown()[2].text,
                 QString::fromUtf8(UnreadablePicture.data(), UnreadablePicture.size()));
        QCOMPARE(form->Text1->text(), QStringLiteral("88923ABC3NP"));
        QCOMPARE(form->Text2->text(), QStringLiteral("MB716CH"));
    }
};

QTEST_MAIN(TestScan)
#include "test_scan.moc"
