#include "RecoveryKeeper.h"

#include "EditorMirror.h"
#include "FormDesign.h"
#include "files/FilesLog.h"

#include <QDir>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include <utility>

RecoveryKeeper::RecoveryKeeper(QWidget& window, QPlainTextEdit& editor, const EditorMirror& mirror,
                               std::function<files::DocumentOnDisk()> document,
                               const QString& folder)
    : QObject(&window), window_(window), editor_(editor), document_(std::move(document)),
      mirror_(mirror), folder_(folder), store_(folder), writer_(store_) {
    timer_.setSingleShot(true);
    timer_.setInterval(delayMs);
}

// Not before the window is up: the lock is synced to disk, which may keep a slow disk busy.
bool RecoveryKeeper::claim() {
    if (!store_.claim()) {
        qCWarning(lcFiles) << "recovery is off:" << folder_ << store_.failure();
        return false;
    }
    connect(&writer_, &files::RecoveryWriter::failed, this, &RecoveryKeeper::warnUnprotected);
    // An Undo back to the saved text removes the recovery file, by the same timer.
    connect(editor_.document(), &QTextDocument::contentsChanged, &timer_,
            qOverload<>(&QTimer::start));
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::writeNow);
    QTimer::singleShot(delayMs, this, [this] { store_.clearStaleLocks(); });
    return true;
}

// The user-interface thread only shares the mirror's text; converting and writing happen on the
// writer's.
void RecoveryKeeper::writeNow() {
    if (editor_.document()->isModified()) {
        const files::DocumentOnDisk document = document_();
        writer_.write(mirror_.text(), document.path, document.format);
    } else
        writer_.remove();
}

void RecoveryKeeper::drop() {
    timer_.stop();
    writer_.remove();
}

void RecoveryKeeper::finish() {
    writer_.finish();
}

void RecoveryKeeper::warnUnprotected(const QString& reason) {
    if (std::exchange(warned_, true))
        return;
    QMessageBox::warning(&window_, FormDesign::translated(FormDesign::caption),
                         tr("Tonquill cannot keep a recovery copy of unsaved text in %1: %2. Until "
                            "you save, a crash loses what you typed.")
                             .arg(QDir::toNativeSeparators(folder_), reason));
}

std::optional<files::Recovery> RecoveryKeeper::offer() {
    if (!claim()) {
        warnUnprotected(store_.failure());
        return std::nullopt;
    }
    auto orphan = store_.takeOrphan();
    if (!orphan)
        return std::nullopt;
    const QString when = QLocale().toString(orphan->time, QLocale::ShortFormat);
    QMessageBox box(QMessageBox::Question, FormDesign::translated(FormDesign::caption),
                    tr("Tonquill found text that was not saved when it last stopped (%1, %n "
                       "characters). Restore it?",
                       nullptr, int(orphan->characters))
                        .arg(when),
                    QMessageBox::NoButton, &window_);
    QPushButton* restore = box.addButton(tr("Restore"), QMessageBox::AcceptRole);
    QAbstractButton* discard = box.addButton(QMessageBox::Discard);
    box.setDefaultButton(restore);
    box.exec();
    if (box.clickedButton() == restore) {
        store_.adopt(*orphan);
        return orphan;
    }
    if (box.clickedButton() == discard)
        store_.discard(*orphan);
    return std::nullopt;
}
