#include "KeyPressFilter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

KeyPressFilter::KeyPressFilter(QWidget* control, Handler handler)
    : QObject(control), handler_(std::move(handler)) {
    control->installEventFilter(this);
}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Qt gives Delete the text 0x7F, but Delete deletes rather than types a character.
        if (key->key() != Qt::Key_Delete)
            pass(key->text());
    } else if (event->type() == QEvent::InputMethod) {
        pass(static_cast<QInputMethodEvent*>(event)->commitString());
    }
    return QObject::eventFilter(watched, event);
}

void KeyPressFilter::pass(const QString& characters) const {
    for (QChar character : characters) {
        if (character.unicode() != 0x7F)
            handler_(static_cast<std::int16_t>(character.unicode()));
    }
}
