// Every caption, button text, frame title and box value must fit its control with the
// font really in use, every control must lie inside its window, and the pictures must be
// drawn at the screen's own resolution. Run once at QT_SCALE_FACTOR=1 and once at 2.
#include "core/core.hpp"
#include "support/screen_support.hpp"
#include "ui/picture.hpp"
#include "ui/screens.hpp"

#include <QAbstractButton>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <QTest>

#include <map>
#include <set>

using namespace quenlio;
using namespace quenlio::test_support;

Q_DECLARE_METATYPE(quenlio::Screen)

namespace {

// The control's name and its window's, for a report.
QString NameOnScreen(const QWidget* widget) {
    const QString name = widget->objectName().isEmpty()
                             ? QString::fromLatin1(widget->metaObject()->className())
                             : widget->objectName();
    return QStringLiteral("%1 of %2")
        .arg(name, widget->window()->objectName().isEmpty()
                       ? QString::fromLatin1(widget->window()->metaObject()->className())
                       : widget->window()->objectName());
}

// The width a line edit leaves for its text: the style's contents rectangle less the
// two pixels QLineEdit keeps free on each side, less any text margins.
int LineEditTextWidth(const QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->contentsRect();
    option.lineWidth =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * 2;
}

// The widest text, by the box's own font, of those a box can be asked to show.
QString Widest(const QFontMetrics& metrics, const QStringList& texts) {
    QString widest;
    for (const QString& text : texts)
        if (metrics.horizontalAdvance(text) > metrics.horizontalAdvance(widest))
            widest = text;
    return widest;
}

// A serial box is given its worst case position by position: the widest character
// each position of a valid serial can hold, or the widest of a list of codes ("A|B").
const QString AnyCharacter = QStringLiteral("0123456789ABCDEFGHIJKLMNPQRSTUVWXYZ");

QString WorstSerial(const QFontMetrics& metrics, const QStringList& positions) {
    QString serial;
    for (const QString& position : positions) {
        QStringList choices = position.split(QLatin1Char('|'));
        if (choices.size() == 1) {
            choices.clear();
            for (const QChar c : position)
                choices << QString(c);
        }
        QString widest;
        for (const QString& choice : choices)
            if (widest.isEmpty() || metrics.horizontalAdvance(choice) > metrics.horizontalAdvance(widest))
                widest = choice;
        serial += widest;
    }
    return serial;
}

// What each box of the two query screens can show, taken from the tables themselves.
std::map<QString, QStringList> Form5Values() {
    std::set<QString> keys, models, regions, carriers, dates, factories;
    for (const CatalogueEntry& entry : PartNumberCatalogue()) {
        keys.insert(FromUtf8(entry.Key));
        models.insert(FromUtf8(entry.DeviceModel));
        regions.insert(FromUtf8(entry.SalesRegion));
        carriers.insert(FromUtf8(entry.Carrier));
    }
    const std::string codes = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (char half : codes)
        for (char week : codes)
            dates.insert(FromUtf8(DecodeProductionDate(std::string("DNP") + half + week + "012ABCD")));
    for (const char* serial : {"DN", "F1", "C7"})
        factories.insert(FromUtf8(FactoryForSerial(serial)));
    auto list = [](const std::set<QString>& s) {
        return QStringList(s.begin(), s.end());
    };
    return {
        {QStringLiteral("Text1"),
         {AnyCharacter, AnyCharacter, AnyCharacter, QStringLiteral("FGHJK"),
          QStringLiteral("123456789CDFGHJKLMNPQRTVWXY"), AnyCharacter, AnyCharacter, AnyCharacter,
          AnyCharacter, AnyCharacter, AnyCharacter, AnyCharacter}},
        {QStringLiteral("Text2"), list(keys)},
        {QStringLiteral("Text3"), list(models)},
        {QStringLiteral("Text4"), list(dates)},
        {QStringLiteral("Text5"), list(regions)},
        {QStringLiteral("Text6"), list(carriers)},
        {QStringLiteral("Text7"), list(factories)},
        {QStringLiteral("Text9"), {QStringLiteral("是"), QStringLiteral("否(供参考)")}},
        {QStringLiteral("Text8"), {QStringLiteral("2013-11-11"), QStringLiteral("2000-08-08")}},
        {QStringLiteral("Text11"), {QStringLiteral("2012-11-12"), QStringLiteral("2000-08-08")}},
    };
}

std::map<QString, QStringList> Form3Values() {
    std::set<QString> models, dates, regions, carriers, factories, flags;
    QStringList modelCodes;
    const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const QueryResult none;
    for (char a : alphabet)
        for (char b : alphabet)
            for (char c : alphabet) {
                const QueryResult r = SerialQuery11(std::string("5K905XXX") + a + b + c, "MB046LL", none);
                models.insert(FromUtf8(r.DeviceModel));
                if (!r.DeviceModel.empty())
                    modelCodes << QString::fromLatin1(std::string{a, b, c});
                flags.insert(FromUtf8(r.AfterSalesReplacement));
                factories.insert(FromUtf8(r.Factory));
            }
    for (char year : std::string("0123456789"))
        for (char week1 : std::string("012345"))
            for (char week2 : std::string("0123456789"))
                dates.insert(FromUtf8(
                    SerialQuery11(std::string("88") + year + week1 + week2 + "XXXA4S", "MB046CH", none)
                        .ProductionDate));
    for (char a : alphabet) {
        for (char b : alphabet) {
            const QueryResult r = SerialQuery11("88905XXXA4S", std::string("MB046") + a + b, none);
            regions.insert(FromUtf8(r.SalesRegion));
            carriers.insert(FromUtf8(r.Carrier));
        }
        const QueryResult r = SerialQuery11("61905XXXA4S", std::string("MB046") + a, none);
        regions.insert(FromUtf8(r.SalesRegion));
        flags.insert(FromUtf8(r.AfterSalesReplacement));
    }
    auto list = [](const std::set<QString>& s) {
        return QStringList(s.begin(), s.end());
    };
    QStringList partNumbers;
    for (const CatalogueEntry& entry : PartNumberCatalogue())
        partNumbers << FromUtf8(entry.Key);
    return {
        // The check of the serial lets only digits through at positions 3 to 5.
        {QStringLiteral("Text1"),
         {AnyCharacter, AnyCharacter, QStringLiteral("012789"), QStringLiteral("012345"),
          QStringLiteral("0123456789"), AnyCharacter, AnyCharacter, AnyCharacter,
          modelCodes.join(QLatin1Char('|'))}},
        {QStringLiteral("Text2"), partNumbers},
        {QStringLiteral("Text3"), list(models)},
        {QStringLiteral("Text4"), list(dates)},
        {QStringLiteral("Text5"), list(regions)},
        {QStringLiteral("Text6"), list(carriers)},
        {QStringLiteral("Text7"), list(factories)},
        {QStringLiteral("Text8"), list(flags)},
    };
}

// The text rectangle a label draws into: its contents less margin and indent.
QRect LabelTextRect(const QLabel* label) {
    QRect r =
        label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0)
        indent = label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    if (indent > 0) {
        const Qt::Alignment align = QStyle::visualAlignment(label->layoutDirection(), label->alignment());
        if (align & Qt::AlignLeft)
            r.setLeft(r.left() + indent);
        if (align & Qt::AlignRight)
            r.setRight(r.right() - indent);
    }
    return r;
}

