#include "EditorToneNumbers.h"

#include "tone/MarkedPinyin.h"
#include "tone/NumberedPinyin.h"

#include <QAbstractUndoItem>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <future>
#include <system_error>

namespace {

// Qt merges text typed right after an inserted text into the insertion's undo step. A last step
// that does nothing keeps a conversion an undo step of its own, so that Undo after more typing
// takes back only that typing.
class EndOfConversion : public QAbstractUndoItem {
  public:
    void undo() override {}
    void redo() override {}
};

void replace(QTextCursor& cursor, const QString& text) {
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.insertText(text);
    cursor.document()->appendUndoItem(new EndOfConversion);
    cursor.endEditBlock();
}

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
        tone::NumberedPinyin::toneDigit(before, document.characterAt(digitAt).unicode(),
                                        document.characterAt(digitAt + 1).unicode());
    if (!edit)
        return 0;
    QTextCursor cursor(&document);
    cursor.setPosition(digitAt - int(edit->syllableUnits));
    cursor.setPosition(digitAt + 1, QTextCursor::KeepAnchor);
    replace(cursor, QString::fromStdU16String(edit->marked));
    return int(edit->syllableUnits) + 1 - int(edit->marked.size());
}

template <typename Convert>
std::future<std::u16string> startConverting(Convert convert, std::u16string_view text) {
    try {
        return std::async(std::launch::async, convert, text);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, convert, text);
    }
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
    convertWith(editor, tone::NumberedPinyin::convert, tone::NumberedPinyin::changes);
}

void EditorToneNumbers::toNumbers(QPlainTextEdit& editor) {
    convertWith(editor, tone::MarkedPinyin::toNumbers, nullptr);
}

void EditorToneNumbers::convertWith(QPlainTextEdit& editor, const Conversion& conversion,
                                    bool (*changes)(std::u16string_view)) {
    QTextCursor cursor = editor.textCursor();
    const bool selected = cursor.hasSelection();
    if (!selected)
        cursor.select(QTextCursor::Document);
    // The document's own text reads five times faster than a selection of all of it.
    const QString text = selected ? cursor.selectedText() : editor.document()->toRawText();
    const std::u16string_view letters(QStringView(text).utf16(), text.size());
    if (changes && !changes(letters))
        return;
    // The old text goes while the new one is made on another core: on a long text each takes
    // about a fifth of what loading the text takes.
    const auto converted = startConverting(conversion, letters).share();
    // Without a quick test of its own, a conversion that changes nothing adds no undo step.
    if (!changes && converted.get() == letters)
        return;
    const int start = cursor.selectionStart();
    // Taken out before the conversion is waited for: the one edit block keeps it one undo step.
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    replace(cursor, QString::fromStdU16String(converted.get()));
    cursor.endEditBlock();
    // The converted selection stays selected.
    if (selected) {
        const int end = cursor.position();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
    }
}
