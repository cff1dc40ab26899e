#include "EditorText.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The document's own separators become LF, as in Qt's plain-text export, and nothing else changes.
QString withLineFeeds(QString text) {
    for (QChar& character : text) {
        switch (character.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case 0xFDD0: // beginning of a frame
        case 0xFDD1: // end of a frame
            character = u'\n';
            break;
        default:
            break;
        }
    }
    return text;
}

} // namespace

QString EditorText::all(const QPlainTextEdit& editor) {
    return withLineFeeds(editor.document()->toRawText());
}

QString EditorText::selectionOrAll(const QPlainTextEdit& editor) {
    const QTextCursor cursor = editor.textCursor();
    return cursor.hasSelection() ? withLineFeeds(cursor.selectedText()) : all(editor);
}
