#include "TextBox.h"

#include <QMimeData>

bool TextBox::canInsertFromMimeData(const QMimeData* source) const {
    return source != nullptr && source->hasText();
}

void TextBox::insertFromMimeData(const QMimeData* source) {
    if (canInsertFromMimeData(source))
        insertPlainText(source->text());
}
