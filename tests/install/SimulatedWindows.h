#pragma once

#include "install/InstallPlatform.h"

#include <QStringList>

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>

// A Windows-like system in memory: files by full path, one registry key, a Windows directory and a
// platform id chosen by the test. Every call is recorded with its arguments, in order.
class SimulatedWindows : public install::InstallPlatform {
  public:
    static constexpr std::uint32_t fontsKeyHandle = 0x1F4;

    std::string programDir = "C:\\Tonquill";
    std::uint32_t platformId = 2;
    std::string windowsDir = "C:\\WINNT";
    // When set, GetWindowsDirectoryA returns this and writes nothing.
    std::optional<std::uint32_t> windowsDirResult;
    std::map<std::string, std::string> files;
    // Results of the next AddFontResourceA calls; once used up, a call adds one font when the
    // file exists and none otherwise.
    std::deque<std::int32_t> addFontResults;
    bool fontsKeyExists = true;
    std::int32_t nextFileNumber = 1;
    // Operations that report failure (those returning bool) or throw (all others).
    std::set<std::string> failing;
    // Operations that throw, whatever they return.
    std::set<std::string> throwing;

    QStringList calls;
    QStringList messages;
    std::map<std::string, std::string> fontsKeyValues;
    int timer12Armed = 0;

    std::string pathSeparator() const override { return "\\"; }
    std::string fontsSubfolder() const override { return "Fonts"; }
    std::string programFolder() override;
    std::int32_t freeFileNumber() override;
    bool readFirstField(const std::string& path, std::int32_t fileNo, std::string& field) override;
    std::int32_t GetVersionExA(install::OsVersionInfoA& info) override;
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

    // The calls made, without the program-folder queries that every path begins with.
    QStringList effectCalls() const;

  private:
    void record(const std::string& name, const QStringList& arguments = {});
    // Throws for an operation the test made throw, or made fail when it cannot say so otherwise.
    void raiseIf(const std::string& name, bool returnsBool) const;

    std::uint32_t openKey_ = 0;
};
