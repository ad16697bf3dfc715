// The 12-character screen under a long seeded stream of random keys, pastes, clicks and
// dialog answers; after every event the screen's gates and boxes must still agree with
// its rules, and nothing may crash.
#include "support/random_events.hpp"

#include "core/checks.hpp"
#include "core/dates.hpp"
#include "core/query12.hpp"
#include "core/text.hpp"
#include "ui/form5.hpp"
#include "ui/links.hpp"
#include "ui/picture.hpp"
#include "ui/screens.hpp"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

using namespace quenlio;
using namespace quenlio::chaos;
using namespace quenlio::test_support;

namespace {

const QString HalfYearMessage = QStringLiteral("请输入正确的序列号!");
const QString HalfYearTitle = QStringLiteral("序列号错误！");
const QString WarrantyQuestion = QStringLiteral("保修查询需要到第三方网站查询，点击“确定”去查询");
const QString WarrantyHint = QStringLiteral("查询激活时间，请将查到的“过保时间”粘贴到文本框，如2013-11-11");
const QString PurchasePrompt =
    QStringLiteral("请输入[实际激活时间],一般情况下购买当天激活，【请勿复制】查询网站的购买时间！");
const QString DateMessage = QStringLiteral("请输入正确的日期，如2013-11-11");
const QString ActivationFirst = QStringLiteral("请先点击“激活查询”");

// What the user may type or paste, biased towards texts that open the screen's gates.
class Inputs {
public:
    explicit Inputs(Random& random) : m_random(random) {}

    QChar SerialKey() {
        return m_random.CharOf(QStringLiteral("0123456789ABCDFGHJKLMNPQRTWXYZabcdfghjkoO -DTFK"));
    }

    QString Serial() {
        static const QStringList starts = {"DN", "F1", "C7G", "C3K", "DQG", "DYJ", "CCP", "88", "dn", "c7g"};
        static const QStringList models = {"DTF9", "DTFC", "DTFD", "DTFF", "DTFG", "DTFH", "DTDK",
                                           "DTDR", "DT9V", "DTTN", "A4S0", "dtdk", "FF9R"};
        const QString alphabet = QStringLiteral("0123456789ABCDEFGHJKLMNPQRSTUVWXYZoO");
        QString serial = m_random.Pick(starts);
        while (serial.size() < 3)
            serial += m_random.CharOf(alphabet);
        // Mostly a known half-year code; sometimes one the screen must reject.
        serial += m_random.Chance(0.8) ? m_random.CharOf(QStringLiteral("FGHJKfghjk"))
                                       : m_random.CharOf(QStringLiteral("LA0IZoO9"));
        serial += m_random.CharOf(alphabet);
        serial += m_random.StringOf(alphabet, 3);
        serial += m_random.Pick(models);
        if (m_random.Chance(0.1))
            serial.chop(1 + m_random.Below(3)); // one to three short
        return serial;
    }

    QString PartNumber() {
        static const QStringList parts = {"MD239CH", "md239ch", "MD128J", "MD276LL", "MD297ZP", "MD669CH",
                                          "ME039CH", "MC603LL", "MD23",   "MD2399",  "中国MD23"};
        return m_random.Chance(0.8)
                   ? m_random.Pick(parts)
                   : m_random.StringOf(QStringLiteral("MDEC0123456789CHLLZPJab"), 1 + m_random.Below(8));
    }

    QString Date() {
        if (m_random.Chance(0.2)) {
            static const QStringList odd = {"2013-02-30",   "2013-11-1",        "2013年11月11日",
                                            "2013/11/11",   "0001-01-01",       "9999-12-31",
                                            "20131111xx",   "2013-11-11 10:20", "abcdefghij",
                                            "  2013-1-1  ", "2012-02-29"};
            return m_random.Pick(odd);
        }
        return QStringLiteral("%1-%2-%3")
            .arg(2010 + m_random.Below(6))
            .arg(1 + m_random.Below(12), 2, 10, QLatin1Char('0'))
            .arg(1 + m_random.Below(28), 2, 10, QLatin1Char('0'));
    }

