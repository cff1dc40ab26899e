#pragma once

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;

namespace files {

// Text that an instance left behind when it stopped without saving.
struct Recovery {
    QString id;
    QDateTime time;
    QString text; // as the editor holds it
    QString documentPath;
    qsizetype characters = 0;
};

// The recovery files of every running instance in one folder: each instance writes `<id>.txt`
// (the text, in the file format) and `<id>.path` (the file it belongs to) and holds `<id>.lock`
// while it runs, so that no other instance offers its text.
class RecoveryStore {
  public:
    explicit RecoveryStore(QString folder = defaultFolder());
    ~RecoveryStore();

    // $XDG_STATE_HOME/tonquill, by default ~/.local/state/tonquill.
    static QString defaultFolder();

    // Makes the folder (mode 0700) and takes this instance's lock; false when either fails.
    bool claim();

    // The newest text whose instance no longer runs, held for this instance until it is adopted
    // or discarded; the others stay for later starts.
    std::optional<Recovery> takeOrphan();
    // The orphan's files become this instance's own.
    void adopt(const Recovery& orphan);
    void discard(const Recovery& orphan);

    // This instance's own text, replaced whole; false when it could not be written.
    bool write(const QString& editorText, const QString& documentPath);
    void remove();
    QString textFile() const;

  private:
    QString fileOf(const QString& id, const char* suffix) const;
    std::optional<Recovery> read(const QString& id) const;

    QString folder_;
    QString id_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLockFile> orphanLock_;
};

} // namespace files
