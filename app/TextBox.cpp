#include "TextBox.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>

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
