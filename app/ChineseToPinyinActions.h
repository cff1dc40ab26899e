#pragma once

#include "tone/HanziTable.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QPlainTextEdit;

// "Chinese characters to pinyin" and "Paste Chinese as pinyin" for the editor. The table of
// readings is read when first needed, so that it costs a start nothing.
class ChineseToPinyinActions : public QObject {
    Q_OBJECT

  public:
    // `tablePath` tells where hanzi-readings.dat is once it is needed.
    ChineseToPinyinActions(QPlainTextEdit& editor, std::function<QString()> tablePath);

    QAction* convertAction() const { return convertAction_; }
    QAction* pasteAction() const { return pasteAction_; }

    // The selection, or the whole text when nothing is selected.
    void convert();
    void paste();

    // The table at `path`, or none with the reason in `error`.
    static std::optional<tone::HanziTable> readTable(const QString& path, QString& error);

  private:
    const tone::HanziTable* table();

    QPlainTextEdit& editor_;
    std::function<QString()> tablePath_;
    std::optional<tone::HanziTable> table_;
    QAction* convertAction_;
    QAction* pasteAction_;
};
