#pragma once

#include <QObject>

class QAction;
class QPlainTextEdit;

// "Copy as Unicode pinyin" and "Paste Unicode pinyin" for the editor: the glyph codes that only
// the tone font draws become standard Unicode tone letters on the way out, and back on the way in.
class UnicodePinyinActions : public QObject {
    Q_OBJECT

  public:
    explicit UnicodePinyinActions(QPlainTextEdit& editor);

    QList<QAction*> actions() const;

    // The selection, or the whole text when nothing is selected.
    static void copy(const QPlainTextEdit& editor);
    static void paste(QPlainTextEdit& editor);

  private:
    QAction* copyAction_;
    QAction* pasteAction_;
};
