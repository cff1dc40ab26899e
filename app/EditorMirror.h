#pragma once

#include <QObject>
#include <QString>

class QPlainTextEdit;

// A copy of the editor's whole text, as EditorText::all gives it, kept up to date edit by edit.
// Taking it costs no more than sharing a string, where reading a large document out again costs
// tens of milliseconds; so the recovery writer can take it without stalling typing.
class EditorMirror : public QObject {
    Q_OBJECT

  public:
    explicit EditorMirror(QPlainTextEdit& editor);

    QString text() const { return text_; }
    // Sets the editor's whole text without reading it out again.
    void setPlainText(const QString& text);

  private:
    static constexpr int shortEdit = 16;

    void follow(int position, int removed, int added);
    QString charactersAt(int from, int to) const;

    QPlainTextEdit& editor_;
    QString text_;
    bool following_ = true;
};
