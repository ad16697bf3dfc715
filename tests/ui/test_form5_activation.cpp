// The warranty, activation and verdict controls of the 12-character screen, and its
// links to web pages, driven in a real X server.
#include "support/form5_support.hpp"
#include "support/screen_support.hpp"
#include "ui/dialogs.hpp"
#include "ui/links.hpp"
#include "ui/web.hpp"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace quenlio;
using namespace quenlio::test_support;

namespace {

const QString Question = QStringLiteral("保修查询需要到第三方网站查询，点击“确定”去查询");
const QString PasteHint = QStringLiteral("查询激活时间，请将查到的“过保时间”粘贴到文本框，如2013-11-11");
const QString PurchasePrompt =
    QStringLiteral("请输入[实际激活时间],一般情况下购买当天激活，【请勿复制】查询网站的购买时间！");
const QString DateMessage = QStringLiteral("请输入正确的日期，如2013-11-11");

// What the dialogs showed, one "title|text" line each, for comparing whole sequences.
QStringList Lines(const std::vector<dialogs::Shown>& shown) {
    QStringList lines;
    for (const dialogs::Shown& one : shown)
        lines << one.title + '|' + one.text;
    return lines;
}

} // namespace

class TestForm5Activation : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Form5> m_form;
    std::unique_ptr<dialogs::Hook> m_dialogs;
    std::unique_ptr<web::Hook> m_web;

    Form5& form() { return *m_form; }

    void Query(const QString& serial, const QString& partNumber) {
        test_support::Query(form(), serial, partNumber);
    }

    // A query, then the warranty end date typed and the activation look-up pressed.
    void Activate(const QString& serial, const QString& warrantyEnd) {
        Query(serial, "MD239CH");
        Click(form().Text8);
        QTest::keyClicks(form().Text8, warrantyEnd);
        Click(form().Command6);
    }

