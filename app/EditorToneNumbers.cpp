#include "EditorToneNumbers.h"

#include "tone/NumberedPinyin.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

bool holdsAt(const QTextDocument& document, int start, const QString& text) {
    if (start < 0)
        return false;
    for (int i = 0; i < text.size(); ++i) {
        if (document.characterAt(start + i) != text[i])
            return false;
    }
    return true;
}

// The digit at `digitAt` with the syllable before it; returns how much shorter the text became.
int convertDigit(QTextDocument& document, int digitAt) {
    const int from = std::max(0, digitAt - int(tone::NumberedPinyin::reach));
    std::u16string before;
    for (int position = from; position < digitAt; ++position)
        before.push_back(document.characterAt(position).unicode());
    const auto edit =
        tone::NumberedPinyin::toneDigit(before, document.characterAt(digitAt).unicode());
    if (!edit)
        return 0;
    QTextCursor cursor(&document);
    cursor.setPosition(digitAt - int(edit->removeUnits));
    cursor.setPosition(digitAt + 1, QTextCursor::KeepAnchor);
    cursor.beginEditBlock();
    cursor.insertText(QString::fromStdU16String(edit->syllable));
    cursor.endEditBlock();
    return int(edit->removeUnits) + 1 - int(edit->syllable.size());
}

} // namespace

void EditorToneNumbers::typed(QPlainTextEdit& editor, const QString& typed) {
    QTextDocument& document = *editor.document();
    int start = editor.textCursor().position() - int(typed.size());
    // A key whose text is not what it put into the editor (a shortcut, Return) converts nothing.
    if (!holdsAt(document, start, typed))
        return;
    for (int i = 0; i < typed.size(); ++i)
        start -= convertDigit(document, start + i);
}

void EditorToneNumbers::convert(QPlainTextEdit& editor) {
    QTextCursor cursor = editor.textCursor();
    const bool selected = cursor.hasSelection();
    if (!selected)
        cursor.select(QTextCursor::Document);
    const QString text = cursor.selectedText();
    const auto converted = tone::NumberedPinyin::convert(text.toStdU16String());
    if (QStringView(converted) == text)
        return;
    const int start = cursor.selectionStart();
    cursor.beginEditBlock();
    cursor.insertText(QString::fromStdU16String(converted));
    cursor.endEditBlock();
    // The converted selection stays selected.
    if (selected) {
        cursor.setPosition(start, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
    }
}
