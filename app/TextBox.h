#pragma once

#include <QPlainTextEdit>

// A multi-line text box that takes plain text alone from the clipboard. Qt's own paste path
// crashes on a clipboard that holds no format at all, and rich or picture data has no place
// in a box whose every character is drawn by the tone font. A copy keeps its characters as they
// are.
class TextBox : public QPlainTextEdit {
    Q_OBJECT

  public:
    using QPlainTextEdit::QPlainTextEdit;

    // Offered in the context menu after the standard entries.
    void addContextActions(const QList<QAction*>& actions);

  protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QList<QAction*> contextActions_;
};
