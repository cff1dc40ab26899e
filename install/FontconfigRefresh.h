#pragma once

#include <string>

namespace install {

// Long enough for fontconfig to scan one folder of fonts, short enough that a hung tool cannot
// keep the window from opening.
inline constexpr int fontconfigTimeoutMs = 30000;

// Refreshes fontconfig's cache for `folder` (fc-cache on that folder alone), so that every
// program of the user finds the fonts in it. True when the tool ran and succeeded in time.
bool refreshFontconfig(const std::string& folder, int timeoutMs = fontconfigTimeoutMs);

} // namespace install
