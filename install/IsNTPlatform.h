#pragma once

namespace install {

class InstallPlatform;

// True when the platform id reported for a zeroed 148-byte version record has the NT bit set.
bool IsNTPlatform(InstallPlatform& platform);

} // namespace install
