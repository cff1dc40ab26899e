#pragma once

#include "PinyinFormat.h"
#include "PosixFile.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;

namespace files {

// The file that a text belongs to, and the form its bytes take there.
struct DocumentOnDisk {
    QString path;
    FileFormat format;
};

// Text that an instance left behind when it stopped without saving.
struct Recovery {
    QString id;
    QDateTime time;
    QString text; // as the editor holds it
    QString documentPath;
    FileFormat format; // of the document's file
    qsizetype characters = 0;
};

// The recovery files of every running instance in one folder: each instance writes `<id>.txt`
// (the text, in the file format) and `<id>.path` (the file it belongs to) and holds `<id>.lock`
// while it runs, so that no other instance offers its text. Nothing in the folder is trusted that
// this user's instances did not make: other names, links and other users' files are left alone.
class RecoveryStore {
  public:
    explicit RecoveryStore(QString folder = defaultFolder());
    ~RecoveryStore();

    // $XDG_STATE_HOME/tonquill, by default ~/.local/state/tonquill.
    static QString defaultFolder();

    // Makes the folder (mode 0700), or takes the one there only if it is a real folder, the
    // user's own, that nobody else may write; then takes this instance's lock. False when
    // recovery is off: failure() says why.
    bool claim();
    QString failure() const { return failure_; }
    // Removes the locks of stopped instances that left no text. They stand in nobody's way, so
    // this can wait until the window is up.
    void clearStaleLocks() const;

    // The newest text whose instance no longer runs, held for this instance until it is adopted
    // or discarded; the others stay for later starts. A write that such an instance did not
    // finish is taken when it is whole, and removed otherwise.
    std::optional<Recovery> takeOrphan();
    // The orphan's files become this instance's own.
    void adopt(const Recovery& orphan);
    void discard(const Recovery& orphan);

    // This instance's own text, replaced whole; the reason when it could not be written.
    QString write(const QString& editorText, const QString& documentPath, FileFormat format = {});
    void remove();
    QString textFile() const;

  private:
    bool off(const QString& reason);
    QStringList entries() const;
    QStringList orphans() const;
    PosixFile ownFile(const QString& name) const;
    std::optional<QByteArray> readOwn(const QString& name) const;
    void removeOwn(const QString& name) const;
    void finishInterruptedWrites(const QString& id) const;
    QString writeWhole(const QString& name, const QByteArray& bytes) const;
    std::optional<Recovery> read(const QString& id) const;

    QString folder_;
    PosixFile folderFile_; // the folder as it was checked, not reached by its path again
    QString failure_;
    QString id_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLockFile> orphanLock_;
};

} // namespace files
