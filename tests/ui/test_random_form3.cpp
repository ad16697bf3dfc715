// The 11-character screen under a long seeded stream of random keys, pastes, clicks and
// dialog answers; after every event its gates, the serial check and the result boxes
// must still agree with the screen's rules, and nothing may crash.
#include "support/random_events.hpp"

#include "core/query11.hpp"
#include "ui/form3.hpp"
#include "ui/picture.hpp"
#include "ui/screens.hpp"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace quenlio;
using namespace quenlio::chaos;
using namespace quenlio::test_support;

namespace {

const QString SerialMessage = QStringLiteral("序列号有误，请核对后重新输入！");

class Inputs {
public:
    explicit Inputs(Random& random) : m_random(random) {}

    QChar SerialKey() { return m_random.CharOf(QStringLiteral("0123456789012345789ABEKMNRSTVYZabekmrsz -")); }

    QString Serial() {
        static const QStringList starts = {"5K", "61", "95", "88", "5k", "W8", "YM"};
        static const QStringList models = {"A4S", "DZZ", "A4T", "E00", "EDG", "3NP", "8M9", "8MB",
                                           "Y7H", "1R4", "VR0", "WH8", "0KH", "EOO", "a4s", "ZZZ"};
        const QString alphabet = QStringLiteral("0123456789ABCDEFGHJKLMNPQRSTUVWXYZ");
        QString serial = m_random.Pick(starts);
        // Mostly a serial that passes the check; sometimes one that fails at 3, 4 or 5.
        serial += m_random.CharOf(m_random.Chance(0.85) ? QStringLiteral("012789") : QStringLiteral("3456A"));
        serial +=
            m_random.CharOf(m_random.Chance(0.85) ? QStringLiteral("012345 -") : QStringLiteral("6789X"));
        serial +=
            m_random.CharOf(m_random.Chance(0.9) ? QStringLiteral("0123456789") : QStringLiteral("AZ-"));
        serial += m_random.StringOf(alphabet, 3);
        serial += m_random.Pick(models);
        if (m_random.Chance(0.1))
            serial.chop(1 + m_random.Below(4));
        return serial;
    }

    QString PartNumber() {
        static const QStringList parts = {"MB046CH", "MC603LL", "MD128J", "md128j", "MB489ZP",  "MC318KH",
                                          "MC605B",  "MC603X",  "MD12J",  "MB04",   "中国移动1"};
        return m_random.Chance(0.8)
                   ? m_random.Pick(parts)
                   : m_random.StringOf(QStringLiteral("MBC0123456789CHLLZPJKSXab"), 1 + m_random.Below(8));
    }

    QString Junk() {
        static const QStringList junk = {
            "", " ", "-", "中国", "😀😀", "ab\ncd", "ＭＢ０４６", "é", "0123456789ABCDEFGHIJ"};
        return m_random.Pick(junk);
    }

    QString Paste(const QWidget* focus) {
        return PasteFor(m_random, focus,
                        {{"Text1", [this] { return Serial(); }, 4},
                         {"Text2", [this] { return PartNumber(); }, 3},
                         {nullptr, [this] { return Junk(); }, 2}});
    }

    QChar Typed() { return m_random.CharOf(QStringLiteral("中国苹果—。ａé")); }

private:
    Random& m_random;
};

// The controls of the screen, found by their names as a screen reader would.
struct Controls {
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QList<QLineEdit*> results; // Text3 .. Text8
    QPushButton* Command1 = nullptr;
    QWidget* Label11 = nullptr;

    explicit Controls(QWidget* form) {
        Text1 = form->findChild<QLineEdit*>(QStringLiteral("Text1"));
        Text2 = form->findChild<QLineEdit*>(QStringLiteral("Text2"));
        for (int i = 3; i <= 8; ++i)
            results << form->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(i));
        Command1 = form->findChild<QPushButton*>(QStringLiteral("Command1"));
        Label11 = form->findChild<QWidget*>(QStringLiteral("Label11"));
    }
    bool Found() const { return Text1 && Text2 && !results.contains(nullptr) && Command1 && Label11; }
};

struct Shot {
    QString serial;
    QString part;
    QStringList results;
    int cursor1 = 0;
    int cursor2 = 0;

    static Shot Take(const Controls& c) {
        Shot shot{c.Text1->text(), c.Text2->text(), {}, c.Text1->cursorPosition(), c.Text2->cursorPosition()};
        for (const QLineEdit* box : c.results)
            shot.results << box->text();
        return shot;
    }
    QString Describe() const {
        return QStringLiteral("Text1=\"%1\" Text2=\"%2\" results=\"%3\"")
            .arg(serial, part, results.join("\", \""));
    }
};

