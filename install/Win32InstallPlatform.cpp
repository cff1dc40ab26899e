#include "Win32InstallPlatform.h"

#include "MarkerField.h"
#include "Win32File.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace install {

namespace {

static_assert(sizeof(OSVERSIONINFOA) == sizeof(OsVersionInfoA));
static_assert(sizeof(OSVERSIONINFOA::szCSDVersion) == sizeof(OsVersionInfoA::szCSDVersion));

// Registry handles are kernel handles or predefined keys, both of which Windows keeps within 32
// bits; a predefined key such as HKEY_LOCAL_MACHINE comes back only when sign-extended.
HKEY toHkey(std::uint32_t key) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(key)));
}

std::uint32_t fromHkey(HKEY key) {
    return static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(key));
}

OSVERSIONINFOA toRecord(const OsVersionInfoA& info) {
    OSVERSIONINFOA record{};
    record.dwOSVersionInfoSize = info.dwOSVersionInfoSize;
    record.dwMajorVersion = info.dwMajorVersion;
    record.dwMinorVersion = info.dwMinorVersion;
    record.dwBuildNumber = info.dwBuildNumber;
    record.dwPlatformId = info.dwPlatformId;
    std::memcpy(record.szCSDVersion, info.szCSDVersion, sizeof record.szCSDVersion);
    return record;
}

OsVersionInfoA fromRecord(const OSVERSIONINFOA& record) {
    OsVersionInfoA info;
    info.dwOSVersionInfoSize = record.dwOSVersionInfoSize;
    info.dwMajorVersion = record.dwMajorVersion;
    info.dwMinorVersion = record.dwMinorVersion;
    info.dwBuildNumber = record.dwBuildNumber;
    info.dwPlatformId = record.dwPlatformId;
    std::memcpy(info.szCSDVersion, record.szCSDVersion, sizeof info.szCSDVersion);
    return info;
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// "C:\", the one folder whose name ends in a separator.
bool isDriveRoot(const std::string& folder) {
    return folder.size() == 3 && folder[1] == ':' && isSeparator(folder[2]);
}

// GetModuleFileNameA truncates silently; a full buffer means the name may be longer.
std::string executablePath() {
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::string path(size, '\0');
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), size);
        if (length == 0)
            break;
        if (length < size)
            return path.substr(0, length);
    }
    throw std::runtime_error("the executable's path is not available");
}

} // namespace

Win32InstallPlatform::Win32InstallPlatform(std::string programFolder, ArmTimer armTimer12,
                                           ShowMessage showMessage)
    : programFolder_(withoutTrailingSeparator(std::move(programFolder))),
      armTimer12_(std::move(armTimer12)), showMessage_(std::move(showMessage)) {}

std::string Win32InstallPlatform::programFolder() {
    return programFolder_.empty() ? executableFolder() : programFolder_;
}

bool Win32InstallPlatform::readFirstField(const std::string& path, std::int32_t fileNo,
                                          std::string& field) {
    if (!fileNumbers_.open(fileNo))
        return false;
    Win32File file = Win32File::openForReading(path);
    // One byte beyond the limit tells whether the file goes on.
    const auto data = file.read(markerReadLimit + 1);
    fileNumbers_.close(fileNo);
    if (!data)
        return false;
    const bool wholeFile = data->size() <= markerReadLimit;
    auto first = firstDelimitedField(std::string_view(*data).substr(0, markerReadLimit), wholeFile);
    if (!first)
        return false;
    field = std::move(*first);
    return true;
}

std::int32_t Win32InstallPlatform::GetVersionExA(OsVersionInfoA& info) {
    OSVERSIONINFOA record = toRecord(info);
    const BOOL result = ::GetVersionExA(&record);
    info = fromRecord(record);
    return result;
}

std::uint32_t Win32InstallPlatform::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    return ::GetWindowsDirectoryA(buffer, size);
}

bool Win32InstallPlatform::copyFile(const std::string& source, const std::string& target) {
    return ::CopyFileA(source.c_str(), target.c_str(), FALSE) != 0;
}

std::int32_t Win32InstallPlatform::AddFontResourceA(const std::string& path) {
    return ::AddFontResourceA(path.c_str());
}

void Win32InstallPlatform::messageBox(const std::string& text, std::int32_t buttons) {
    if (showMessage_) {
        showMessage_(text, buttons);
        return;
    }
    const std::string title(applicationTitle);
    ::MessageBoxA(nullptr, text.c_str(), title.c_str(), static_cast<UINT>(buttons));
}

std::int32_t Win32InstallPlatform::RegOpenKeyA(std::uint32_t root, const std::string& subKey,
                                               std::uint32_t& key) {
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyA(toHkey(root), subKey.c_str(), &opened);
    if (status == ERROR_SUCCESS)
        key = fromHkey(opened);
    return status;
}

std::int32_t Win32InstallPlatform::RegSetValueExA(std::uint32_t key, const std::string& valueName,
                                                  std::uint32_t reserved, std::uint32_t type,
                                                  const char* data, std::uint32_t length) {
    if (data == nullptr && length != 0)
        return ERROR_INVALID_PARAMETER;
    return ::RegSetValueExA(toHkey(key), valueName.c_str(), reserved, type,
                            reinterpret_cast<const BYTE*>(data), length);
}

std::int32_t Win32InstallPlatform::RegCloseKey(std::uint32_t key) {
    return ::RegCloseKey(toHkey(key));
}

bool Win32InstallPlatform::deleteFile(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != 0;
}

bool Win32InstallPlatform::appendQuotedField(const std::string& path, std::int32_t fileNo,
                                             const std::string& field) {
    bool appended = false;
    if (fileNumbers_.open(fileNo)) {
        Win32File file = Win32File::openForAppending(path);
        appended = file.writeAll(quotedFieldRecord(field)) && file.closeNow();
    }
    fileNumbers_.closeAll();
    return appended;
}

void Win32InstallPlatform::armTimer12() {
    if (armTimer12_)
        armTimer12_();
}

std::string Win32InstallPlatform::withoutTrailingSeparator(std::string folder) {
    // A lone separator names the current drive's root and stays.
    while (folder.size() > 1 && isSeparator(folder.back()) && !isDriveRoot(folder))
        folder.pop_back();
    return folder;
}

std::string Win32InstallPlatform::executableFolder() {
    const std::string path = executablePath();
    const std::size_t last = path.find_last_of("\\/");
    if (last == std::string::npos)
        throw std::runtime_error("the executable's path names no folder");
    return withoutTrailingSeparator(path.substr(0, last + 1));
}

} // namespace install