    QString Junk() {
        static const QStringList junk = {"",    " ",           "-",  "中国移动",   "型号：MD239CH",
                                         "😀😀😀", "ab\ncd",      "\t", "ＭＤ２３９", "0123456789ABCDEFGHIJ",
                                         "é",   "O0oO0oO0oO0o"};
        return m_random.Pick(junk);
    }

    QString Paste(const QWidget* focus) {
        return PasteFor(m_random, focus,
                        {{"Text1", [this] { return Serial(); }, 5},
                         {"Text2", [this] { return PartNumber(); }, 3},
                         {"Text8", [this] { return Date(); }, 3},
                         {nullptr, [this] { return Junk(); }, 2}});
    }

    // One character at a time, so that every check sees the screen after each key.
    QChar Typed() { return m_random.CharOf(QStringLiteral("中国苹果—。ａé")); }

private:
    Random& m_random;
};

// The texts, states and pictures of the screen at one moment.
struct Shot {
    QStringList texts; // Text1 .. Text9, Text11
    QList<bool> enabled;
    QList<bool> photos;
    int cursor1 = 0;
    int cursor2 = 0;

    static Shot Take(const Form5& f) {
        Shot shot;
        for (const QLineEdit* box :
             {f.Text1, f.Text2, f.Text3, f.Text4, f.Text5, f.Text6, f.Text7, f.Text8, f.Text9, f.Text11}) {
            shot.texts << box->text();
            shot.enabled << box->isEnabled();
        }
        for (const QPushButton* button : {f.Command1, f.Command2, f.Command3, f.Command6, f.Command7})
            shot.enabled << button->isEnabled();
        for (const QWidget* photo : {static_cast<QWidget*>(f.Image1), static_cast<QWidget*>(f.Image3),
                                     static_cast<QWidget*>(f.Image4), static_cast<QWidget*>(f.Image5)})
            shot.photos << photo->isVisible();
        shot.cursor1 = f.Text1->cursorPosition();
        shot.cursor2 = f.Text2->cursorPosition();
        return shot;
    }
    QString Describe() const {
        static const char* const names[] = {"Text1",    "Text2",    "Text3",    "Text4",    "Text5",
                                            "Text6",    "Text7",    "Text8",    "Text9",    "Text11",
                                            "Command1", "Command2", "Command3", "Command6", "Command7"};
        QStringList parts;
        for (int i = 0; i < enabled.size(); ++i)
            parts << QStringLiteral("%1%2%3").arg(
                QString::fromLatin1(names[i]), enabled[i] ? QString() : QStringLiteral("(off)"),
                i < texts.size() ? QStringLiteral("=\"%1\"").arg(texts[i]) : QString());
        return parts.join(QLatin1Char(' '));
    }
    bool SameScreen(const Shot& other) const {
        return texts == other.texts && enabled == other.enabled && photos == other.photos;
    }
};

enum { T1, T2, T3, T4, T5, T6, T7, T8, T9, T11 };

// Which handlers ran during one event; the screen's own connections come first, so
// these see the state that the handler left.
struct Fired {
    int query = 0;
    int warranty = 0;
    int activation = 0;
    int verdict = 0;
    int banner = 0;
};

// The rules that hold after any event, whatever came before.
void CheckGates(const Form5& f, Failures& fail) {
    const QString serial = f.Text1->text();
    const QString part = f.Text2->text();
    const bool complete = Chars(serial) == 12;

    fail.Expect(f.Text1->isEnabled() && !f.Text1->isReadOnly(), "Text1 is always usable");
    fail.Expect(Chars(serial) <= 12, "Text1 holds at most 12 characters");
    fail.Expect(QString::fromStdString(NormalizeSerial(Utf8(serial))) == serial,
                "Text1 is normalised: upper-case, no letter O");
    fail.Expect(!complete || CheckHalfYearCode(Utf8(serial)), "a complete serial has a known half-year code");

    fail.Expect(f.Text2->isEnabled() == complete, "Text2 enabled exactly when Text1 holds 12");
    fail.Expect(f.Text2->isEnabled() || part.isEmpty(), "a disabled Text2 is empty");
    fail.Expect(Chars(part) <= 7, "Text2 holds at most 7 characters");
    fail.Expect(!HasLowerAscii(part), "Text2 is upper-case");

    fail.Expect(f.Command1->isEnabled() == (complete && Chars(part) >= 6),
                "Command1 enabled exactly when Text1 holds 12 and Text2 6 or more");
    fail.Expect(!f.Command3->isEnabled() || f.Command1->isEnabled(), "Command3 enabled only with Command1");

    const bool queried = f.Text3->isEnabled();
    for (const QLineEdit* box : {f.Text4, f.Text5, f.Text6, f.Text7, f.Text8})
        fail.Expect(box->isEnabled() == queried, box->objectName() + " enabled exactly after a query");
    fail.Expect(!f.Command3->isEnabled() || queried, "Command3 enabled only after a query");
    for (const QLineEdit* box : {f.Text3, f.Text4, f.Text5, f.Text6, f.Text7, f.Text11})
        fail.Expect(box->isReadOnly(), box->objectName() + " is read-only");
    fail.Expect(f.Text9->isEnabled() && !f.Text9->isReadOnly(), "Text9 stays enabled and editable");
    fail.Expect(!f.Text8->isReadOnly(), "Text8 is editable");
    fail.Expect(f.Text8->isEnabled() || f.Text8->text().isEmpty(), "a disabled Text8 is empty");

    fail.Expect(f.Command6->isEnabled() == (Chars(f.Text8->text()) >= 10),
                "Command6 enabled exactly when Text8 holds 10 or more");
    fail.Expect(f.Command7->isEnabled() == f.Text11->isEnabled(), "Command7 and Text11 are enabled together");
    static const QRegularExpression dateForm(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QString activation = f.Text11->text();
    fail.Expect(activation.isEmpty() || (f.Text11->isEnabled() && dateForm.match(activation).hasMatch() &&
                                         ReadDate(Utf8(activation)).has_value()),
                "Text11 is empty or an enabled yyyy-mm-dd date");

    const ModelPhoto photo = PhotoForModel(Utf8(f.Text3->text()));
    fail.Expect(f.Image1->isVisible() == (photo == ModelPhoto::BlackIPhone5) &&
                    f.Image3->isVisible() == (photo == ModelPhoto::WhiteIPhone5) &&
                    f.Image4->isVisible() == (photo == ModelPhoto::BlackIPhone4) &&
                    f.Image5->isVisible() == (photo == ModelPhoto::WhiteIPhone4),
                "the handset photo is the one of the model shown");
}

// The rules that relate the state before and after one event.
void CheckStep(const Form5& f, const Shot& before, const Shot& after, const Fired& fired,
               const std::vector<Answers::Entry>& shown, const QStringList& serialsAtHalfYearCheck,
               const QStringList& opened, Failures& fail) {
    // Once open, the results, the warranty date and the verdict stay usable.
    fail.Expect(!before.enabled[T3] || after.enabled[T3], "a query's boxes are never disabled again");
    fail.Expect(!before.enabled[T11] || after.enabled[T11], "Command7 is never disabled again");

    for (int box : {T1, T2})
        if (before.texts[box] != after.texts[box])
            fail.Expect((box == T1 ? after.cursor1 : after.cursor2) == after.texts[box].size(),
                        QStringLiteral("the caret of Text%1 is at the end after a change").arg(box + 1));

    if (!fired.query) {
        for (int box : {T3, T4, T5, T6, T7})
            fail.Expect(before.texts[box] == after.texts[box],
                        QStringLiteral("result box %1 changes only with a query").arg(box + 1));
        fail.Expect(before.photos == after.photos, "the photos change only with a query");
    } else {
        const QueryResult expected = SerialQuery12(Utf8(after.texts[T1]), Utf8(after.texts[T2]));
        fail.Expect(Utf8(after.texts[T3]) == expected.DeviceModel &&
                        Utf8(after.texts[T4]) == expected.ProductionDate &&
                        Utf8(after.texts[T5]) == expected.SalesRegion &&
                        Utf8(after.texts[T6]) == expected.Carrier &&
                        Utf8(after.texts[T7]) == expected.Factory &&
                        Utf8(after.texts[T9]) == expected.AfterSalesReplacement,
                    "a query shows the decoded serial and part number");
        fail.Expect(after.texts[T8].isEmpty() && after.texts[T11].isEmpty() && f.Command3->isEnabled() &&
                        !f.Command6->isEnabled(),
                    "a query empties both dates, enables Command3 and disables Command6");
    }
    if (!fired.query && !fired.activation)
        fail.Expect(before.texts[T11] == after.texts[T11], "Text11 changes only with a query or Command6");

    // Every dialog is one the screen may show, in an order its handlers show them.
    int halfYear = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const dialogs::Shown& s = shown[i].shown;
        const bool ok = s.buttons == dialogs::Buttons::Ok && s.kind == dialogs::Shown::Kind::Message;
        if (s.text == HalfYearMessage) {
            fail.Expect(ok && s.title == HalfYearTitle, "the half-year message has its title and OK only");
            ++halfYear;
        } else if (s.text == WarrantyQuestion) {
            fail.Expect(fired.warranty && s.title == QStringLiteral("保修查询") &&
                            s.buttons == dialogs::Buttons::OkCancel,
                        "the warranty question comes from Command3, with OK and Cancel");
            fail.Expect(i + 1 < shown.size() && shown[i + 1].shown.text == WarrantyHint &&
                            shown[i + 1].shown.title == QStringLiteral("输入保修截止"),
                        "the warranty question is followed by the hint, whatever the answer");
            const int warrantyPages =
                static_cast<int>(opened.count(QString::fromLatin1(links::WarrantyLookupPage)));
            fail.Expect(warrantyPages == (shown[i].answer == dialogs::Answer::Ok ? 1 : 0),
                        "the warranty site opens exactly when the question is answered OK");
        } else if (s.text == WarrantyHint) {
            fail.Expect(ok && i > 0 && shown[i - 1].shown.text == WarrantyQuestion,
                        "the hint follows the question");
        } else if (s.kind == dialogs::Shown::Kind::Input) {
            fail.Expect(fired.verdict && s.text == PurchasePrompt &&
                            s.title == QStringLiteral("输入购买时间") && s.initial == after.texts[T11] &&
                            !s.initial.isEmpty(),
                        "the purchase date is asked by Command7, starting from the activation date");
            const std::optional<QString>& line = shown[i].input;
            const bool more = i + 1 < shown.size();
            if (!line) {
                fail.Expect(!more, "a cancelled purchase date shows nothing more");
                continue;
            }
            const std::optional<std::string> verdict =
                RefurbishmentVerdict(Utf8(after.texts[T11]), Utf8(*line), Utf8(after.texts[T1]));
            fail.Expect(more &&
                            shown[i + 1].shown.text ==
                                (verdict ? QString::fromStdString(*verdict) : DateMessage) &&
                            shown[i + 1].shown.title ==
                                (verdict ? QStringLiteral("查询结果") : QStringLiteral("日期错误")),
                        "the purchase date gives its verdict, or the date message");
            ++i;
        } else if (s.text == DateMessage) {
            fail.Expect(fired.activation && !EstimateActivationDate(Utf8(after.texts[T8])).has_value(),
                        "the date message follows a warranty date without an activation date");
        } else if (s.text == ActivationFirst) {
            fail.Expect(fired.verdict && after.texts[T11].isEmpty(),
                        "Command7 asks for the activation look-up only while Text11 is empty");
        } else {
            fail.Expect(false, QStringLiteral("unexpected dialog \"%1\" / \"%2\"").arg(s.text, s.title));
        }
    }
    for (const QString& serial : serialsAtHalfYearCheck)
        fail.Expect(Chars(serial) == 12 && !CheckHalfYearCode(Utf8(serial)),
                    "the half-year message comes only for a complete serial with an unknown code: " + serial);
    const bool active = f.isActiveWindow();
    if (halfYear > 0) {
        fail.Expect(after.texts[T1].isEmpty() && !after.enabled[T2] && !f.Command1->isEnabled() &&
                        !f.Command3->isEnabled(),
                    "a rejected serial leaves Text1 empty, Text2, Command1 and Command3 disabled");
        fail.Expect(!active || f.focusWidget() == f.Text1, "a rejected serial gives the focus to Text1");
    } else if (active && before.texts[T1] != after.texts[T1] && Chars(after.texts[T1]) == 12) {
        fail.Expect(f.focusWidget() == f.Text2, "completing the serial moves the focus to Text2");
    }
    if (fired.warranty)
        fail.Expect(!active || f.focusWidget() == f.Text8, "the warranty look-up leaves the focus in Text8");

    if (fired.activation) {
        const std::optional<std::string> estimate = EstimateActivationDate(Utf8(after.texts[T8]));
        if (estimate)
            fail.Expect(Utf8(after.texts[T11]) == *estimate && f.Text11->isEnabled() &&
                            f.Command7->isEnabled(),
                        "Command6 writes the warranty date minus 364 days and enables Command7");
        else
            fail.Expect(before.SameScreen(after), "an unreadable warranty date changes nothing");
    }
    if (fired.verdict || fired.banner)
        fail.Expect(before.SameScreen(after), "the verdict and the banner change nothing on the screen");

    const int shopPages = static_cast<int>(opened.count(QString::fromLatin1(links::ShopPage)));
    fail.Expect(shopPages == fired.banner, "each click on the banner opens the shop once");
    for (const QString& address : opened)
        fail.Expect(address == QString::fromLatin1(links::ShopPage) ||
                        address == QString::fromLatin1(links::WarrantyLookupPage),
                    "no other page opens: " + address);
}

} // namespace

