// The shell's pictures: each drawn at its own size, inside its screen, and saying what it
// shows. Their texts are drawn as outlines (scripts/outline-pictures), from sources in
// ui/images/source whose texts are in a font that holds every character (no empty boxes).
#include "support/screen_support.hpp"

#include "quenlio/version.hpp"
#include "ui/fonts.hpp"
#include "ui/links.hpp"
#include "ui/picture.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMap>
#include <QPainter>
#include <QRawFont>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QtTest>

using namespace quenlio;
using namespace quenlio::test_support;

namespace {

struct SvgText {
    QString family;
    QString text;
    QXmlStreamAttributes attributes;
};

// The character data of every <text> element, tspans included, with its font-family.
QList<SvgText> ReadTexts(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<SvgText> texts;
    QXmlStreamReader xml(&file);
    int depth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"text") {
            if (depth++ == 0)
                texts.append({xml.attributes().value("font-family").toString(), QString(), xml.attributes()});
        } else if (xml.isEndElement() && xml.name() == u"text") {
            --depth;
        } else if (xml.isCharacters() && depth > 0) {
            texts.last().text += xml.text();
        }
    }
    return texts;
}

// The editable source of an embedded picture, where its texts are still text: found in
// the source tree beside this file, as the build does not embed it.
QString SourceOf(const QString& resource) {
    const QDir here = QFileInfo(QStringLiteral(__FILE__)).dir();
    return QDir::cleanPath(here.filePath("../../ui/images/source/" + QFileInfo(resource).fileName()));
}

// A font that asks for the families of an SVG font-family list in turn, as the outlines
// were drawn with.
QFont FontOfList(const QString& families) {
    QStringList names;
    for (const QString& name : families.split(u','))
        names << name.trimmed();
    QFont font;
    font.setFamilies(names);
    return font;
}

// The first element of the SVG or attribute of it that would make Qt look for a font,
// or an empty string.
QString FontUse(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unreadable");
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"text" || xml.name() == u"font")
            return xml.name().toString();
        if (xml.name() == u"style" && xml.readElementText().contains(u"font"))
            return QStringLiteral("style");
        for (const QXmlStreamAttribute& attribute : xml.attributes())
            if (attribute.name().startsWith(u"font") || attribute.value().contains(u"font"))
                return attribute.name().toString();
    }
    return xml.hasError() ? xml.errorString() : QString();
}

QStringList Titles(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList titles;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            (xml.name() == u"title" || xml.name() == u"desc"))
            titles << xml.readElementText();
    return titles;
}

QString AllText(const QString& resource) {
    QString all;
    for (const SvgText& text : ReadTexts(resource))
        all += text.text;
    return all;
}

