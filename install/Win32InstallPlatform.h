#pragma once

#include "FileNumbers.h"
#include "InstallPlatform.h"

#include <functional>
#include <string>

namespace install {

// The installation's operations as the real Win32 calls, all with ANSI strings: the version
// record and the Windows directory from the system, the copy into it, the running system's font
// table, the machine-wide font list in the registry, and the marker beside the program.
class Win32InstallPlatform : public InstallPlatform {
  public:
    using ArmTimer = std::function<void()>;
    using ShowMessage = std::function<void(const std::string& text, std::int32_t buttons)>;

    // An empty `programFolder` means the folder of the running executable. Without `showMessage`
    // a message is a modal MessageBoxA captioned with the application's title.
    Win32InstallPlatform(std::string programFolder, ArmTimer armTimer12,
                         ShowMessage showMessage = {});

    std::string pathSeparator() const override { return "\\"; }
    std::string fontsSubfolder() const override { return "Fonts"; }
    std::string programFolder() override;
    std::int32_t freeFileNumber() override { return fileNumbers_.freeNumber(); }
    bool readFirstField(const std::string& path, std::int32_t fileNo, std::string& field) override;
    std::int32_t GetVersionExA(OsVersionInfoA& info) override;
    std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override;
    bool copyFile(const std::string& source, const std::string& target) override;
    std::int32_t AddFontResourceA(const std::string& path) override;
    void messageBox(const std::string& text, std::int32_t buttons) override;
    std::int32_t RegOpenKeyA(std::uint32_t root, const std::string& subKey,
                             std::uint32_t& key) override;
    std::int32_t RegSetValueExA(std::uint32_t key, const std::string& valueName,
                                std::uint32_t reserved, std::uint32_t type, const char* data,
                                std::uint32_t length) override;
    std::int32_t RegCloseKey(std::uint32_t key) override;
    bool deleteFile(const std::string& path) override;
    bool appendQuotedField(const std::string& path, std::int32_t fileNo,
                           const std::string& field) override;
    void armTimer12() override;

    // `folder` without trailing separators, except that a drive root keeps its own ("C:\").
    static std::string withoutTrailingSeparator(std::string folder);
    // The folder of the running executable; throws when the system cannot name it.
    static std::string executableFolder();

  private:
    std::string programFolder_;
    ArmTimer armTimer12_;
    ShowMessage showMessage_;
    FileNumbers fileNumbers_;
};

} // namespace install
