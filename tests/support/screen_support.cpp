#include "support/screen_support.hpp"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QTest>
#include <QWidget>

namespace quenlio::test_support {

QString ScreenName(Screen screen) {
    for (const auto& [each, name] : AllScreens)
        if (each == screen)
            return QString::fromLatin1(name);
    return QStringLiteral("?");
}

void LetEventsRun() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QStringList OpenScreenNames() {
    QStringList names;
    for (const auto& [screen, name] : AllScreens)
        if (FindScreen(screen))
            names << QString::fromLatin1(name);
    return names;
}

int VisibleWindowCount() {
    int count = 0;
    for (const QWidget* widget : QApplication::topLevelWidgets())
        count += widget->isVisible() ? 1 : 0;
    return count;
}

void CloseAllScreens() {
    for (const auto& entry : AllScreens)
        if (QWidget* open = FindScreen(entry.first))
            open->close();
    LetEventsRun();
}

QWidget* Control(QWidget* screen, const char* name) {
    return screen ? screen->findChild<QWidget*>(QString::fromLatin1(name)) : nullptr;
}

CloseWatcher::CloseWatcher(QWidget* screen) {
    screen->installEventFilter(this);
}

bool CloseWatcher::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Close) {
        closed = true;
        openWhenClosing = OpenScreenNames();
    }
    return false;
}

int Chars(const QString& text) {
    return static_cast<int>(CharLength(text));
}

QString Describe(const QWidget* widget) {
    if (!widget)
        return QStringLiteral("nothing");
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

QWidget* KeyboardTarget(QWidget* screen) {
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->window() == screen)
        return focus;
    QWidget* inner = screen->focusWidget();
    return inner ? inner : screen;
}

void Click(QWidget* control) {
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

void TypeAtFocus(const QString& text) {
    for (const QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        if (!target)
            return;
        QTest::keyClick(target, c.toLatin1());
    }
}

QString TypeText(QWidget* screen, const QString& text) {
    QString what = QStringLiteral("type \"%1\" ->").arg(text);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, width);
        i += width - 1;
        QWidget* target = KeyboardTarget(screen);
        what += QLatin1Char(' ') + Describe(target);
        const char latin = character.at(0).toLatin1();
        const Qt::Key key = latin >= 'a' && latin <= 'z'   ? Qt::Key(Qt::Key_A + (latin - 'a'))
                            : latin >= ' ' && latin <= '~' ? Qt::Key(character.at(0).toUpper().unicode())
                                                           : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, target, key, character, Qt::NoModifier);
    }
    return what;
}

QString PasteText(QWidget* screen, const QString& text, bool replace) {
    QGuiApplication::clipboard()->setText(text);
    QWidget* target = KeyboardTarget(screen);
    if (replace)
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    return QStringLiteral("%1 \"%2\" -> %3")
        .arg(replace ? QStringLiteral("Ctrl+A, paste") : QStringLiteral("paste"), text, Describe(target));
}

} // namespace quenlio::test_support
