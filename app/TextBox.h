#pragma once

#include <QPlainTextEdit>

// A multi-line text box that takes plain text alone from the clipboard. Qt's own paste path
// crashes on a clipboard that holds no format at all, and rich or picture data has no place
// in a box whose every character is drawn by the tone font. A copy keeps its characters as they
// are.
class TextBox : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit TextBox(QWidget* parent = nullptr);

    // Offered in the context menu after the standard entries.
    void addContextActions(const QList<QAction*>& actions);

  signals:
    // A key press or an input method's commit has put `text` into the editor, ending at the caret.
    void typed(const QString& text);

  protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

  private:
    template <typename Handle> void reportTyped(const QString& text, Handle handle);

    QList<QAction*> contextActions_;
    bool inserted_ = false; // by the key or commit being handled
};
