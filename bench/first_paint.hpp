#pragma once
// Ends the program as soon as a window has been painted once, so a start-up timing
// covers everything up to the first picture on the screen and nothing after it.
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

namespace quenlio::bench {

class QuitAtFirstPaint : public QObject {
public:
    explicit QuitAtFirstPaint(QWidget* window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            // Queued, so the paint in progress completes before the program ends.
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_painted = false;
};

} // namespace quenlio::bench
