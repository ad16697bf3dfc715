#include "ui/picture.hpp"

#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace quenlio {

namespace {
// The pictures name their fonts as one list; this Qt's SVG reader takes such a list for a
// single family name, so it is taught the list as a family of its own.
void TeachPictureFontList() {
    static const bool taught = [] {
        QFont::insertSubstitutions(
            QStringLiteral("Noto Sans CJK SC, Noto Serif CJK SC, AR PL UKai CN, sans-serif"),
            {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC"),
             QStringLiteral("AR PL UKai CN"), QStringLiteral("sans-serif")});
        return true;
    }();
    (void)taught;
}
} // namespace

Picture::Picture(const QString& resource, const QString& description, QWidget* parent)
    : QWidget(parent), m_renderer(new QSvgRenderer(resource, this)) {
    TeachPictureFontList();
    setAccessibleName(description);
    setToolTip(QString());
}

void Picture::setHandPointer(bool on) {
    if (on)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_renderer->render(&painter, QRectF(rect()));
}

void Picture::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

// A click is a press and a release over the picture, as with a button.
void Picture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QWidget::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(text);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

} // namespace quenlio