// Labels, buttons and frame titles of `window` whose text does not fit, with the font
// each one really uses; one line per control.
QStringList ClippedCaptions(const QWidget* window) {
    QStringList clipped;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            continue;
        const QFontMetrics metrics = label->fontMetrics();
        const QRect area = LabelTextRect(label);
        const int width =
            label->wordWrap()
                ? metrics.boundingRect(area, Qt::TextWordWrap | label->alignment(), label->text()).width()
                : metrics.horizontalAdvance(label->text());
        const int height =
            label->wordWrap()
                ? metrics.boundingRect(area, Qt::TextWordWrap | label->alignment(), label->text()).height()
                : metrics.height();
        if (width > area.width() || height > area.height())
            clipped << QStringLiteral("label %1 \"%2\" needs %3x%4, has %5x%6 (%7)")
                           .arg(NameOnScreen(label), label->text())
                           .arg(width)
                           .arg(height)
                           .arg(area.width())
                           .arg(area.height())
                           .arg(QFontInfo(label->font()).family());
    }
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty())
            continue;
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QFontMetrics metrics = button->fontMetrics();
        const int width = metrics.horizontalAdvance(button->text());
        if (width > area.width() || metrics.height() > area.height())
            clipped << QStringLiteral("button %1 \"%2\" needs %3x%4, has %5x%6 (%7)")
                           .arg(NameOnScreen(button), button->text())
                           .arg(width)
                           .arg(metrics.height())
                           .arg(area.width())
                           .arg(area.height())
                           .arg(QFontInfo(button->font()).family());
    }
    for (const QGroupBox* frame : window->findChildren<QGroupBox*>()) {
        if (frame->title().isEmpty())
            continue;
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.lineWidth = 1;
        option.textAlignment = frame->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        if (frame->isFlat())
            option.features |= QStyleOptionFrame::Flat;
        const QRect label =
            frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
        const int width = frame->fontMetrics().horizontalAdvance(frame->title());
        if (!frame->rect().contains(label) || label.width() < width)
            clipped << QStringLiteral("frame title %1 \"%2\" needs %3 px at x=%4, frame is %5 wide")
                           .arg(NameOnScreen(frame), frame->title())
                           .arg(width)
                           .arg(label.x())
                           .arg(frame->width());
    }
    return clipped;
}

