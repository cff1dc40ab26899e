#pragma once

#include <QAccessibleWidget>

#include <cstdint>
#include <vector>

class QPlainTextEdit;

// The editor as a screen reader reads it: its text as standard Unicode pinyin, as "Copy as Unicode
// pinyin" gives it, not the tone font's codes, which a reader would speak as other letters. Caret
// and selection offsets are mapped to that text; what the editor holds does not change.
class EditorAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit EditorAccessible(QPlainTextEdit* editor);

    // Makes Qt use this interface for `editor`; before anything asks for one, so before its name.
    static void install(QPlainTextEdit& editor);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

  private:
    // Qt reports the editor's changes with the tone font's codes; this passes them on in Unicode
    // pinyin, at Unicode offsets, and every other event as it is.
    static void update(QAccessibleEvent* event);
    static void send(QAccessibleEvent* event);
    // At the editor's position, in the editor's units.
    void reportChange(int position, int removedUnits, int addedUnits);
    QPlainTextEdit& editor() const;
    // The Unicode text, made again only after the editor's text changed.
    const QString& unicode() const;
    int toUnicode(int position) const;
    int toEditor(int offset) const;
    void select(int startOffset, int endOffset);

    mutable QString unicode_;
    mutable std::vector<std::uint32_t> sources_;
    mutable int madeAtChange_ = -1;
};
