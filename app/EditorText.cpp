#include "EditorText.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace {

bool isSeparator(QChar character) {
    switch (character.unicode()) {
    case QChar::ParagraphSeparator:
    case QChar::LineSeparator:
    case 0xFDD0: // beginning of a frame
    case 0xFDD1: // end of a frame
        return true;
    default:
        return false;
    }
}

} // namespace

// The document's own separators become LF, as in Qt's plain-text export, and nothing else
// changes. A text without them is not copied.
QString EditorText::lineFeeds(QString text) {
    if (std::ranges::none_of(std::as_const(text), isSeparator))
        return text;
    std::ranges::replace_if(text, isSeparator, u'\n');
    return text;
}

QString EditorText::all(const QPlainTextEdit& editor) {
    return lineFeeds(editor.document()->toRawText());
}

QString EditorText::selectionOrAll(const QPlainTextEdit& editor) {
    const QTextCursor cursor = editor.textCursor();
    return cursor.hasSelection() ? lineFeeds(cursor.selectedText()) : all(editor);
}

QString EditorText::between(const QPlainTextEdit& editor, int from, int to) {
    QTextCursor cursor(editor.document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    return lineFeeds(cursor.selectedText());
}

QString EditorText::withoutNul(QString text) {
    if (text.contains(QChar(0)))
        text.remove(QChar(0));
    return text;
}
