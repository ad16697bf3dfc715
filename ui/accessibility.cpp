#include "ui/accessibility.hpp"

#include "ui/picture.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMetaObject>
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
        // As a mouse click: nothing happens on a disabled or hidden control.
        if (actionName == pressAction() && IsClickable(widget()) && widget()->isEnabled() &&
            widget()->isVisible())
            QMetaObject::invokeMethod(widget(), "clicked", Qt::QueuedConnection);
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