class TestRandomForm5 : public QObject {
    Q_OBJECT

    QPointer<Form5> m_form;
    Fired m_fired;

    // A fresh screen, opened as the program opens it, with the observers attached.
    bool Open() {
        m_form = qobject_cast<Form5*>(OpenScreen(Screen::Form5));
        if (!m_form || !QTest::qWaitForWindowActive(m_form))
            return false;
        connect(m_form->Command1, &QPushButton::clicked, this, [this] { ++m_fired.query; });
        connect(m_form->Command3, &QPushButton::clicked, this, [this] { ++m_fired.warranty; });
        connect(m_form->Command6, &QPushButton::clicked, this, [this] { ++m_fired.activation; });
        connect(m_form->Command7, &QPushButton::clicked, this, [this] { ++m_fired.verdict; });
        connect(m_form->Image2, &Picture::clicked, this, [this] { ++m_fired.banner; });
        return true;
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void randomEvents() {
        const std::uint64_t seed = SeedFromEnvironment(20121215);
        const int events = EventCountFromEnvironment(12000);
        Random random(seed);
        Inputs inputs(random);
        QuietIgnoredEvents quiet;
        Answers answers(random, {"2012-11-12", "2012-11-16", "2013-05-11", "2012-11-11", "", "abc",
                                 "2013-02-30", "2013年5月1日", "9999-12-31", "0001-01-01", " 2012-11-20 "});
        QStringList serialsAtHalfYearCheck;
        answers.onShown = [&](const Answers::Entry& entry) {
            if (entry.shown.text == HalfYearMessage && m_form)
                serialsAtHalfYearCheck << m_form->Text1->text();
        };
        EventLog log;
        QVERIFY(Open());
        int queries = 0, rejected = 0, activations = 0, verdicts = 0, returns = 0, helpScreens = 0;
        QElapsedTimer clock;
        clock.start();

        for (int index = 0; index < events; ++index) {
            Form5& f = *m_form;
            const Shot before = Shot::Take(f);
            m_fired = {};
            serialsAtHalfYearCheck.clear();

            QString what;
            const int kind = random.Weighted({34, 20, 3, 12, 26, 3, 1, 1});
            switch (kind) {
            case 0:
            case 1:
            case 2:
            case 3:
                what = KeyboardEvent(random, inputs, &f, kind);
                break;
            case 4: {
                // Any enabled control a user can click: boxes, buttons, the banner.
                QList<QWidget*> controls;
                for (QWidget* control : QList<QWidget*>{f.Text1, f.Text2, f.Text3, f.Text4, f.Text5, f.Text6,
                                                        f.Text7, f.Text8, f.Text9, f.Text11, f.Command1,
                                                        f.Command3, f.Command6, f.Command7, f.Image2})
                    if (control->isEnabled())
                        controls << control;
                // Buttons get more clicks than their share, or the deeper gates are rarely reached.
                for (QWidget* button : QList<QWidget*>{f.Command1, f.Command3, f.Command6, f.Command7})
                    if (button->isEnabled())
                        controls << button << button;
                what = ClickRandomly(random, random.Pick(controls));
                break;
            }
            case 5:
                what = ClickAnywhere(random, &f);
                break;
            case 6:
                if (random.Chance(0.3))
                    what = ClickRandomly(random, f.Command2);
                else
                    what = TypeText(&f, inputs.SerialKey());
                break;
            default:
                if (random.Chance(0.3))
                    what = ClickRandomly(random, f.Label9);
                else
                    what = KeyEvent(&f, random.Pick(EditingKeys()));
                break;
            }
            log.Add(index, what);
            LetEventsRun();
            const std::vector<Answers::Entry> shown = answers.TakeShown();
            for (const Answers::Entry& entry : shown)
                log.Note(QStringLiteral("dialog \"%1\" answered %2")
                             .arg(entry.shown.text.left(12),
                                  entry.shown.kind == dialogs::Shown::Kind::Input
                                      ? (entry.input ? QStringLiteral("\"%1\"").arg(*entry.input)
                                                     : QStringLiteral("Cancel"))
                                      : (entry.answer == dialogs::Answer::Ok ? QStringLiteral("OK")
                                                                             : QStringLiteral("Cancel"))));
            const QStringList opened = answers.TakeOpened();

            // Navigation: "返回" leaves for the menu; "查看方法" opens the help screen.
            if (!m_form || !m_form->isVisible()) {
                QVERIFY2(FindScreen(Screen::Main) && !FindScreen(Screen::Form5),
                         qPrintable(log.Report(seed, index, "返回 must open the menu and close the screen")));
                FindScreen(Screen::Main)->close();
                LetEventsRun();
                QVERIFY2(Open(), qPrintable(log.Report(seed, index, "the screen did not open again")));
                const Shot fresh = Shot::Take(*m_form);
                QVERIFY2(
                    fresh.texts == QStringList(10, QString()) &&
                        fresh.enabled == (QList<bool>{true, false, false, false, false, false, false, false,
                                                      true, false, false, true, false, false, false}) &&
                        fresh.photos == QList<bool>(4, false),
                    qPrintable(log.Report(seed, index, "the screen reopened from the menu is not fresh")));
                ++returns;
                log.Note(QStringLiteral("reopened"));
                continue;
            }
            if (QWidget* help = FindScreen(Screen::Form4)) {
                int visible = 0;
                for (QWidget* window : QApplication::topLevelWidgets())
                    visible += window->isVisible() ? 1 : 0;
                QVERIFY2(visible == 2,
                         qPrintable(log.Report(seed, index, "查看方法 opened more than one window")));
                QVERIFY2(Shot::Take(*m_form).SameScreen(before),
                         qPrintable(log.Report(seed, index, "opening the help screen changed the screen")));
                help->close();
                LetEventsRun();
                m_form->activateWindow();
                QVERIFY2(QTest::qWaitForWindowActive(m_form),
                         qPrintable(log.Report(seed, index, "the screen did not get the focus back")));
                ++helpScreens;
            }

            Failures fail;
            CheckGates(*m_form, fail);
            CheckStep(*m_form, before, Shot::Take(*m_form), m_fired, shown, serialsAtHalfYearCheck, opened,
                      fail);
            if (!fail.Empty())
                QFAIL(qPrintable(log.Report(
                    seed, index, fail.Text() + QStringLiteral("\nnow: ") + Shot::Take(*m_form).Describe())));

            queries += m_fired.query;
            verdicts += m_fired.verdict;
            activations += m_fired.activation;
            rejected += static_cast<int>(serialsAtHalfYearCheck.size());
        }
        qInfo("seed %llu: %d events in %lld ms; %d queries, %d rejected serials, %d activation look-ups, %d "
              "verdicts, %d returns to "
              "the menu, %d help screens",
              static_cast<unsigned long long>(seed), events, static_cast<long long>(clock.elapsed()), queries,
              rejected, activations, verdicts, returns, helpScreens);
        // The stream must reach every stage, or the gates above were barely exercised.
        QVERIFY(queries > 50 && rejected > 20 && verdicts > 10);

        m_form->close();
        LetEventsRun();
    }
};

QTEST_MAIN(TestRandomForm5)
#include "test_random_form5.moc"
