#include "IsNTPlatform.h"

#include "InstallPlatform.h"

namespace install {

bool IsNTPlatform(InstallPlatform& platform) {
    OsVersionInfoA info;
    info.dwOSVersionInfoSize = versionInfoSize;
    // A failed call leaves the record zeroed, which reads as "not NT".
    platform.GetVersionExA(info);
    return (info.dwPlatformId & platformIdNt) != 0;
}

} // namespace install
