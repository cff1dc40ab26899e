#include "TextBox.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextDocument>

bool TextBox::canInsertFromMimeData(const QMimeData* source) const {
    return source != nullptr && source->hasText();
}

void TextBox::insertFromMimeData(const QMimeData* source) {
    if (canInsertFromMimeData(source))
        insertPlainText(source->text());
}

void TextBox::addContextActions(const QList<QAction*>& actions) {
    contextActions_ += actions;
}

void TextBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu(event->pos());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (!contextActions_.isEmpty()) {
        menu->addSeparator();
        menu->addActions(contextActions_);
    }
    menu->popup(event->globalPos());
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    reportTyped(event->text(), [this, event] { QPlainTextEdit::keyPressEvent(event); });
}

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    reportTyped(event->commitString(), [this, event] { QPlainTextEdit::inputMethodEvent(event); });
}

// Told after the editor has handled the key, since what the key does depends on the character
// already being in the text; keys that put nothing in are not told.
template <typename Handle> void TextBox::reportTyped(const QString& text, Handle handle) {
    bool inserted = false;
    const auto watch = connect(document(), &QTextDocument::contentsChange, this,
                               [&inserted](int, int, int added) { inserted |= added > 0; });
    handle();
    disconnect(watch);
    if (inserted && !text.isEmpty())
        emit typed(text);
}