// An empty text when `text` fits the text area of `edit`, else what is clipped.
QString BoxClips(const QLineEdit* edit, const QString& text) {
    const QFontMetrics metrics = edit->fontMetrics();
    const int needed = metrics.horizontalAdvance(text);
    const int available = LineEditTextWidth(edit);
    if (needed <= available && metrics.height() <= edit->height())
        return {};
    return QStringLiteral("%1 clips \"%2\": needs %3x%4 px, has %5x%6 (%7)")
        .arg(NameOnScreen(edit), text)
        .arg(needed)
        .arg(metrics.height())
        .arg(available)
        .arg(edit->height())
        .arg(QFontInfo(edit->font()).family());
}

// Controls that poke out of their parent or their window, which cut them off.
QStringList ControlsOutside(const QWidget* window) {
    QStringList outside;
    for (const QWidget* child : window->findChildren<QWidget*>()) {
        if (child->isWindow() || !child->parentWidget())
            continue;
        const QRect inWindow(child->mapTo(window, QPoint(0, 0)), child->size());
        if (!window->rect().contains(inWindow) || !child->parentWidget()->rect().contains(child->geometry()))
            outside << QStringLiteral("%1 at (%2,%3 %4x%5) in a %6x%7 parent, %8x%9 window")
                           .arg(NameOnScreen(child))
                           .arg(child->x())
                           .arg(child->y())
                           .arg(child->width())
                           .arg(child->height())
                           .arg(child->parentWidget()->width())
                           .arg(child->parentWidget()->height())
                           .arg(window->width())
                           .arg(window->height());
    }
    return outside;
}

