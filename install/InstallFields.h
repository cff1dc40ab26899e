#pragma once

#include <cstdint>
#include <string>

namespace install {

// The window's own record of the first-run installation: zero and empty until InstallToneFont
// fills it, and read by nothing else.
struct InstallFields {
    std::int32_t apiResult = 0;
    std::string fontDir;
    std::uint32_t hFontsKey = 0;
    std::int32_t markerFileNo = 0;
    std::string installMarker;
};

} // namespace install
