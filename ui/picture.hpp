#pragma once
// A picture control: an SVG drawn at the control's size (sharp at any scale), and a
// label that reacts to clicks. Clickable ones show the hand pointer.
#include <QLabel>
#include <QPointF>
#include <QWidget>

class QKeyEvent;
class QMouseEvent;
class QPainter;
class QSvgRenderer;

namespace quenlio {

// What every clickable picture and link shares: a click is a left press and release
// over the control, or Enter or Space while it has the focus; a clickable control takes
// the focus with Tab (never with the mouse, so a click does not pull the focus out of a
// box) and shows a frame while it has it. The second click of a double-click does
// nothing, wherever it lands: by then the first may have opened a screen under it.
class ClickRule {
public:
    explicit ClickRule(QWidget* control) : m_control(control) {}

    void setClickable(bool clickable);
    bool isClickable() const { return m_clickable; }

    // `release` and `key` return true when the event completes a click.
    void press(QMouseEvent* event);
    bool release(QMouseEvent* event);
    bool key(QKeyEvent* event) const;

    // Draws the focus frame over what the control has painted.
    void paintFocus(QPainter& painter) const;

private:
    QWidget* m_control;
    bool m_clickable = false;
    bool m_pressed = false;
    quint64 m_pressTime = 0;
    QPointF m_pressAt;
};

class Picture : public QWidget {
    Q_OBJECT
public:
    // `resource` is a Qt resource path such as ":/images/banner.svg"; `description`
    // is the accessible name, what the picture shows.
    Picture(const QString& resource, const QString& description, QWidget* parent = nullptr);

    enum class Pointer { Hand, Normal };
    // Makes the picture react to the mouse and the keyboard (see ClickRule); `pointer`
    // is the mouse pointer over it. A picture that does nothing stays inert.
    void setClickable(Pointer pointer = Pointer::Hand);
    bool isClickable() const { return m_click.isClickable(); }

    // The drawing, read from the resource when it is first needed (at the first paint),
    // so a picture not yet shown, such as a hidden photo, costs nothing at start-up.
    QSvgRenderer* renderer();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_resource;
    QSvgRenderer* m_renderer = nullptr;
    ClickRule m_click{this};
};

// A caption that acts as a link ("返回"), always clickable, with the hand pointer.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ClickRule m_click{this};
};

} // namespace quenlio
