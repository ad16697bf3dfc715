#include "ui/accessibility.hpp"

#include "ui/picture.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <QWindow>

namespace quenlio {

namespace {

// Pictures that do nothing offer no action: a screen reader must not invite a press.
bool IsClickable(const QWidget* widget) {
    if (const auto* picture = qobject_cast<const Picture*>(widget))
        return picture->isClickable();
    return qobject_cast<const LinkLabel*>(widget) != nullptr;
}

// The windows a modal box blocks now. Qt tells each window with WindowBlocked and
// WindowUnblocked as boxes come and go, whatever their modality, so this only listens.
class BlockedWindows : public QObject {
public:
    using QObject::QObject;

    bool blocks(const QWidget* widget) const {
        const QWindow* window = widget->window()->windowHandle();
        return window && m_blocked.contains(window);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWindowType())
            return false;
        m_blocked.removeAll(nullptr);
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::WindowBlocked && !m_blocked.contains(window))
            m_blocked.append(window);
        else if (event->type() == QEvent::WindowUnblocked)
            m_blocked.removeAll(window);
        return false;
    }

private:
    QList<QPointer<QWindow>> m_blocked;
};

BlockedWindows* g_blocked = nullptr;

// As a mouse click: nothing happens on a disabled or hidden control, nor under a modal box,
// where the press would run inside the box's event loop and might close the box's own window.
bool CanAct(const QWidget* widget) {
    return widget->isEnabled() && widget->isVisible() && !(g_blocked && g_blocked->blocks(widget));
}

// Every control of the screens that a screen reader can press: its actions are refused when
// they arrive under a modal box, and once more when they would run, a moment later, since a
// box may have come up in between.
class ActionAccessible : public QAccessibleWidget {
public:
    ActionAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    void doAction(const QString& actionName) override {
        if (!CanAct(widget()) || !actionNames().contains(actionName))
            return;
        QPointer<QWidget> target = widget();
        QMetaObject::invokeMethod(
            target,
            [this, target, actionName] {
                if (target && CanAct(target))
                    act(actionName);
            },
            Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

protected:
    virtual void act(const QString& actionName) { QAccessibleWidget::doAction(actionName); }
};

// A picture or link label: an image or a link whose one action, when it has one, is the
// click.
class ClickableAccessible : public ActionAccessible {
public:
    using ActionAccessible::ActionAccessible;

    QString text(QAccessible::Text t) const override {
        // A link reads out its caption when nothing else was set.
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            if (const auto* label = qobject_cast<const QLabel*>(widget()))
                return label->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        return IsClickable(widget()) ? QStringList{pressAction()} : QStringList{};
    }

protected:
    void act(const QString&) override {
        if (IsClickable(widget()))
            QMetaObject::invokeMethod(widget(), "clicked");
    }
};

// A push button of a screen, as Qt presents one: named by its caption, pressed as a click.
class ButtonAccessible : public ActionAccessible {
public:
    explicit ButtonAccessible(QPushButton* button) : ActionAccessible(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return button()->text().remove(QLatin1Char('&'));
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = button()->isDown();
        s.defaultButton = button()->isDefault();
        return s;
    }

    QStringList actionNames() const override {
        if (!widget()->isEnabled())
            return {};
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

protected:
    void act(const QString& actionName) override {
        if (actionName == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    QPushButton* button() const { return static_cast<QPushButton*>(widget()); }
};

// A screen is a top-level window of its own, not an anonymous pane.
class ScreenAccessible : public QAccessibleWidget {
public:
    explicit ScreenAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Window) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.active = widget()->isActiveWindow();
        return s;
    }
};

// The six screens are plain widgets of the program's own classes shown as windows.
bool IsScreen(const QWidget* widget) {
    return widget->isWindow() && !qobject_cast<const QDialog*>(widget) &&
           QLatin1String(widget->metaObject()->className()).startsWith(QLatin1String("quenlio::"));
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String("quenlio::Picture"))
        return new ClickableAccessible(widget, QAccessible::Graphic);
    if (className == QLatin1String("quenlio::LinkLabel"))
        return new ClickableAccessible(widget, QAccessible::Link);
    // The screens' buttons; those of the message boxes stay Qt's own.
    if (className == QLatin1String("QPushButton") && IsScreen(widget->window()))
        return new ButtonAccessible(static_cast<QPushButton*>(widget));
    if (IsScreen(widget) && widget->metaObject()->className() == className)
        return new ScreenAccessible(widget);
    return nullptr;
}

// Outside dialogs Qt presses a focused button with Space only; users of the keyboard
// expect Enter to do the same, as it does in dialogs and on other desktops.
class EnterPressesButtons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (!button || button->autoDefault() || modifiers != Qt::NoModifier || !button->isEnabled() ||
            (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->isAutoRepeat())
            return false;
        button->animateClick();
        return true;
    }
};

} // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        g_blocked = new BlockedWindows(qApp);
        qApp->installEventFilter(g_blocked);
        QAccessible::installFactory(Factory);
        qApp->installEventFilter(new EnterPressesButtons(qApp));
        return true;
    }();
    (void)installed;
}

} // namespace quenlio
