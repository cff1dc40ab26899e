#pragma once

#include <QObject>
#include <QString>

#include <vector>

class QPlainTextEdit;

// A copy of the editor's whole text, as EditorText::all gives it, kept up to date edit by edit.
// Taking it costs no more than sharing a string where reading a large document out again costs
// tens of milliseconds, so the recovery writer can take it without stalling typing. The copy is
// kept in chunks, so that an edit in the middle of a large text moves one chunk rather than the
// rest of the text; the whole is put together when it is asked for after a change.
class EditorMirror : public QObject {
    Q_OBJECT

  public:
    static constexpr qsizetype defaultChunkUnits = 1 << 16;

    explicit EditorMirror(QPlainTextEdit& editor, qsizetype chunkUnits = defaultChunkUnits);

    QString text() const;
    // Sets the editor's whole text without reading it out again.
    void setPlainText(const QString& text);

  private:
    static constexpr int shortEdit = 16;

    void follow(int position, int removed, int added);
    QString charactersAt(int from, int to) const;
    void setWhole(const QString& text);
    void changed();
    void remove(qsizetype position, qsizetype units);
    void insert(qsizetype position, const QString& text);
    // The chunk holding `position`, or the last one, and the position within it.
    std::pair<std::size_t, qsizetype> chunkAt(qsizetype position) const;

    QPlainTextEdit& editor_;
    const qsizetype chunkUnits_;
    std::vector<QString> chunks_; // never empty; none empty but a lone first one
    qsizetype size_ = 0;
    mutable QString whole_;
    mutable bool wholeCurrent_ = true;
    bool following_ = true;
};
