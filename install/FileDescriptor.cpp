#include "FileDescriptor.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace install {

FileDescriptor::~FileDescriptor() {
    closeNow();
}

bool FileDescriptor::isRegularFile() const {
    return regularFileSize().has_value();
}

std::optional<std::uint64_t> FileDescriptor::regularFileSize() const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

std::optional<std::string> FileDescriptor::read(std::size_t count) const {
    std::string data(count, '\0');
    std::size_t filled = 0;
    while (filled < count) {
        const ssize_t got = ::read(fd_, data.data() + filled, count - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    data.resize(filled);
    return data;
}

bool FileDescriptor::writeAll(const std::string& bytes) const {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

bool FileDescriptor::closeNow() {
    if (fd_ < 0)
        return false;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed;
}

} // namespace install