const QString PictureFamilies =
    QStringLiteral("Noto Sans CJK SC, Noto Serif CJK SC, AR PL UKai CN, sans-serif");

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { CloseAllScreens(); }

    void picturesAreDrawnAtTheirOwnSize_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("resource");
        const QList<std::tuple<Screen, const char*, const char*>> rows{
            {Screen::Main, "Image1", "main_title"},      {Screen::Main, "Image2", "main_models12"},
            {Screen::Main, "Image3", "main_models11"},   {Screen::Main, "Image7", "main_help"},
            {Screen::Main, "Image6", "main_about"},      {Screen::Main, "Image4", "main_by"},
            {Screen::Main, "Image5", "main_contact"},    {Screen::Form1, "Image1", "form1_about"},
            {Screen::Form2, "Image1", "form2_notes"},    {Screen::Form2, "Image2", "form2_click"},
            {Screen::Form4, "Image1", "form4_settings"}, {Screen::Form4, "Image2", "form4_general"},
            {Screen::Form4, "Image3", "form4_about"},    {Screen::Form4, "Image4", "form4_details"}};
        for (const auto& [screen, control, resource] : rows)
            QTest::addRow("%s %s", AllScreens[std::size_t(screen)].second, control)
                << int(screen) << QString(control) << QString(":/images/%1.svg").arg(resource);
    }

    void picturesAreDrawnAtTheirOwnSize() {
        QFETCH(int, screen);
        QFETCH(QString, control);
        QFETCH(QString, resource);
        QWidget* opened = OpenScreen(Screen(screen));
        auto* picture = opened->findChild<Picture*>(control);
        QVERIFY(picture);
        QSvgRenderer renderer(resource);
        QVERIFY(renderer.isValid());
        // Drawn at any other size the picture would be stretched.
        QCOMPARE(picture->size(), renderer.defaultSize());
        QVERIFY(opened->rect().contains(picture->geometry()));
        QVERIFY(!picture->accessibleName().isEmpty());
    }

    void picturesOnAScreenDoNotOverlap_data() {
        QTest::addColumn<int>("screen");
        QTest::newRow("Main") << int(Screen::Main);
        QTest::newRow("Form2") << int(Screen::Form2);
        QTest::newRow("Form4") << int(Screen::Form4);
    }

    void picturesOnAScreenDoNotOverlap() {
        QFETCH(int, screen);
        QWidget* opened = OpenScreen(Screen(screen));
        QList<QWidget*> parts;
        for (QWidget* child : opened->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            parts << child;
        QVERIFY(parts.size() >= 2);
        for (int i = 0; i < parts.size(); ++i)
            for (int j = i + 1; j < parts.size(); ++j)
                QVERIFY2(!parts[i]->geometry().intersects(parts[j]->geometry()),
                         qPrintable(parts[i]->objectName() + " overlaps " + parts[j]->objectName()));
    }

    // Every character of every text must be in the font the picture's text resolves to;
    // a missing one is drawn as an empty box.
    void textsHaveTheirGlyphs_data() {
        QTest::addColumn<QString>("resource");
        const QStringList names =
            QDir(":/images").entryList({"main_*.svg", "form1_*.svg", "form2_*.svg", "form4_*.svg"});
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << ":/images/" + name;
    }

    void textsHaveTheirGlyphs() {
        QFETCH(QString, resource);
        const QList<SvgText> texts = ReadTexts(SourceOf(resource));
        QVERIFY(!texts.isEmpty());
        for (const SvgText& text : texts) {
            QVERIFY(!text.text.trimmed().isEmpty());
            bool latinOnly = true;
            for (QChar c : text.text)
                latinOnly = latinOnly && c.unicode() < 0x80;
            if (!latinOnly)
                QCOMPARE(text.family, PictureFamilies);
            const QFont font = FontOfList(text.family);
            const QString resolved = QFontInfo(font).family();
            if (!latinOnly)
                QCOMPARE(resolved, QString("Noto Sans CJK SC"));
            const QRawFont raw = QRawFont::fromFont(font);
            QVERIFY(raw.isValid());
            for (QChar c : text.text)
                QVERIFY2(
                    raw.supportsCharacter(c),
                    qPrintable(QString("%1 has no glyph for %2 in %3").arg(resolved, QString(c), text.text)));
        }
    }

    // Each line of text lies inside its picture, and lines on one baseline do not run
    // into each other. Widths are measured in the font the text resolves to.
    void textsFitTheirPictures_data() { textsHaveTheirGlyphs_data(); }

    void textsFitTheirPictures() {
        QFETCH(QString, resource);
        const QString source = SourceOf(resource);
        const double width = QSvgRenderer(source).viewBoxF().width();
        QMap<double, QList<QPair<double, double>>> spansByBaseline;
        const QList<SvgText> texts = ReadTexts(source);
        QVERIFY(!texts.isEmpty());
        for (const SvgText& text : texts) {
            const QXmlStreamAttributes& attributes = text.attributes;
            QFont font = FontOfList(text.family);
            font.setPixelSize(attributes.value("font-size").toInt());
            font.setBold(attributes.value("font-weight") == u"bold");
            font.setItalic(attributes.value("font-style") == u"italic");
            // Runs of blanks show as one, as in any SVG text.
            const double advance = QFontMetricsF(font).horizontalAdvance(text.text.simplified());
            double left = attributes.value("x").toDouble();
            if (attributes.value("text-anchor") == u"middle")
                left -= advance / 2;
            else if (attributes.value("text-anchor") == u"end")
                left -= advance;
            QVERIFY2(left >= 0 && left + advance <= width, qPrintable(QString("%1 spans %2..%3 of %4")
                                                                          .arg(text.text)
                                                                          .arg(left)
                                                                          .arg(left + advance)
                                                                          .arg(width)));
            auto& spans = spansByBaseline[attributes.value("y").toDouble()];
            for (const auto& [otherLeft, otherRight] : spans)
                QVERIFY2(left + advance <= otherLeft || left >= otherRight,
                         qPrintable(text.text + " overlaps"));
            spans.append({left, left + advance});
        }
    }

    void picturesSayWhatTheyShouldShow_data() {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QStringList>("phrases");
        QTest::newRow("menu title") << ":/images/main_title.svg" << QStringList{"请选择设备型号"};
        QTest::newRow("12-character models")
            << ":/images/main_models12.svg" << QStringList{"iPhone4S", "iPhone5", "iPhone4(8GB)"};
        QTest::newRow("11-character models")
            << ":/images/main_models11.svg" << QStringList{"iPhone4(16GB&32GB)", "iPhone3GS", "iPhone3G"};
        QTest::newRow("说明") << ":/images/main_help.svg" << QStringList{"说明"};
        QTest::newRow("关于") << ":/images/main_about.svg" << QStringList{"关于"};
        QTest::newRow("By") << ":/images/main_by.svg" << QStringList{"By", "Morlane"};
        QTest::newRow("contact badge") << ":/images/main_contact.svg" << QStringList{"和我联系"};
        QTest::newRow("about") << ":/images/form1_about.svg"
                               << QStringList{"Quenlio", quenlio::Version, "数据库截止2012.12.15",
                                              QUrl(QString(links::SecureShopPage)).host()};
        QTest::newRow("notes") << ":/images/form2_notes.svg"
                               << QStringList{
                                      "①支持iPhone全系列序列号查询", "②请务必输入正确的序列号和型号进行查询",
                                      "③iPhone-设置-通用-关于本机", "④查询结果仅供参考", "⑤关于售后换机"};
        QTest::newRow("点击此处") << ":/images/form2_click.svg" << QStringList{"点击此处"};
        QTest::newRow("Settings icon") << ":/images/form4_settings.svg" << QStringList{"设置"};
        QTest::newRow("General row") << ":/images/form4_general.svg" << QStringList{"通用"};
        QTest::newRow("About row") << ":/images/form4_about.svg" << QStringList{"关于本机"};
        QTest::newRow("numbers") << ":/images/form4_details.svg" << QStringList{"型号", "MD239CH", "序列号"};
    }

    void picturesSayWhatTheyShouldShow() {
        QFETCH(QString, resource);
        QFETCH(QStringList, phrases);
        const QString all = AllText(SourceOf(resource));
        for (const QString& phrase : phrases)
            QVERIFY2(all.contains(phrase), qPrintable(phrase));
    }

    // No picture makes the program look for a font: its texts are outlines, drawn from a
    // source of the same size that says the same to assistive technology.
    void picturesDrawTheirTextsAsOutlines() {
        const QStringList pictures = QDir(":/images").entryList({"*.svg"});
        QVERIFY(pictures.size() >= 20);
        int outlined = 0;
        for (const QString& name : pictures) {
            const QString resource = ":/images/" + name;
            QVERIFY2(FontUse(resource).isEmpty(), qPrintable(name + " uses a font: " + FontUse(resource)));
            const QString source = SourceOf(resource);
            if (!QFile::exists(source))
                continue;
            ++outlined;
            QSvgRenderer picture(resource), original(source);
            QVERIFY2(picture.isValid() && original.isValid(), qPrintable(name));
            QCOMPARE(picture.defaultSize(), original.defaultSize());
            QCOMPARE(picture.viewBoxF(), original.viewBoxF());
            QCOMPARE(Titles(resource), Titles(source));
        }
        // Every source has its outlined picture in the program.
        QCOMPARE(outlined, QDir(QFileInfo(SourceOf("x.svg")).path()).entryList({"*.svg"}).size());
        QVERIFY(outlined >= 15);
    }

    void form4CaptionUsesTheLargeSongFont() {
        QWidget* form4 = OpenScreen(Screen::Form4);
        auto* label = form4->findChild<QLabel*>("Label1");
        QVERIFY(label);
        QCOMPARE(label->text(), QString("设置→通用→关于本机→序列号、型号"));
        QCOMPARE(label->accessibleName(), label->text());
        QCOMPARE(label->font().pointSizeF(), 15.75);
        QCOMPARE(label->font().families(), fonts::Song(15.75).families());
        // The whole caption fits on its line.
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    }

    // At twice the pixel density the screens are drawn anew from their vectors, not
    // enlarged: the doubled image has detail the single one cannot have.
    void screensDrawSharplyAtTwiceTheDensity_data() {
        QTest::addColumn<int>("screen");
        QTest::newRow("Main") << int(Screen::Main);
        QTest::newRow("Form1") << int(Screen::Form1);
        QTest::newRow("Form2") << int(Screen::Form2);
        QTest::newRow("Form4") << int(Screen::Form4);
    }

    void screensDrawSharplyAtTwiceTheDensity() {
        QFETCH(int, screen);
        QWidget* opened = OpenScreen(Screen(screen));
        QVERIFY(QTest::qWaitForWindowExposed(opened));
        QImage single(opened->size(), QImage::Format_RGB32);
        opened->render(&single);
        QImage twice(opened->size() * 2, QImage::Format_RGB32);
        twice.setDevicePixelRatio(2);
        opened->render(&twice);
        const QImage enlarged = single.scaled(twice.size()).convertToFormat(QImage::Format_RGB32);
        twice.setDevicePixelRatio(1);
        int differing = 0;
        for (int y = 0; y < twice.height(); ++y)
            for (int x = 0; x < twice.width(); ++x)
                differing += twice.pixel(x, y) != enlarged.pixel(x, y);
        QVERIFY2(differing > twice.width() * twice.height() / 100, qPrintable(QString::number(differing)));
    }

    // The window icon shows a picture at every size a taskbar asks for, not an empty square:
    // it comes from the SVG through Qt Svg's icon engine, which a static Qt must have linked in.
    void windowIconIsDrawn() {
        const QIcon icon(QStringLiteral(":/images/quenlio.svg"));
        for (const int side : {16, 32, 64}) {
            const QImage drawn = icon.pixmap(side, side).toImage();
            QCOMPARE(drawn.size(), QSize(side, side));
            int opaque = 0;
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x)
                    opaque += qAlpha(drawn.pixel(x, y)) == 255;
            QVERIFY2(opaque > side * side / 4,
                     qPrintable(QStringLiteral("%1 of %2").arg(opaque).arg(side * side)));
        }
    }
};

QTEST_MAIN(PicturesTest)
#include "test_pictures.moc"
