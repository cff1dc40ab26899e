#include "TextBox.h"

#include "EditorText.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>

#include <memory>

bool TextBox::canInsertFromMimeData(const QMimeData* source) const {
    return source != nullptr && source->hasText();
}

// Qt's plain text of the selection turns a no-break space into a plain one; its other formats
// are kept as Qt makes them.
QMimeData* TextBox::createMimeDataFromSelection() const {
    const std::unique_ptr<QMimeData> qt(QPlainTextEdit::createMimeDataFromSelection());
    auto* mime = new QMimeData;
    for (const QString& format : qt->formats())
        mime->setData(format, qt->data(format));
    mime->setText(EditorText::selectionOrAll(*this));
    return mime;
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
