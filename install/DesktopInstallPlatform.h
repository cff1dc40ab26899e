#pragma once

#include "FileNumbers.h"
#include "InstallPlatform.h"

#include <functional>
#include <optional>
#include <string>

namespace install {

// The installation's operations on a Linux desktop: the user's data folder stands for the
// Windows directory and its fonts/ subfolder for the font folder, the running program's font
// database for the window system's font table, and a fontconfig refresh of that folder for the
// machine-wide font list. Paths that are not absolute are refused, so nothing ever lands in the
// current directory.
class DesktopInstallPlatform : public InstallPlatform {
  public:
    using ArmTimer = std::function<void()>;
    using ShowMessage = std::function<void(const std::string& text)>;

    // `programFolder` is the executable's folder, absolute.
    DesktopInstallPlatform(std::string programFolder, ArmTimer armTimer12, ShowMessage showMessage);

    std::string pathSeparator() const override { return "/"; }
    std::string fontsSubfolder() const override { return "fonts"; }
    std::string programFolder() override { return programFolder_; }
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

    // $XDG_DATA_HOME, else $HOME/.local/share, without a trailing separator; nothing when neither
    // names an absolute folder.
    static std::optional<std::string> dataFolder();
    // The user's font folder, fonts/ in the data folder.
    static std::optional<std::string> fontFolder();

  private:
    std::string programFolder_;
    ArmTimer armTimer12_;
    ShowMessage showMessage_;
    FileNumbers fileNumbers_;
    std::uint32_t openKey_ = 0;
};

} // namespace install
