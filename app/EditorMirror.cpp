#include "EditorMirror.h"

#include "EditorText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>

EditorMirror::EditorMirror(QPlainTextEdit& editor)
    : QObject(&editor), editor_(editor), text_(EditorText::all(editor)) {
    connect(editor.document(), &QTextDocument::contentsChange, this, &EditorMirror::follow);
}

// A typed key costs a few lookups rather than a cursor.
QString EditorMirror::charactersAt(int from, int to) const {
    QString characters(to - from, Qt::Uninitialized);
    for (int at = from; at < to; ++at)
        characters[at - from] = editor_.document()->characterAt(at);
    return EditorText::lineFeeds(characters);
}

void EditorMirror::setPlainText(const QString& text) {
    following_ = false;
    editor_.setPlainText(text);
    following_ = true;
    text_ = EditorText::lineFeeds(text);
    if (text_.size() != editor_.document()->characterCount() - 1)
        text_ = EditorText::all(editor_);
}

void EditorMirror::follow(int position, int removed, int added) {
    if (!following_)
        return;
    // The document counts a closing paragraph separator that its text does not hold, and a
    // change that replaces everything reports it.
    const int length = editor_.document()->characterCount() - 1;
    position = std::clamp(position, 0, int(text_.size()));
    text_.remove(position, std::min<qsizetype>(removed, text_.size() - position));
    const int end = std::min(position + added, length);
    if (end > position)
        text_.insert(position, added <= shortEdit ? charactersAt(position, end)
                                                  : EditorText::between(editor_, position, end));
    if (text_.size() != length)
        text_ = EditorText::all(editor_);
}
