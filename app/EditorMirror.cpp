#include "EditorMirror.h"

#include "EditorText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>

EditorMirror::EditorMirror(QPlainTextEdit& editor, qsizetype chunkUnits)
    : QObject(&editor), editor_(editor), chunkUnits_(std::max<qsizetype>(chunkUnits, 1)) {
    setWhole(EditorText::all(editor));
    connect(editor.document(), &QTextDocument::contentsChange, this, &EditorMirror::follow);
}

QString EditorMirror::text() const {
    if (!wholeCurrent_) {
        whole_.reserve(size_);
        for (const QString& chunk : chunks_)
            whole_ += chunk;
        wholeCurrent_ = true;
    }
    return whole_;
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
    setWhole(EditorText::lineFeeds(text));
    if (size_ != editor_.document()->characterCount() - 1)
        setWhole(EditorText::all(editor_));
}

void EditorMirror::setWhole(const QString& text) {
    chunks_.clear();
    for (qsizetype at = 0; at < text.size(); at += chunkUnits_)
        chunks_.push_back(text.mid(at, chunkUnits_));
    if (chunks_.empty())
        chunks_.emplace_back();
    size_ = text.size();
    whole_ = text;
    wholeCurrent_ = true;
}

void EditorMirror::follow(int position, int removed, int added) {
    if (!following_)
        return;
    // The document counts a closing paragraph separator that its text does not hold, and a
    // change that replaces everything reports it.
    const int length = editor_.document()->characterCount() - 1;
    position = std::clamp<qsizetype>(position, 0, size_);
    remove(position, std::min<qsizetype>(removed, size_ - position));
    const int end = std::min(position + added, length);
    if (end > position)
        insert(position, added <= shortEdit ? charactersAt(position, end)
                                            : EditorText::between(editor_, position, end));
    if (size_ != length)
        setWhole(EditorText::all(editor_));
}

// The whole is let go at once: it is one more copy of the text, until someone asks again.
void EditorMirror::changed() {
    whole_ = QString();
    wholeCurrent_ = false;
}

std::pair<std::size_t, qsizetype> EditorMirror::chunkAt(qsizetype position) const {
    std::size_t chunk = 0;
    while (chunk + 1 < chunks_.size() && position > chunks_[chunk].size()) {
        position -= chunks_[chunk].size();
        ++chunk;
    }
    return {chunk, position};
}

void EditorMirror::remove(qsizetype position, qsizetype units) {
    if (units <= 0)
        return;
    changed();
    size_ -= units;
    auto [chunk, at] = chunkAt(position);
    while (units > 0 && chunk < chunks_.size()) {
        const qsizetype taken = std::min(units, chunks_[chunk].size() - at);
        chunks_[chunk].remove(at, taken);
        units -= taken;
        if (chunks_[chunk].isEmpty() && chunks_.size() > 1)
            chunks_.erase(chunks_.begin() + qsizetype(chunk));
        else
            ++chunk;
        at = 0;
    }
}

// A chunk grown past twice its size is split, so that none grows with the text.
void EditorMirror::insert(qsizetype position, const QString& text) {
    changed();
    size_ += text.size();
    const auto [chunk, at] = chunkAt(position);
    QString& target = chunks_[chunk];
    target.insert(at, text);
    if (target.size() <= 2 * chunkUnits_)
        return;
    std::vector<QString> pieces;
    for (qsizetype from = 0; from < target.size(); from += chunkUnits_)
        pieces.push_back(target.mid(from, chunkUnits_));
    chunks_.erase(chunks_.begin() + qsizetype(chunk));
    chunks_.insert(chunks_.begin() + qsizetype(chunk), pieces.begin(), pieces.end());
}
