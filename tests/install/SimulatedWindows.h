#pragma once

#include "install/InstallPlatform.h"
#include "install/MarkerField.h"

#include <QMap>
#include <QStringList>

#include <cstring>

// A Windows-like system in memory: files by full path, a Windows directory and a platform id
// chosen by the test. Every call but programFolder() is recorded as one string, "name(arguments)".
class SimulatedWindows : public install::InstallPlatform {
  public:
    QString programDir = QStringLiteral("C:\\Tonquill");
    std::uint32_t platformId = 2;
    std::string windowsDir = "C:\\WINNT";
    QMap<QString, QByteArray> files;
    // "name" reports failure through its result (or throws, having none); "name!" throws; "*"
    // makes every operation throw.
    QStringList failing;
    QStringList calls;

    std::string pathSeparator() const override { return "\\"; }
    std::string fontsSubfolder() const override { return "Fonts"; }
    std::string programFolder() override {
        fails(nullptr, {});
        return programDir.toStdString();
    }
    std::int32_t freeFileNumber() override { return fails("freeFileNumber", {}, false) ? 0 : 7; }
    bool readFirstField(const std::string& path, std::int32_t fileNo, std::string& field) override {
        if (fails("readFirstField", {s(path), n(fileNo)}) || !files.contains(s(path)))
            return false;
        const auto first = install::firstDelimitedField(files[s(path)].toStdString(), true);
        field = first.value_or(field);
        return first.has_value();
    }
    std::int32_t GetVersionExA(install::OsVersionInfoA& info) override {
        if (fails("GetVersionExA", {n(info.dwOSVersionInfoSize)}))
            return 0;
        info.dwPlatformId = platformId;
        return 1;
    }
    std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override {
        const auto length = static_cast<std::uint32_t>(windowsDir.size());
        if (fails("GetWindowsDirectoryA", {n(size)}))
            return 0;
        if (length + 1 > size)
            return length + 1;
        std::memcpy(buffer, windowsDir.c_str(), length + 1);
        return length;
    }
    bool copyFile(const std::string& source, const std::string& target) override {
        if (fails("copyFile", {s(source), s(target)}) || !files.contains(s(source)))
            return false;
        files[s(target)] = files[s(source)];
        return true;
    }
    std::int32_t AddFontResourceA(const std::string& path) override {
        return !fails("AddFontResourceA", {s(path)}) && files.contains(s(path));
    }
    void messageBox(const std::string& text, std::int32_t buttons) override {
        fails("messageBox", {s(text), n(buttons)}, false);
    }
    std::int32_t RegOpenKeyA(std::uint32_t root, const std::string& subKey,
                             std::uint32_t& key) override {
        if (fails("RegOpenKeyA", {hex(root), s(subKey)}))
            return 2;
        key = 0x1F4;
        return 0;
    }
    std::int32_t RegSetValueExA(std::uint32_t key, const std::string& valueName,
                                std::uint32_t reserved, std::uint32_t type, const char* data,
                                std::uint32_t length) override {
        const std::string bytes(data, data ? length : 0);
        return fails("RegSetValueExA",
                     {hex(key), s(valueName), n(reserved), n(type), s(bytes), n(length)})
                   ? 6
                   : 0;
    }
    std::int32_t RegCloseKey(std::uint32_t key) override {
        return fails("RegCloseKey", {hex(key)}) ? 6 : 0;
    }
    bool deleteFile(const std::string& path) override {
        return !fails("deleteFile", {s(path)}) && files.remove(s(path)) == 1;
    }
    bool appendQuotedField(const std::string& path, std::int32_t fileNo,
                           const std::string& field) override {
        if (fails("appendQuotedField", {s(path), n(fileNo), s(field)}))
            return false;
        files[s(path)] += QByteArray::fromStdString(install::quotedFieldRecord(field));
        return true;
    }
    void armTimer12() override { fails("armTimer12", {}, false); }

  private:
    // Records the call (none for a null name) and tells whether it is to fail, or throws.
    bool fails(const char* name, const QStringList& arguments, bool canReport = true);
    static QString s(const std::string& text) { return QString::fromLatin1(text); }
    static QString n(std::int64_t number) { return QString::number(number); }
    static QString hex(std::uint32_t number) { return QStringLiteral("0x%1").arg(number, 0, 16); }
};
