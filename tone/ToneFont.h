#pragma once

#include <string_view>

namespace tone {

// The names under which the tone font is found: by face on screen and paper, by file on disk.
inline constexpr std::string_view toneFontFace = "Vantor's PinYin Serif";
inline constexpr std::string_view toneFontFile = "pyserif.ttf";

} // namespace tone
