#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace install {

// One open Win32 file, closed when it goes out of scope. Only files on disk are accepted, so a
// device or pipe found under a marker's name can never block the installation.
class Win32File {
  public:
    static Win32File openForReading(const std::string& path);
    // Creates the file when it is missing; every write lands at its end.
    static Win32File openForAppending(const std::string& path);

    Win32File(Win32File&& other) noexcept;
    Win32File& operator=(Win32File&&) = delete;
    Win32File(const Win32File&) = delete;
    Win32File& operator=(const Win32File&) = delete;
    ~Win32File();

    // Up to `limit` bytes from the current position; nothing on a read error.
    std::optional<std::string> read(std::size_t limit);
    bool writeAll(const std::string& bytes);
    // Flushes and closes, reporting whether both worked.
    bool closeNow();

  private:
    explicit Win32File(void* handle);
    static Win32File acceptDiskFile(void* handle);

    void* handle_ = nullptr;
};

} // namespace install
