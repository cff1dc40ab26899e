#include "RecoveryWriter.h"

#include "FilesLog.h"
#include "RecoveryStore.h"

namespace files {

RecoveryWriter::RecoveryWriter(RecoveryStore& store, QObject* parent)
    : QObject(parent), store_(store), worker_(new QObject) {
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
}

RecoveryWriter::~RecoveryWriter() {
    if (!thread_.isRunning()) {
        delete worker_;
        return;
    }
    finish();
    thread_.quit();
    thread_.wait();
}

// Started by the first job rather than with the window, which then opens sooner.
QObject* RecoveryWriter::worker() {
    if (!thread_.isRunning())
        thread_.start();
    return worker_;
}

void RecoveryWriter::write(const QString& editorText, const QString& documentPath,
                           FileFormat format) {
    QMetaObject::invokeMethod(
        worker(),
        [this, editorText, documentPath, format] {
            const QString failure = store_.write(editorText, documentPath, format);
            if (failure.isEmpty())
                return;
            qCWarning(lcFiles) << "recovery file not written:" << store_.textFile() << failure;
            QMetaObject::invokeMethod(
                this, [this, failure] { emit failed(failure); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void RecoveryWriter::remove() {
    QMetaObject::invokeMethod(
        worker(), [this] { store_.remove(); }, Qt::QueuedConnection);
}

void RecoveryWriter::finish() {
    if (!thread_.isRunning())
        return;
    QMetaObject::invokeMethod(
        worker_, [] {}, Qt::BlockingQueuedConnection);
}

} // namespace files
