#pragma once

#include "PinyinFormat.h"

#include <QObject>
#include <QThread>

namespace files {

class RecoveryStore;

// Converts and writes the recovery text on a thread of its own, in the order asked, so that the
// user-interface thread spends only the copy of the text on it.
class RecoveryWriter : public QObject {
    Q_OBJECT

  public:
    explicit RecoveryWriter(RecoveryStore& store, QObject* parent = nullptr);
    ~RecoveryWriter() override;

    void write(const QString& editorText, const QString& documentPath, FileFormat format = {});
    void remove();
    // Returns once everything asked before is done.
    void finish();

  signals:
    // On this object's thread: a write failed, and why.
    void failed(const QString& reason);

  private:
    QObject* worker();

    RecoveryStore& store_;
    QThread thread_;
    QObject* worker_;
};

} // namespace files
