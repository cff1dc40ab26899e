#include "PlainFiles.h"

#include "FileDescriptor.h"

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace install {

std::optional<FilePrefix> readPrefix(const std::string& path, std::size_t limit) {
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.isRegularFile())
        return std::nullopt;
    // One byte beyond the limit tells whether the file goes on.
    auto data = file.read(limit + 1);
    if (!data)
        return std::nullopt;
    FilePrefix prefix;
    prefix.wholeFile = data->size() <= limit;
    data->resize(std::min(data->size(), limit));
    prefix.data = std::move(*data);
    return prefix;
}

bool appendBytes(const std::string& path, const std::string& bytes) {
    const int flags = O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    FileDescriptor file(::open(path.c_str(), flags, 0644));
    if (!file.isRegularFile())
        return false;
    return file.writeAll(bytes) && ::fsync(file.get()) == 0 && file.closeNow();
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

} // namespace install
