#pragma once
// A picture control: an SVG drawn at the control's size (sharp at any scale), and a
// label that reacts to clicks. Clickable ones show the hand pointer.
#include <QLabel>
#include <QWidget>

class QSvgRenderer;

namespace quenlio {

class Picture : public QWidget {
    Q_OBJECT
public:
    // `resource` is a Qt resource path such as ":/images/banner.svg"; `description`
    // is the accessible name, what the picture shows.
    Picture(const QString& resource, const QString& description, QWidget* parent = nullptr);

    // Shows the hand pointer while the mouse is over the picture.
    void setHandPointer(bool on);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QSvgRenderer* m_renderer;
    bool m_pressed = false;
};

// A caption that acts as a link ("返回"): emits clicked() on a left click.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace quenlio
