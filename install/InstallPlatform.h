#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace install {

inline constexpr std::uint32_t hkeyLocalMachine = 0x80000002u;
inline constexpr std::uint32_t regSz = 1;
inline constexpr std::uint32_t versionInfoSize = 148;
inline constexpr std::uint32_t platformIdNt = 2;

// Every message box of the installation is captioned with the application's title.
inline constexpr std::string_view applicationTitle = "Tonquill";

// The layout of OSVERSIONINFOA, so that a Win32 platform can hand it straight to GetVersionExA.
struct OsVersionInfoA {
    std::uint32_t dwOSVersionInfoSize = 0;
    std::uint32_t dwMajorVersion = 0;
    std::uint32_t dwMinorVersion = 0;
    std::uint32_t dwBuildNumber = 0;
    std::uint32_t dwPlatformId = 0;
    char szCSDVersion[128] = {};
};
static_assert(sizeof(OsVersionInfoA) == versionInfoSize);

// The operations the first-run installation needs from the system, in the order it first uses
// them. An operation returning bool reports false where the system would raise an error; an
// operation may also throw, and the installation then treats its step as failed.
class InstallPlatform {
  public:
    virtual ~InstallPlatform() = default;

    // "\" and "Fonts" on Windows; other systems name their own.
    virtual std::string pathSeparator() const = 0;
    virtual std::string fontsSubfolder() const = 0;

    // The executable's folder, with no trailing separator except at a drive root.
    virtual std::string programFolder() = 0;
    // A file number from 1 to 255 that no open file holds; 0 when none is free.
    virtual std::int32_t freeFileNumber() = 0;
    // Opens `path` for reading under `fileNo`, reads its first delimited field into `field` and
    // closes it again; `field` is left alone on failure.
    virtual bool readFirstField(const std::string& path, std::int32_t fileNo,
                                std::string& field) = 0;
    virtual std::int32_t GetVersionExA(OsVersionInfoA& info) = 0;
    // Writes the path and a zero character into `buffer` and returns the path's length; 0 on
    // failure, or the size needed, with nothing written, when `size` is too small.
    virtual std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) = 0;
    // Copies `source` over `target`, replacing an existing target.
    virtual bool copyFile(const std::string& source, const std::string& target) = 0;
    // The number of fonts added; 0 on failure.
    virtual std::int32_t AddFontResourceA(const std::string& path) = 0;
    // A modal box with one OK button and no icon; returns once it is dismissed.
    virtual void messageBox(const std::string& text, std::int32_t buttons) = 0;
    // Status codes as Win32 gives them: 0 on success. The open never creates the key.
    virtual std::int32_t RegOpenKeyA(std::uint32_t root, const std::string& subKey,
                                     std::uint32_t& key) = 0;
    virtual std::int32_t RegSetValueExA(std::uint32_t key, const std::string& valueName,
                                        std::uint32_t reserved, std::uint32_t type,
                                        const char* data, std::uint32_t length) = 0;
    virtual std::int32_t RegCloseKey(std::uint32_t key) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    // Opens `path` for appending under `fileNo` (creating it when missing), writes `field` as one
    // quoted record ended by CR LF, and closes every open file.
    virtual bool appendQuotedField(const std::string& path, std::int32_t fileNo,
                                   const std::string& field) = 0;
    virtual void armTimer12() = 0;
};

} // namespace install