QueryResult AsResult(const QStringList& r) {
    return {Utf8(r[0]), Utf8(r[1]), Utf8(r[2]), Utf8(r[3]), Utf8(r[4]), Utf8(r[5])};
}

void CheckGates(QWidget* form, const Controls& c, Failures& fail) {
    const QString serial = c.Text1->text();
    const bool complete = Chars(serial) == 11;

    fail.Expect(c.Text1->isEnabled() && !c.Text1->isReadOnly(), "Text1 is always usable");
    fail.Expect(Chars(serial) <= 11, "Text1 holds at most 11 characters");
    fail.Expect(!HasLowerAscii(serial), "Text1 is upper-case");
    fail.Expect(!complete || CheckOldSerial(Utf8(serial)), "a complete serial passes the serial check");
    // With an incomplete serial the focus can leave the serial box only for 扫描条码 or "返回"
    // (Tab takes it there; nothing else is enabled), and leaving checks the serial.
    const QWidget* focus = form->focusWidget();
    fail.Expect(complete || focus == c.Text1 || focus == c.Label11 ||
                    (focus && focus->objectName() == QLatin1String("Scan")),
                "with an incomplete serial the focus stays in Text1, on 扫描条码 or on 返回");
    fail.Expect(form->focusWidget() == c.Text1 || Chars(serial) < 5 || CheckOldSerial(Utf8(serial)),
                "a serial the focus has left passes the check");

    fail.Expect(c.Text2->isEnabled() == complete, "Text2 enabled exactly when Text1 holds 11");
    fail.Expect(c.Text2->isReadOnly() == !complete, "Text2 editable exactly when Text1 holds 11");
    fail.Expect(Chars(c.Text2->text()) <= 7, "Text2 holds at most 7 characters");
    fail.Expect(!HasLowerAscii(c.Text2->text()), "Text2 is upper-case");
    fail.Expect(c.Command1->isEnabled() == (complete && Chars(c.Text2->text()) >= 6),
                "Command1 enabled exactly when Text1 holds 11 and Text2 6 or more");

    for (const QLineEdit* box : c.results) {
        fail.Expect(box->isEnabled() == complete, box->objectName() + " enabled exactly when Text1 holds 11");
        fail.Expect(box->isReadOnly(), box->objectName() + " is read-only");
    }
    const QStringList r = Shot::Take(c).results;
    fail.Expect(QStringList({"", "AT&T", "-"}).contains(r[3]), "the carrier is AT&T, - or nothing yet");
    fail.Expect(QStringList({"", "中国"}).contains(r[4]), "the factory is 中国 or nothing yet");
    fail.Expect(QStringList({"", "是", "否"}).contains(r[5]),
                "the replacement flag is 是, 否 or nothing yet");
    fail.Expect(r[4].isEmpty() || (!r[0].isEmpty() && !r[1].isEmpty() && !r[2].isEmpty()),
                "the factory shows only beside a model, a date and a region");
}

void CheckStep(QWidget* form, const Controls& c, const Shot& before, const Shot& after, int queries,
               const std::vector<Answers::Entry>& shown, const QStringList& serialsAtCheck,
               const QStringList& opened, Failures& fail) {
    for (int box : {1, 2}) {
        const bool changed = box == 1 ? before.serial != after.serial : before.part != after.part;
        const QString& text = box == 1 ? after.serial : after.part;
        if (changed)
            fail.Expect((box == 1 ? after.cursor1 : after.cursor2) == text.size(),
                        QStringLiteral("the caret of Text%1 is at the end after a change").arg(box));
    }
    if (queries == 0) {
        fail.Expect(before.results == after.results, "the result boxes change only with a query");
    } else {
        // The query keeps what it does not find, so it is checked against the boxes before it.
        const QueryResult expected =
            SerialQuery11(Utf8(after.serial), Utf8(after.part), AsResult(before.results));
        fail.Expect(queries > 1 || AsResult(after.results) == expected,
                    "a query shows the decoded serial and part number over the previous results");
        fail.Expect(before.serial == after.serial && before.part == after.part, "a query leaves both inputs");
    }

    for (const Answers::Entry& entry : shown)
        fail.Expect(entry.shown.kind == dialogs::Shown::Kind::Message && entry.shown.text == SerialMessage &&
                        entry.shown.title == QStringLiteral("错误") &&
                        entry.shown.buttons == dialogs::Buttons::Ok,
                    "the serial message has its text, title and OK only");
    for (const QString& serial : serialsAtCheck)
        fail.Expect(Chars(serial) >= 5 && !CheckOldSerial(Utf8(serial)),
                    "the serial message comes only for a serial of 5 or more that fails the check: " +
                        serial);
    if (!shown.empty()) {
        fail.Expect(after.serial.isEmpty() && !c.Text2->isEnabled() && !c.Command1->isEnabled(),
                    "a rejected serial leaves Text1 empty and the gates shut");
        fail.Expect(!form->isActiveWindow() || QApplication::focusWidget() == c.Text1,
                    "a rejected serial gives the focus to Text1");
    }
    fail.Expect(opened.isEmpty(), "the screen opens no web page");
}

} // namespace

