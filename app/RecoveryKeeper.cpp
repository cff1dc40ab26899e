#include "RecoveryKeeper.h"

#include "EditorMirror.h"
#include "FormDesign.h"

#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

RecoveryKeeper::RecoveryKeeper(QWidget& window, QPlainTextEdit& editor, const EditorMirror& mirror,
                               std::function<QString()> documentPath, const QString& folder)
    : QObject(&window), window_(window), editor_(editor), documentPath_(std::move(documentPath)),
      mirror_(mirror), store_(folder), writer_(store_) {
    timer_.setSingleShot(true);
    timer_.setInterval(delayMs);
    if (!store_.claim()) {
        qWarning("Tonquill cannot keep a recovery file in %s", qPrintable(folder));
        return;
    }
    // An Undo back to the saved text removes the recovery file, by the same timer.
    connect(editor_.document(), &QTextDocument::contentsChanged, &timer_,
            qOverload<>(&QTimer::start));
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::writeNow);
}

// The user-interface thread only shares the mirror's text; converting and writing happen on the
// writer's.
void RecoveryKeeper::writeNow() {
    if (editor_.document()->isModified())
        writer_.write(mirror_.text(), documentPath_());
    else
        writer_.remove();
}

void RecoveryKeeper::drop() {
    timer_.stop();
    writer_.remove();
}

void RecoveryKeeper::finish() {
    writer_.finish();
}

std::optional<files::Recovery> RecoveryKeeper::offer() {
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
