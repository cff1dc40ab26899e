#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/types.h>

struct stat;

namespace files {

// An open file descriptor, closed on every way out, that keeps the errno of its last failure so
// that a message can give the real cause ("No space left on device", not "Unknown error").
class PosixFile {
  public:
    PosixFile() = default;
    ~PosixFile();
    PosixFile(PosixFile&& other) noexcept;
    PosixFile& operator=(PosixFile&& other) noexcept;

    static PosixFile open(const QString& path, int flags, mode_t mode = 0);
    // `name` inside the folder open as `folder`.
    static PosixFile openAt(int folder, const QByteArray& name, int flags, mode_t mode = 0);

    bool isOpen() const { return fd_ >= 0; }
    int get() const { return fd_; }
    int error() const { return error_; }
    QString errorText() const { return reason(error_); }
    static QString reason(int error);

    bool status(struct stat& info);
    // Everything up to `limit` bytes; nothing on a read error.
    std::optional<QByteArray> read(qint64 limit);
    bool writeAll(QByteArrayView bytes);
    // Flushed to the disk and closed: a file that is then renamed into place is whole.
    bool syncAndClose();

  private:
    bool failed(int error);

    int fd_ = -1;
    int error_ = 0;
};

} // namespace files
