#include "FontFileCopy.h"

#include "FileDescriptor.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace install {

namespace {

constexpr std::size_t chunkSize = 64 * 1024;

bool copyContents(const FileDescriptor& from, const FileDescriptor& to) {
    std::uint64_t copied = 0;
    for (;;) {
        const auto chunk = from.read(chunkSize);
        if (!chunk)
            return false;
        if (chunk->empty())
            return true;
        copied += chunk->size();
        // The file may have grown since its size was checked.
        if (copied > fontFileSizeLimit || !to.writeAll(*chunk))
            return false;
    }
}

bool fillTemporary(const FileDescriptor& source, int fd) {
    FileDescriptor copy(fd);
    return copyContents(source, copy) && ::fchmod(copy.get(), 0644) == 0 &&
           ::fsync(copy.get()) == 0 && copy.closeNow();
}

} // namespace

bool copyFontFile(const std::string& source, const std::string& target) {
    const FileDescriptor from(::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    const auto size = from.regularFileSize();
    if (!size || *size > fontFileSizeLimit)
        return false;
    const std::filesystem::path targetPath(target);
    std::error_code ignored;
    std::filesystem::create_directories(targetPath.parent_path(), ignored);
    // Appended rather than joined with operator+, which g++ 12 misreads as an overlapping copy.
    std::string hidden = ".";
    hidden.append(targetPath.filename().string()).append(".XXXXXX");
    std::string temporary = (targetPath.parent_path() / hidden).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    if (fillTemporary(from, fd) && std::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

} // namespace install
