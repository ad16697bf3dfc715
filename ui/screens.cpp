#include "ui/screens.hpp"

#include "ui/accessibility.hpp"
#include "ui/fonts.hpp"
#include "ui/form1.hpp"
#include "ui/form2.hpp"
#include "ui/form3.hpp"
#include "ui/form4.hpp"
#include "ui/form5.hpp"
#include "ui/main_menu.hpp"

#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <QWidget>
#include <quenlio/version.hpp>

#include <algorithm>
#include <array>

namespace quenlio {

namespace {

std::array<QPointer<QWidget>, ScreenCount> g_open;

QWidget* Create(Screen screen) {
    switch (screen) {
    case Screen::Form5:
        return new Form5;
    case Screen::Main:
        return new Main;
    case Screen::Form3:
        return new Form3;
    case Screen::Form1:
        return new Form1;
    case Screen::Form2:
        return new Form2;
    case Screen::Form4:
        return new Form4;
    }
    return nullptr;
}

// A closed screen lingers until its deferred deletion runs; it no longer counts as
// open, or a quick "返回" and back would raise the dying one instead of a fresh one.
bool IsOpen(const QPointer<QWidget>& slot) {
    return slot && slot->isVisible();
}

// The window icon, drawn from the menu's SVG at the sizes window managers and taskbars ask for by
// the renderer the pictures use. A QIcon made from the SVG file would instead load Qt's SVG
// icon-engine plugin at start-up, for about 3 % of the time to the first screen.
QIcon WindowIcon() {
    QSvgRenderer renderer(QStringLiteral(":/images/quenlio.svg"));
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// Fusion, the style Qt picks where the desktop names none, draws the frame of a group box from a
// PNG that it loads by file name, and Qt then loads every image-format plugin to ask whether it
// reads PNG before reading it itself: about 4 % of the time to the first screen. This draws the
// same frame, a faint grey line with rounded corners around a slightly darker face, with a few
// lines instead. Other styles are left as they are.
class FusionFrames : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_FrameGroupBox) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        // Below the title, where Fusion puts it.
        constexpr int MarginAboveFrame = 3;
        const auto* box = qobject_cast<const QGroupBox*>(widget);
        const int top = box != nullptr && !box->isCheckable() && box->title().isEmpty()
                            ? MarginAboveFrame
                            : std::max(baseStyle()->pixelMetric(PM_ExclusiveIndicatorHeight),
                                       option->fontMetrics.height()) +
                                  MarginAboveFrame;
        // A line one pixel inside the frame's rectangle, without its corner pixels, which rounds
        // the corners as Fusion's picture does, and a fainter one just inside it.
        const QRect line = option->rect.adjusted(1, 1 + top, 0, 0);
        const auto outline = [painter](const QRect& r, int inset, const QColor& colour) {
            const QRect in = r.adjusted(inset, inset, -inset, -inset);
            const QLine edges[] = {{in.left() + 1, in.top(), in.right() - 1, in.top()},
                                   {in.left() + 1, in.bottom(), in.right() - 1, in.bottom()},
                                   {in.left(), in.top() + 1, in.left(), in.bottom() - 1},
                                   {in.right(), in.top() + 1, in.right(), in.bottom() - 1}};
            painter->setPen(colour);
            painter->drawLines(edges, 4);
        };
        painter->save();
        painter->fillRect(line.adjusted(1, 1, -1, -1), QColor(0, 0, 0, 3));
        outline(line, 0, QColor(117, 117, 117, 50));
        outline(line, 1, QColor(0, 0, 0, 6));
        painter->restore();
    }
};

} // namespace

QWidget* FindScreen(Screen screen) {
    const QPointer<QWidget>& slot = g_open[static_cast<std::size_t>(screen)];
    return IsOpen(slot) ? slot.data() : nullptr;
}

QWidget* OpenScreen(Screen screen) {
    QPointer<QWidget>& slot = g_open[static_cast<std::size_t>(screen)];
    if (!IsOpen(slot)) {
        slot = Create(screen);
        // Closing a screen discards it; the program ends with the last one.
        slot->setAttribute(Qt::WA_DeleteOnClose);
        slot->show();
    } else {
        if (slot->isMinimized())
            slot->showNormal();
        slot->raise();
    }
    slot->activateWindow();
    return slot.data();
}

void PrepareApplication() {
    QApplication::setApplicationName(QStringLiteral("Quenlio"));
    QApplication::setApplicationVersion(QString::fromLatin1(Version));
    QApplication::setDesktopFileName(QStringLiteral("example.quenlio.Quenlio"));
    // Message boxes and anything without a font of its own use the screens' 宋体, not
    // whatever the desktop happens to offer for Chinese.
    QApplication::setFont(fonts::Song());
    // The menu's icon on every window too.
    QApplication::setWindowIcon(WindowIcon());
    if (QApplication::style()->name() == QLatin1String("fusion"))
        QApplication::setStyle(new FusionFrames(QApplication::style()->name()));
    InstallAccessibility();
}

} // namespace quenlio
