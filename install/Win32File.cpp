#include "Win32File.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <utility>

namespace install {

namespace {

// One ReadFile or WriteFile moves at most this much, well inside a DWORD.
constexpr std::size_t chunkSize = 64 * 1024;

} // namespace

Win32File::Win32File(void* handle) : handle_(handle) {}

Win32File::Win32File(Win32File&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

Win32File::~Win32File() {
    if (handle_ != nullptr)
        ::CloseHandle(handle_);
}

Win32File Win32File::openForReading(const std::string& path) {
    return acceptDiskFile(::CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

Win32File Win32File::openForAppending(const std::string& path) {
    return acceptDiskFile(::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

Win32File Win32File::acceptDiskFile(void* handle) {
    if (handle == INVALID_HANDLE_VALUE)
        return Win32File(nullptr);
    Win32File file(handle);
    if (::GetFileType(handle) != FILE_TYPE_DISK)
        return Win32File(nullptr);
    return file;
}

std::optional<std::string> Win32File::read(std::size_t limit) {
    if (handle_ == nullptr)
        return std::nullopt;
    std::string data;
    while (data.size() < limit) {
        const std::size_t wanted = std::min(chunkSize, limit - data.size());
        const std::size_t before = data.size();
        data.resize(before + wanted);
        DWORD got = 0;
        if (!::ReadFile(handle_, data.data() + before, static_cast<DWORD>(wanted), &got, nullptr))
            return std::nullopt;
        data.resize(before + got);
        if (got == 0)
            break;
    }
    return data;
}

bool Win32File::writeAll(const std::string& bytes) {
    if (handle_ == nullptr)
        return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::size_t wanted = std::min(chunkSize, bytes.size() - written);
        DWORD done = 0;
        if (!::WriteFile(handle_, bytes.data() + written, static_cast<DWORD>(wanted), &done,
                         nullptr) ||
            done == 0)
            return false;
        written += done;
    }
    return true;
}

bool Win32File::closeNow() {
    if (handle_ == nullptr)
        return false;
    const bool flushed = ::FlushFileBuffers(handle_) != 0;
    const bool closed = ::CloseHandle(std::exchange(handle_, nullptr)) != 0;
    return flushed && closed;
}

} // namespace install
