#pragma once

#include "files/RecoveryStore.h"
#include "files/RecoveryWriter.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class EditorMirror;
class QPlainTextEdit;
class QWidget;

// Keeps the editor's unsaved text in a recovery file while the program runs, and offers text
// left behind by an instance that stopped without saving.
class RecoveryKeeper : public QObject {
    Q_OBJECT

  public:
    static constexpr int delayMs = 2000;

    // `mirror` follows `editor`.
    RecoveryKeeper(QWidget& window, QPlainTextEdit& editor, const EditorMirror& mirror,
                   std::function<files::DocumentOnDisk()> document,
                   const QString& folder = files::RecoveryStore::defaultFolder());

    // Once, when the window is up: from then on the text is kept. Asks about the newest text left
    // behind, if any: the text to restore, or none when there was nothing, or the user discarded
    // it. When recovery is off, says so instead.
    std::optional<files::Recovery> offer();
    // The unsaved text is saved or discarded: its recovery file goes.
    void drop();
    // Waits for the writer, for a clean exit and for tests.
    void finish();

  private:
    bool claim();
    void writeNow();
    // Once in a run: unsaved text is not protected, and why.
    void warnUnprotected(const QString& reason);

    QWidget& window_;
    QPlainTextEdit& editor_;
    std::function<files::DocumentOnDisk()> document_;
    const EditorMirror& mirror_;
    QString folder_;
    files::RecoveryStore store_;
    files::RecoveryWriter writer_;
    QTimer timer_;
    bool warned_ = false;
};