// Each picture must be drawn from its vector source at device resolution: the grab has
// the device's pixel count and matches a direct rendering at that size, not a
// low-resolution one scaled up. An empty text when it is.
QString PictureFault(Picture* picture, double scale) {
    QSvgRenderer* renderer = picture->renderer();
    if (!renderer || !renderer->isValid())
        return NameOnScreen(picture) + QStringLiteral(" has no drawing");
    // A clickable picture draws its focus frame over the drawing; compare the drawing alone.
    picture->clearFocus();
    const QImage grabbed = picture->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QSize device = (QSizeF(picture->size()) * scale).toSize();
    if (grabbed.size() != device)
        return QStringLiteral("%1 grabs at %2x%3, not %4x%5")
            .arg(NameOnScreen(picture))
            .arg(grabbed.width())
            .arg(grabbed.height())
            .arg(device.width())
            .arg(device.height());
    auto draw = [&](qreal ratio) {
        QImage image((QSizeF(picture->size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(picture->palette().color(picture->backgroundRole()));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer->render(&painter, QRectF(QPointF(0, 0), QSizeF(picture->size())));
        painter.end();
        return image;
    };
    // Mean difference per colour channel, 0 to 255.
    auto distance = [](const QImage& a, const QImage& b) {
        qint64 sum = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
            }
        return double(sum) / (3.0 * a.width() * a.height());
    };
    const double toSharp = distance(grabbed, draw(scale));
    if (toSharp >= 1.0)
        return QStringLiteral("%1 differs from its drawing by %2 per channel")
            .arg(NameOnScreen(picture))
            .arg(toSharp);
    if (scale > 1.0) {
        const QImage blurred = draw(1.0).scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double toBlurred = distance(grabbed, blurred);
        if (2 * toSharp >= toBlurred)
            return QStringLiteral("%1 looks scaled up (%2 from sharp, %3 from blurred)")
                .arg(NameOnScreen(picture))
                .arg(toSharp)
                .arg(toBlurred);
    }
    return {};
}

// A picture drawn the wrong way: at one device pixel per logical pixel, then stretched.
class StretchedPicture : public Picture {
public:
    using Picture::Picture;

protected:
    void paintEvent(QPaintEvent*) override {
        QImage low(size(), QImage::Format_ARGB32_Premultiplied);
        low.fill(Qt::transparent);
        QPainter lowPainter(&low);
        renderer()->render(&lowPainter, QRectF(rect()));
        lowPainter.end();
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), low);
    }
};

} // namespace

class ScaleTest : public QObject {
    Q_OBJECT

private:
    QPointer<QWidget> m_screen;
    double m_scale = 1.0;

    QWidget* Open(Screen screen) {
        m_screen = OpenScreen(screen);
        if (!m_screen || !QTest::qWaitForWindowExposed(m_screen))
            return nullptr;
        return m_screen;
    }

    static void AddScreenRows() {
        QTest::addColumn<Screen>("screen");
        for (Screen s :
             {Screen::Form5, Screen::Main, Screen::Form3, Screen::Form1, Screen::Form2, Screen::Form4})
            QTest::newRow(qPrintable(ScreenName(s))) << s;
    }

private slots:
    void initTestCase() {
        m_scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                      ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                      : 1.0;
    }

    void cleanup() {
        if (m_screen) {
            m_screen->close();
            QTRY_VERIFY(m_screen.isNull());
        }
    }

    // The screens really run at the scale asked for, or nothing below tests it.
    void screensRunAtTheScale() {
        QWidget* screen = Open(Screen::Form5);
        QVERIFY(screen);
        QCOMPARE(screen->devicePixelRatioF(), m_scale);
    }

