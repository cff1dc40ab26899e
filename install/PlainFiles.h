#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace install {

// The start of a file and whether that start is all there is.
struct FilePrefix {
    std::string data;
    bool wholeFile = false;
};

// At most `limit` bytes from the start of the regular file at `path`, without ever blocking on a
// pipe or device found under that name; nothing when it is not a readable regular file.
std::optional<FilePrefix> readPrefix(const std::string& path, std::size_t limit);

// Appends `bytes` to the regular file at `path`, creating it when missing; refuses a symbolic
// link, so the append lands in the named file and nowhere else.
bool appendBytes(const std::string& path, const std::string& bytes);

// Removes the file entry at `path`; a directory is never removed.
bool removeFile(const std::string& path);

} // namespace install
