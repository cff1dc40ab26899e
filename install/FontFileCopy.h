#pragma once

#include <cstdint>
#include <string>

namespace install {

// Far beyond any font this program ships, so that a wrong file under the font's name is not
// copied into the user's font folder whole.
inline constexpr std::uint64_t fontFileSizeLimit = 64ull * 1024 * 1024;

// Copies the regular file `source` to `target`, creating the target's folder when missing. The
// bytes go to a temporary file in that folder, which is then renamed over the target: a reader
// never sees half a font, and a symbolic link at the target is replaced, never written through.
bool copyFontFile(const std::string& source, const std::string& target);

} // namespace install
