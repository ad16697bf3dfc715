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

namespace quenlio {

namespace {

// Pictures that do nothing offer no action: a screen reader must not invite a press.
bool IsClickable(const QWidget* widget) {
    if (const auto* picture = qobject_cast<const Picture*>(widget))
        return picture->isClickable();
    return qobject_cast<const LinkLabel*>(widget) != nullptr;
}

// True while a modal box blocks the window: its controls take no input, from the mouse or
// from assistive technology. A box blocks every other window, or, when it is window-modal,
// the windows it belongs to.
bool IsBlockedByModalBox(const QWidget* window) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return false;
    for (const QWidget* owner = window; owner; owner = owner->parentWidget())
        if (owner == modal)
            return false; // the box itself, or a window it opened
    if (modal->windowModality() != Qt::WindowModal)
        return true;
    for (const QWidget* blocked = modal->parentWidget(); blocked; blocked = blocked->parentWidget())
        if (blocked->window() == window)
            return true;
    return false;
}

// As a mouse click: nothing happens on a disabled or hidden control, nor under a modal box,
// where the press would run inside the box's event loop and might close the box's own window.
bool CanPress(const QWidget* widget) {
    return IsClickable(widget) && widget->isEnabled() && widget->isVisible() &&
           !IsBlockedByModalBox(widget->window());
}

// A picture or link label: an image or a link whose one action, when it has one, is the
// click.
class ClickableAccessible : public QAccessibleWidget {
public:
    ClickableAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

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

    void doAction(const QString& actionName) override {
        // The press runs once the screen reader has had its answer, and only if the control
        // can still be pressed then: a box may have come up in between.
        if (actionName != pressAction() || !CanPress(widget()))
            return;
        QPointer<QWidget> target = widget();
        QMetaObject::invokeMethod(
            target,
            [target] {
                if (target && CanPress(target))
                    QMetaObject::invokeMethod(target, "clicked");
            },
            Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
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

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String("quenlio::Picture"))
        return new ClickableAccessible(widget, QAccessible::Graphic);
    if (className == QLatin1String("quenlio::LinkLabel"))
        return new ClickableAccessible(widget, QAccessible::Link);
    // The six screens are plain widgets of the program's own classes shown as windows.
    if (widget->isWindow() && !qobject_cast<QDialog*>(widget) &&
        className.startsWith(QLatin1String("quenlio::")) && widget->metaObject()->className() == className)
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
        QAccessible::installFactory(Factory);
        qApp->installEventFilter(new EnterPressesButtons(qApp));
        return true;
    }();
    (void)installed;
}

} // namespace quenlio
