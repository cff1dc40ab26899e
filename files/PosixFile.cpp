#include "PosixFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace files {

PosixFile::~PosixFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

PosixFile::PosixFile(PosixFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(other.error_) {}

PosixFile& PosixFile::operator=(PosixFile&& other) noexcept {
    std::swap(fd_, other.fd_);
    std::swap(error_, other.error_);
    return *this;
}

PosixFile PosixFile::open(const QString& path, int flags, mode_t mode) {
    return openAt(AT_FDCWD, QFile::encodeName(path), flags, mode);
}

PosixFile PosixFile::openAt(int folder, const QByteArray& name, int flags, mode_t mode) {
    PosixFile file;
    do
        file.fd_ = ::openat(folder, name.constData(), flags | O_CLOEXEC | O_NOCTTY, mode);
    while (file.fd_ < 0 && errno == EINTR);
    file.error_ = file.fd_ < 0 ? errno : 0;
    return file;
}

QString PosixFile::reason(int error) {
    return qt_error_string(error);
}

bool PosixFile::failed(int error) {
    error_ = error;
    return false;
}

bool PosixFile::status(struct stat& info) {
    return ::fstat(fd_, &info) == 0 || failed(errno);
}

std::optional<QByteArray> PosixFile::read(qint64 limit) {
    QByteArray bytes;
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode))
        bytes.reserve(std::min<qint64>(limit, info.st_size + 1));
    char chunk[1 << 16];
    while (bytes.size() < limit) {
        const ssize_t got =
            ::read(fd_, chunk, std::min<qint64>(sizeof chunk, limit - bytes.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            failed(errno);
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(chunk, got);
    }
    return bytes;
}

// A write that stops short is asked again, so that the next one tells why it stopped.
bool PosixFile::writeAll(QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return failed(errno);
        if (written == 0)
            return failed(ENOSPC);
        bytes = bytes.sliced(written);
    }
    return true;
}

bool PosixFile::syncAndClose() {
    const bool synced = ::fsync(fd_) == 0 || failed(errno);
    const bool closed = ::close(std::exchange(fd_, -1)) == 0 || failed(errno);
    return synced && closed;
}

} // namespace files
