#include "EditorEnd.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace {

bool isLineBreak(QChar character) {
    return character == QChar::ParagraphSeparator || character == QChar::LineSeparator;
}

// The document's last position before its closing paragraph separator.
int endOf(const QTextDocument& document) {
    return document.characterCount() - 1;
}

} // namespace

std::u16string EditorEnd::lastUnits(const QPlainTextEdit& editor, int count) {
    const QTextDocument& document = *editor.document();
    std::u16string units;
    for (int position = endOf(document) - 1; position >= 0 && int(units.size()) < count;
         --position) {
        const QChar character = document.characterAt(position);
        units.insert(0, isLineBreak(character) ? u"\r\n" : std::u16string(1, character.unicode()));
    }
    return units.substr(units.size() > std::size_t(count) ? units.size() - count : 0);
}

void EditorEnd::apply(QPlainTextEdit& editor, const tone::EndEdit& edit) {
    QTextDocument& document = *editor.document();
    const int end = endOf(document);
    int start = end;
    for (int units = 0; units < edit.removeUnits && start > 0; --start)
        units += isLineBreak(document.characterAt(start - 1)) ? 2 : 1;
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.insertText(QString(QChar(edit.glyph)));
    cursor.endEditBlock();
}

void EditorEnd::moveCaretToEnd(QPlainTextEdit& editor) {
    QTextCursor cursor = editor.textCursor();
    cursor.movePosition(QTextCursor::End);
    editor.setTextCursor(cursor);
}
