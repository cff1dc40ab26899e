#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace install {

// An open POSIX file descriptor, closed on every way out.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool isRegularFile() const;
    // The size of a regular file; nothing for anything else.
    std::optional<std::uint64_t> regularFileSize() const;
    // Up to `count` bytes, fewer only at the end of the file; nothing on a read error.
    std::optional<std::string> read(std::size_t count) const;
    bool writeAll(const std::string& bytes) const;
    bool closeNow();

  private:
    int fd_;
};

} // namespace install
