#include "ui/picture.hpp"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QSvgRenderer>

namespace quenlio {

namespace {

// Eats the second click of a double-click whose first click made a control act: its
// press, the double-click event Qt adds and its release, on whatever widget of whatever
// window is now under the pointer. Qt pairs two presses by time and distance alone, and
// so does this.
class SecondClickFilter : public QObject {
public:
    using QObject::QObject;

    void Arm(quint64 pressTime, QPointF pressAt) {
        m_armed = true;
        m_pressTime = pressTime;
        m_pressAt = pressAt;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A press reaches its window before its widget; judge it once, at the widget.
        if (!watched->isWidgetType())
            return false;
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
            type != QEvent::MouseButtonRelease)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        // Qt delivers the second press of a double-click to widgets as the double-click
        // event alone, or on some paths as a press followed by it.
        if (type == QEvent::MouseButtonDblClick && m_swallowing)
            return true;
        if (type != QEvent::MouseButtonRelease) {
            m_swallowing = m_armed && PairsWithArmedPress(*mouse);
            // Only the next press can be the second click; one that goes on to a parent
            // comes here again and must not be judged twice.
            m_armed = false;
            return m_swallowing;
        }
        const bool swallow = m_swallowing;
        m_swallowing = false;
        return swallow;
    }

private:
    bool PairsWithArmedPress(const QMouseEvent& press) const {
        const QStyleHints* hints = QGuiApplication::styleHints();
        const QPointF moved = press.globalPosition() - m_pressAt;
        const int distance = hints->mouseDoubleClickDistance();
        return press.timestamp() >= m_pressTime &&
               press.timestamp() - m_pressTime < static_cast<quint64>(hints->mouseDoubleClickInterval()) &&
               qAbs(moved.x()) <= distance && qAbs(moved.y()) <= distance;
    }

    bool m_armed = false;
    bool m_swallowing = false;
    quint64 m_pressTime = 0;
    QPointF m_pressAt;
};

SecondClickFilter& SecondClicks() {
    static SecondClickFilter* filter = [] {
        auto* made = new SecondClickFilter(qApp);
        qApp->installEventFilter(made);
        return made;
    }();
    return *filter;
}

} // namespace

void ClickRule::setClickable(bool clickable) {
    m_clickable = clickable;
    m_control->setFocusPolicy(clickable ? Qt::TabFocus : Qt::NoFocus);
    if (clickable)
        SecondClicks();
}

void ClickRule::press(QMouseEvent* event) {
    m_pressed = m_clickable && event->button() == Qt::LeftButton;
    m_pressTime = event->timestamp();
    m_pressAt = event->globalPosition();
}

// A click is a press and a release over the control, as with a button.
bool ClickRule::release(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       m_control->rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        SecondClicks().Arm(m_pressTime, m_pressAt);
    return click;
}

// Enter and Space press a focused control once, however long the key is held.
bool ClickRule::key(QKeyEvent* event) const {
    if (!m_clickable || event->isAutoRepeat() || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const int key = event->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

// Two pixels of a dark highlight colour along the edge, lined inside with two of white:
// one of the two stands out on any picture, light or dark, and both are whole pixels
// at any scale.
void ClickRule::paintFocus(QPainter& painter) const {
    if (!m_clickable || !m_control->hasFocus())
        return;
    const QRectF edge(m_control->rect());
    const QColor dark = m_control->palette().color(QPalette::Highlight).darker(170);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(dark, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(edge.adjusted(1, 1, -1, -1));
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(edge.adjusted(3, 3, -3, -3));
    painter.restore();
}

Picture::Picture(const QString& resource, const QString& description, QWidget* parent)
    : QWidget(parent), m_resource(resource) {
    setAccessibleName(description);
    setToolTip(QString());
}

void Picture::setClickable(Pointer pointer) {
    m_click.setClickable(true);
    if (pointer == Pointer::Hand)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

QSvgRenderer* Picture::renderer() {
    if (!m_renderer)
        m_renderer = new QSvgRenderer(m_resource, this);
    return m_renderer;
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer()->render(&painter, QRectF(rect()));
    m_click.paintFocus(painter);
}

void Picture::mousePressEvent(QMouseEvent* event) {
    m_click.press(event);
    QWidget::mousePressEvent(event);
}

void Picture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_click.release(event);
    QWidget::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

void Picture::keyPressEvent(QKeyEvent* event) {
    if (!m_click.key(event))
        return QWidget::keyPressEvent(event);
    event->accept();
    emit clicked();
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(text);
    m_click.setClickable(true);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    QPainter painter(this);
    m_click.paintFocus(painter);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    m_click.press(event);
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_click.release(event);
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    if (!m_click.key(event))
        return QLabel::keyPressEvent(event);
    event->accept();
    emit clicked();
}

} // namespace quenlio