class TestRandomForm3 : public QObject {
    Q_OBJECT

    QPointer<QWidget> m_form;
    std::unique_ptr<Controls> m_controls;
    int m_queries = 0;

    bool Open() {
        m_form = OpenScreen(Screen::Form3);
        if (!m_form || !QTest::qWaitForWindowActive(m_form))
            return false;
        m_controls = std::make_unique<Controls>(m_form);
        if (!m_controls->Found())
            return false;
        connect(m_controls->Command1, &QPushButton::clicked, this, [this] { ++m_queries; });
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
        Answers answers(random, {});
        QStringList serialsAtCheck;
        answers.onShown = [&](const Answers::Entry&) {
            if (m_controls)
                serialsAtCheck << m_controls->Text1->text();
        };
        EventLog log;
        QVERIFY(Open());
        int queries = 0, rejected = 0, returns = 0;
        QElapsedTimer clock;
        clock.start();

        for (int index = 0; index < events; ++index) {
            const Controls& c = *m_controls;
            QWidget* form = m_form;
            const Shot before = Shot::Take(c);
            m_queries = 0;
            serialsAtCheck.clear();

            QString what;
            const int kind = random.Weighted({36, 20, 3, 12, 24, 4, 1});
            switch (kind) {
            case 0:
            case 1:
            case 2:
            case 3:
                what = KeyboardEvent(random, inputs, form, kind);
                break;
            case 4: {
                QList<QWidget*> controls;
                for (QWidget* control : QList<QWidget*>{c.Text1, c.Text2, c.Command1} +
                                            QList<QWidget*>(c.results.begin(), c.results.end()))
                    if (control->isEnabled())
                        controls << control;
                if (c.Command1->isEnabled())
                    controls << c.Command1 << c.Command1;
                what = ClickRandomly(random, random.Pick(controls));
                break;
            }
            case 5:
                what = ClickAnywhere(random, form);
                break;
            default:
                if (random.Chance(0.3))
                    what = ClickRandomly(random, c.Label11);
                else
                    what = KeyEvent(form, random.Pick(EditingKeys()));
                break;
            }
            log.Add(index, what);
            LetEventsRun();
            const std::vector<Answers::Entry> shown = answers.TakeShown();
            for (std::size_t i = 0; i < shown.size(); ++i)
                log.Note(QStringLiteral("serial message for \"%1\"").arg(serialsAtCheck.value(int(i))));
            const QStringList opened = answers.TakeOpened();

            // "返回" leaves for the menu; the screen comes back fresh from there.
            if (!m_form || !m_form->isVisible()) {
                QVERIFY2(FindScreen(Screen::Main) && !FindScreen(Screen::Form3),
                         qPrintable(log.Report(seed, index, "返回 must open the menu and close the screen")));
                m_controls.reset();
                FindScreen(Screen::Main)->close();
                LetEventsRun();
                QVERIFY2(Open(), qPrintable(log.Report(seed, index, "the screen did not open again")));
                const Shot fresh = Shot::Take(*m_controls);
                QVERIFY2(
                    fresh.serial.isEmpty() && fresh.part.isEmpty() &&
                        fresh.results == QStringList(6, QString()) && !m_controls->Text2->isEnabled() &&
                        !m_controls->Command1->isEnabled(),
                    qPrintable(log.Report(seed, index, "the screen reopened from the menu is not fresh")));
                ++returns;
                continue;
            }

            Failures fail;
            CheckGates(m_form, c, fail);
            CheckStep(m_form, c, before, Shot::Take(c), m_queries, shown, serialsAtCheck, opened, fail);
            if (!fail.Empty())
                QFAIL(qPrintable(log.Report(
                    seed, index, fail.Text() + QStringLiteral("\nnow: ") + Shot::Take(c).Describe())));
            queries += m_queries;
            rejected += static_cast<int>(shown.size());
        }
        qInfo("seed %llu: %d events in %lld ms; %d queries, %d rejected serials, %d returns to the menu",
              static_cast<unsigned long long>(seed), events, static_cast<long long>(clock.elapsed()), queries,
              rejected, returns);
        QVERIFY(queries > 50 && rejected > 20);

        m_form->close();
        LetEventsRun();
    }
};

QTEST_MAIN(TestRandomForm3)
#include "test_random_form3.moc"
