#include "RecoveryWriter.h"

#include "FilesLog.h"
#include "RecoveryStore.h"

namespace files {

RecoveryWriter::RecoveryWriter(RecoveryStore& store, QObject* parent)
    : QObject(parent), store_(store), worker_(new QObject) {
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
}

RecoveryWriter::~RecoveryWriter() {
    finish();
    thread_.quit();
    thread_.wait();
}

void RecoveryWriter::write(const QString& editorText, const QString& documentPath) {
    QMetaObject::invokeMethod(
        worker_,
        [this, editorText, documentPath] {
            if (!store_.write(editorText, documentPath))
                qCDebug(lcFiles) << "recovery file not written in" << store_.textFile();
        },
        Qt::QueuedConnection);
}

void RecoveryWriter::remove() {
    QMetaObject::invokeMethod(
        worker_, [this] { store_.remove(); }, Qt::QueuedConnection);
}

void RecoveryWriter::finish() {
    QMetaObject::invokeMethod(
        worker_, [] {}, Qt::BlockingQueuedConnection);
}

} // namespace files