    // The checks themselves find what they look for: a window of deliberately cramped
    // controls beside roomy ones.
    void checksFindClipping() {
        QWidget window;
        window.resize(300, 200);
        auto* narrowLabel = new QLabel(QStringLiteral("序列号(12位)"), &window);
        narrowLabel->setGeometry(10, 10, 30, 20);
        auto* roomyLabel = new QLabel(QStringLiteral("型号"), &window);
        roomyLabel->setGeometry(10, 40, 120, 30);
        auto* narrowButton = new QPushButton(QStringLiteral("查看方法"), &window);
        narrowButton->setGeometry(10, 80, 30, 30);
        auto* narrowFrame = new QGroupBox(QStringLiteral("激活时间查询"), &window);
        narrowFrame->setGeometry(150, 10, 30, 60);
        auto* box = new QLineEdit(&window);
        box->setGeometry(150, 80, 60, 24);
        auto* outside = new QLineEdit(&window);
        outside->setGeometry(260, 120, 80, 24);
        auto* picture =
            new StretchedPicture(QStringLiteral(":/images/quenlio.svg"), QStringLiteral("图标"), &window);
        picture->setGeometry(10, 120, 64, 64);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QString clipped = ClippedCaptions(&window).join(QLatin1Char('\n'));
        QCOMPARE(ClippedCaptions(&window).size(), 3);
        QVERIFY2(clipped.contains(QStringLiteral("序列号(12位)")), qPrintable(clipped));
        QVERIFY2(clipped.contains(QStringLiteral("查看方法")), qPrintable(clipped));
        QVERIFY2(clipped.contains(QStringLiteral("激活时间查询")), qPrintable(clipped));
        QVERIFY(!BoxClips(box, QStringLiteral("iPhone 4S 16GB 白色(GSM)")).isEmpty());
        QVERIFY(BoxClips(box, QStringLiteral("是")).isEmpty());
        const QStringList outsiders = ControlsOutside(&window);
        QCOMPARE(outsiders.size(), 1);
        QVERIFY(outsiders.front().startsWith(QStringLiteral("QLineEdit")));
        // A picture stretched from one pixel per point is only wrong on a denser screen.
        QCOMPARE(PictureFault(picture, m_scale).isEmpty(), m_scale == 1.0);
    }

    void captionsFit_data() { AddScreenRows(); }

    void captionsFit() {
        QFETCH(Screen, screen);
        QWidget* window = Open(screen);
        QVERIFY(window);
        const QStringList clipped = ClippedCaptions(window);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
    }

    void boxValuesFit_data() {
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("values");
        for (const auto& [box, values] : Form5Values())
            QTest::addRow("Form5 %s", qPrintable(box)) << Screen::Form5 << box << values;
        for (const auto& [box, values] : Form3Values())
            QTest::addRow("Form3 %s", qPrintable(box)) << Screen::Form3 << box << values;
    }

    // The widest text a box can be given, in the box's own font, fits its text area.
    void boxValuesFit() {
        QFETCH(Screen, screen);
        QFETCH(QString, box);
        QFETCH(QStringList, values);
        values.removeAll(QString());
        QVERIFY2(!values.isEmpty(), "no values to show");
        QWidget* window = Open(screen);
        QVERIFY(window);
        auto* edit = window->findChild<QLineEdit*>(box);
        QVERIFY2(edit, qPrintable(QStringLiteral("no box named %1").arg(box)));
        const QFontMetrics metrics = edit->fontMetrics();
        const QString widest =
            box == QStringLiteral("Text1") ? WorstSerial(metrics, values) : Widest(metrics, values);
        const QString fault = BoxClips(edit, widest);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    void controlsInsideWindow_data() { AddScreenRows(); }

    void controlsInsideWindow() {
        QFETCH(Screen, screen);
        QWidget* window = Open(screen);
        QVERIFY(window);
        const QStringList outside = ControlsOutside(window);
        QVERIFY2(outside.isEmpty(), qPrintable(outside.join(QLatin1Char('\n'))));
    }

    void picturesSharp_data() { AddScreenRows(); }

    void picturesSharp() {
        QFETCH(Screen, screen);
        QWidget* window = Open(screen);
        QVERIFY(window);
        const auto pictures = window->findChildren<Picture*>();
        if (screen != Screen::Form3)
            QVERIFY2(!pictures.isEmpty(), "the screen shows no picture");
        for (Picture* picture : pictures) {
            const QString fault = PictureFault(picture, m_scale);
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
        }
    }
};

QTEST_MAIN(ScaleTest)
#include "scale_test.moc"