private slots:
    void init() {
        m_dialogs = std::make_unique<dialogs::Hook>();
        m_web = std::make_unique<web::Hook>();
        m_form = std::make_unique<Form5>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    void cleanup() {
        m_form.reset();
        m_web.reset();
        m_dialogs.reset();
    }

    // Each click on the banner opens the shop once and changes nothing on the screen.
    void bannerOpensTheShopOncePerClick() {
        Query("DNPH7ABC1234", "MD239CH");
        const Form5Snapshot before = Form5Snapshot::Take(form());
        Click(form().Image2);
        QCOMPARE(m_web->opened(), QStringList{links::ShopPage});
        QCOMPARE(Form5Snapshot::Take(form()), before);
        Click(form().Image2);
        QCOMPARE(m_web->opened(), (QStringList{links::ShopPage, links::ShopPage}));
        QCOMPARE(Form5Snapshot::Take(form()), before);
        QVERIFY(m_dialogs->shown().empty());
    }

    void warrantyLookupAsksFirst_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("OK") << true << QStringList{links::WarrantyLookupPage};
        QTest::newRow("Cancel") << false << QStringList{};
    }
    void warrantyLookupAsksFirst() {
        QFETCH(bool, ok);
        QFETCH(QStringList, opened);
        Query("DNPH7ABC1234", "MD239CH");
        Form5Snapshot before = Form5Snapshot::Take(form());
        m_dialogs->QueueAnswer(ok ? dialogs::Answer::Ok : dialogs::Answer::Cancel);
        Click(form().Command3);
        QCOMPARE(m_web->opened(), opened);
        QCOMPARE(Lines(m_dialogs->shown()),
                 (QStringList{"保修查询|" + Question, "输入保修截止|" + PasteHint}));
        QVERIFY(m_dialogs->shown()[0].buttons == dialogs::Buttons::OkCancel);
        QVERIFY(m_dialogs->shown()[1].buttons == dialogs::Buttons::Ok);
        QCOMPARE(QApplication::focusWidget(), form().Text8);
        // Apart from the focus, nothing changed.
        before.focus = form().Text8;
        QCOMPARE(Form5Snapshot::Take(form()), before);
    }

    // The same with the real boxes: Cancel on the question, OK on the hint, then the
    // window comes back with the focus in the date box.
    void warrantyLookupWithRealBoxes() {
        m_dialogs.reset();
        Query("DNPH7ABC1234", "MD239CH");
        QStringList seen;
        QPointer<QWidget> lastBox;
        QTimer closer;
        closer.setInterval(50);
        connect(&closer, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box == lastBox || !box->isVisible())
                return;
            lastBox = box;
            QStringList buttons;
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            seen << box->windowTitle() + '|' + buttons.join(',');
            // The last button is Cancel where there is one, else OK.
            box->buttons().back()->click();
        });
        closer.start();
        Click(form().Command3);
        QCOMPARE(seen, (QStringList{"保修查询|确定,取消", "输入保修截止|确定"}));
        QVERIFY(m_web->opened().isEmpty());
        QTRY_VERIFY(form().isActiveWindow());
        QTRY_COMPARE(QApplication::focusWidget(), form().Text8);
        QTest::keyClicks(QApplication::focusWidget(), "2013-11-11");
        QCOMPARE(form().Text8->text(), QStringLiteral("2013-11-11"));
        QVERIFY(form().Command6->isEnabled());
    }

    void dateLengthGatesTheActivationLookup_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("9") << "2013-11-1" << false;
        QTest::newRow("10") << "2013-11-11" << true;
        QTest::newRow("10 of anything") << "abcdefghij" << true;
        QTest::newRow("longer") << "2013-11-11 10:00" << true;
        QTest::newRow("Chinese 9") << "2013年1月1日" << false;
        QTest::newRow("Chinese 11") << "2013年11月11日" << true;
    }
    void dateLengthGatesTheActivationLookup() {
        QFETCH(QString, typed);
        QFETCH(bool, enabled);
        Query("DNPH7ABC1234", "MD239CH");
        form().Text8->setFocus();
        form().Text8->insert(typed); // as pasted
        QCOMPARE(form().Text8->text(), typed);
        QCOMPARE(form().Command6->isEnabled(), enabled);
    }

    void activationDateIsEstimated_data() {
        QTest::addColumn<QString>("warrantyEnd");
        QTest::addColumn<QString>("activation");
        QTest::newRow("plain") << "2013-11-11"
                               << "2012-11-12";
        QTest::newRow("across the leap day") << "2013-02-28"
                                             << "2012-03-01";
        QTest::newRow("new year") << "2013-01-01"
                                  << "2012-01-03";
        QTest::newRow("March") << "2014-03-01"
                               << "2013-03-02";
    }
    void activationDateIsEstimated() {
        QFETCH(QString, warrantyEnd);
        QFETCH(QString, activation);
        Query("DNPH7ABC1234", "MD239CH");
        Click(form().Text8);
        QTest::keyClicks(form().Text8, warrantyEnd.left(9));
        QVERIFY(!form().Command6->isEnabled());
        QTest::keyClicks(form().Text8, warrantyEnd.mid(9));
        QVERIFY(form().Command6->isEnabled());
        QVERIFY(!form().Command7->isEnabled());
        Click(form().Command6);
        QCOMPARE(form().Text11->text(), activation);
        QVERIFY(form().Text11->isEnabled());
        QVERIFY(form().Text11->isReadOnly());
        QVERIFY(form().Command7->isEnabled());
        // Pressed again, the same date.
        Click(form().Command6);
        QCOMPARE(form().Text11->text(), activation);
        QVERIFY(m_dialogs->shown().empty());
        // A shorter date disables the look-up only.
        Click(form().Text8);
        QTest::keyClick(form().Text8, Qt::Key_End);
        QTest::keyClick(form().Text8, Qt::Key_Backspace);
        QVERIFY(!form().Command6->isEnabled());
        QCOMPARE(form().Text11->text(), activation);
        QVERIFY(form().Command7->isEnabled());
    }

    void newQueryEmptiesTheDates() {
        Activate("DNPH7ABC1234", "2013-11-11");
        QCOMPARE(form().Text11->text(), QStringLiteral("2012-11-12"));
        Click(form().Command1);
        QCOMPARE(form().Text8->text(), QString());
        QCOMPARE(form().Text11->text(), QString());
        QVERIFY(!form().Command6->isEnabled());
        QVERIFY(form().Command7->isEnabled());
        QVERIFY(form().Text8->isEnabled());
        QVERIFY(form().Command3->isEnabled());
    }

    void verdictForThePurchaseDate_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("purchase");
        QTest::addColumn<QString>("verdict");
        const QString replacement = QStringLiteral("您的机子属于苹果售后换机/官翻机，质量没什么问题");
        QTest::newRow("same day") << "DNPH7ABC1234"
                                  << "2012-11-12"
                                  << "恭喜，购买时间与激活时间完全符合，全新！";
        QTest::newRow("4 days") << "DNPH7ABC1234"
                                << "2012-11-16"
                                << "购买时间与激活时间相差4天，新机！";
        QTest::newRow("5 days") << "DNPH7ABC1234"
                                << "2012-11-17"
                                << "购买时间与激活时间相差5天，您的iPhone是新机！";
        QTest::newRow("180 days") << "DNPH7ABC1234"
                                  << "2013-05-11"
                                  << "购买时间与激活时间相差180天，翻新机！";
        QTest::newRow("before") << "DNPH7ABC1234"
                                << "2012-11-11"
                                << "请重新核对您iPhone的实际激活时间！";
        QTest::newRow("replacement, before") << "DQGH7ABC1234"
                                             << "2012-11-11" << replacement;
        QTest::newRow("replacement, 180 days") << "dqgh7abc1234"
                                               << "2013-05-11" << replacement;
    }
    void verdictForThePurchaseDate() {
        QFETCH(QString, serial);
        QFETCH(QString, purchase);
        QFETCH(QString, verdict);
        Activate(serial, "2013-11-11");
        form().Command7->setFocus(Qt::TabFocusReason);
        const Form5Snapshot before = Form5Snapshot::Take(form());
        m_dialogs->clear();
        m_dialogs->QueueInput(purchase);
        QTest::keyClick(form().Command7, Qt::Key_Space);
        QCOMPARE(m_dialogs->shown().size(), std::size_t(2));
        const dialogs::Shown& ask = m_dialogs->shown()[0];
        QVERIFY(ask.kind == dialogs::Shown::Kind::Input);
        QCOMPARE(ask.text, PurchasePrompt);
        QCOMPARE(ask.title, QStringLiteral("输入购买时间"));
        QCOMPARE(ask.initial, QStringLiteral("2012-11-12"));
        QCOMPARE(Lines({m_dialogs->shown()[1]}), QStringList{"查询结果|" + verdict});
        QVERIFY(m_dialogs->shown()[1].buttons == dialogs::Buttons::Ok);
        QCOMPARE(Form5Snapshot::Take(form()), before);
    }

    // Accepting the starting text unchanged is a purchase on the activation day.
    void verdictForTheOfferedDate() {
        Activate("DNPH7ABC1234", "2013-11-11");
        m_dialogs->clear();
        Click(form().Command7);
        QCOMPARE(Lines(m_dialogs->shown()).last(),
                 QStringLiteral("查询结果|恭喜，购买时间与激活时间完全符合，全新！"));
        // Asked again with another date, another verdict.
        m_dialogs->clear();
        m_dialogs->QueueInput(QStringLiteral("2013-01-20"));
        Click(form().Command7);
        QCOMPARE(Lines(m_dialogs->shown()).last(),
                 QStringLiteral("查询结果|购买时间与激活时间相差69天，翻新几率很大"));
    }

    // Every input the look-ups cannot use shows at most one message and leaves every
    // box, gate and the focus as they were.
    void badInputLeavesTheScreenUnchanged_data() {
        QTest::addColumn<QString>("warrantyEnd");
        QTest::addColumn<bool>("pressActivation");
        QTest::addColumn<bool>("newQuery");
        QTest::addColumn<QVariant>("purchase"); // invalid QVariant: Cancel
        QTest::addColumn<QStringList>("shown");
        const QString dateError = "日期错误|" + DateMessage;
        QTest::newRow("warranty end no date")
            << "2013-02-30" << true << false << QVariant() << QStringList{dateError};
        QTest::newRow("warranty end letters")
            << "abcdefghij" << true << false << QVariant() << QStringList{dateError};
        QTest::newRow("purchase cancelled")
            << "2013-11-11" << false << false << QVariant() << QStringList{"输入购买时间|" + PurchasePrompt};
        QTest::newRow("purchase no date")
            << "2013-11-11" << false << false << QVariant(QStringLiteral("2012-13-01"))
            << QStringList{"输入购买时间|" + PurchasePrompt, dateError};
        QTest::newRow("purchase emptied") << "2013-11-11" << false << false << QVariant(QString())
                                          << QStringList{"输入购买时间|" + PurchasePrompt, dateError};
        QTest::newRow("activation emptied by a new query")
            << "2013-11-11" << false << true << QVariant() << QStringList{"提示|请先点击“激活查询”"};
    }
    void badInputLeavesTheScreenUnchanged() {
        QFETCH(QString, warrantyEnd);
        QFETCH(bool, pressActivation);
        QFETCH(bool, newQuery);
        QFETCH(QVariant, purchase);
        QFETCH(QStringList, shown);
        Activate("DNPH7ABC1234", "2013-11-11");
        if (newQuery)
            Click(form().Command1);
        if (warrantyEnd != QStringLiteral("2013-11-11")) {
            form().Text8->selectAll();
            QTest::keyClicks(form().Text8, warrantyEnd);
        }
        QWidget* button = pressActivation ? static_cast<QWidget*>(form().Command6) : form().Command7;
        button->setFocus(Qt::TabFocusReason);
        const Form5Snapshot before = Form5Snapshot::Take(form());
        m_dialogs->clear();
        m_dialogs->QueueInput(purchase.isValid() ? std::optional<QString>(purchase.toString())
                                                 : std::nullopt);
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(Lines(m_dialogs->shown()), shown);
        QCOMPARE(Form5Snapshot::Take(form()), before);
        QVERIFY(m_web->opened().isEmpty());
    }
};

QTEST_MAIN(TestForm5Activation)
#include "test_form5_activation.moc"
