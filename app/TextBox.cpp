#include "TextBox.h"

#include "EditorText.h"
#include "files/Utf8Escapes.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextDocument>

#include <memory>

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int, int, int added) { inserted_ = inserted_ || added > 0; });
}

bool TextBox::canInsertFromMimeData(const QMimeData* source) const {
    return source != nullptr && source->hasText();
}

// Qt's plain text of the selection turns a no-break space into a plain one; its other formats
// are kept as Qt makes them. A byte kept from a file that is not UTF-8 leaves as U+FFFD.
QMimeData* TextBox::createMimeDataFromSelection() const {
    const std::unique_ptr<QMimeData> qt(QPlainTextEdit::createMimeDataFromSelection());
    auto* mime = new QMimeData;
    for (const QString& format : qt->formats())
        mime->setData(format, qt->data(format));
    mime->setText(files::Utf8Escapes::forCopy(EditorText::selectionOrAll(*this)));
    return mime;
}

void TextBox::insertFromMimeData(const QMimeData* source) {
    if (canInsertFromMimeData(source))
        insertPlainText(EditorText::withoutNul(source->text()));
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
    inserted_ = false;
    handle();
    if (inserted_ && !text.isEmpty())
        emit typed(text);
}
