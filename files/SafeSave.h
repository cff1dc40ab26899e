#pragma once

#include <QByteArray>
#include <QString>

struct stat;

namespace files {

// Replaces a file's bytes so that a failure never leaves a mixture of old and new, and so that the
// file keeps what others rely on: its owner, group and mode, its hard links, and the file a
// symbolic link points to.
class SafeSave {
  public:
    // Returns the reason of a failure, naming a backup that holds the old text where there is
    // one, or an empty text.
    static QString write(const QString& path, const QByteArray& bytes);

  private:
    // A temporary file beside the file, given the old owner and mode, renamed over it.
    static QString replace(const QByteArray& target, const QByteArray& bytes,
                           const struct stat* old, bool& ownerKept);
    // For a file with other names or an owner this process cannot give: its old bytes are
    // copied to a backup beside it first, then it is overwritten where it is.
    static QString overwrite(const QByteArray& target, const QByteArray& bytes,
                             const struct stat& old);
};

} // namespace files
