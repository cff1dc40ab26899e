#include "KeyPressFilter.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#include <algorithm>

namespace {

bool reachesFrom(const QAction& action, const QWidget& owner, const QWidget& control) {
    switch (action.shortcutContext()) {
    case Qt::WidgetShortcut:
        return &owner == &control;
    case Qt::WidgetWithChildrenShortcut:
        return &owner == &control || owner.isAncestorOf(&control);
    default:
        return true;
    }
}

bool anyTakes(const QList<QAction*>& actions, const QWidget& owner, const QWidget& control,
              const QKeySequence& pressed) {
    return std::ranges::any_of(actions, [&](const QAction* action) {
        if (action->menu() &&
            anyTakes(action->menu()->actions(), *action->menu(), control, pressed))
            return true;
        return action->isEnabled() && action->isVisible() &&
               action->shortcuts().contains(pressed) && reachesFrom(*action, owner, control);
    });
}

// Whether an action of the control's window, its menus or one of its widgets runs on the key.
bool shortcutTakes(const QWidget& control, const QKeyEvent& key) {
    const QKeySequence pressed(key.keyCombination());
    QWidget* window = control.window();
    if (anyTakes(window->actions(), *window, control, pressed))
        return true;
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    return std::ranges::any_of(widgets, [&](const QWidget* owner) {
        return anyTakes(owner->actions(), *owner, control, pressed);
    });
}

// A keyboard gives Ctrl+letter, with or without Shift, its control code as text; Qt's test events
// give it the letter. A printable text is no character typed when a shortcut takes the key.
QString controlCode(const QKeyEvent& key) {
    if (key.modifiers() & Qt::ControlModifier && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return QString(QChar(key.key() - Qt::Key_A + 1));
    const QString text = key.text();
    return text.size() == 1 && text[0].category() == QChar::Other_Control ? text : QString();
}

} // namespace

KeyPressFilter::KeyPressFilter(QWidget* control, Handler handler)
    : QObject(control), handler_(std::move(handler)) {
    control->installEventFilter(this);
}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Qt gives Delete the text 0x7F, but Delete deletes rather than types a character.
        if (key->key() != Qt::Key_Delete)
            pass(key->text());
        break;
    }
    case QEvent::InputMethod:
        pass(static_cast<QInputMethodEvent*>(event)->commitString());
        break;
    case QEvent::ShortcutOverride:
        shortcutOverride(*static_cast<QWidget*>(watched), *static_cast<QKeyEvent*>(event));
        return true;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// A key that a shortcut takes never arrives as a key press. The control claims the keys it
// handles itself (Ctrl+C, Ctrl+V) by accepting the override, so it is asked first; those keys
// then arrive as key presses and must not be passed twice.
void KeyPressFilter::shortcutOverride(QWidget& control, QKeyEvent& key) const {
    static_cast<QObject&>(control).event(&key);
    if (!key.isAccepted() && shortcutTakes(control, key))
        pass(controlCode(key));
}

void KeyPressFilter::pass(const QString& characters) const {
    for (QChar character : characters) {
        if (character.unicode() != 0x7F)
            handler_(static_cast<std::int16_t>(character.unicode()));
    }
}
