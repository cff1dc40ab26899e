#include "SimulatedWindows.h"

#include "install/MarkerField.h"

#include <cstring>
#include <stdexcept>

namespace {

QString text(const std::string& value) {
    return QString::fromLatin1(value.data(), value.size());
}

QString number(std::int64_t value) {
    return QString::number(value);
}

QString hex(std::uint32_t value) {
    return QStringLiteral("0x%1").arg(value, 0, 16);
}

bool sameIgnoringCase(const std::string& left, const std::string& right) {
    return text(left).compare(text(right), Qt::CaseInsensitive) == 0;
}

} // namespace

void SimulatedWindows::record(const std::string& name, const QStringList& arguments) {
    calls << QStringLiteral("%1(%2)").arg(text(name), arguments.join(QStringLiteral(", ")));
}

void SimulatedWindows::raiseIf(const std::string& name, bool returnsBool) const {
    if (throwing.count(name) || (!returnsBool && failing.count(name)))
        throw std::runtime_error(name + " raised an error");
}

QStringList SimulatedWindows::effectCalls() const {
    QStringList effects;
    for (const QString& call : calls) {
        if (call != QLatin1String("programFolder()"))
            effects << call;
    }
    return effects;
}

std::string SimulatedWindows::programFolder() {
    record("programFolder");
    raiseIf("programFolder", false);
    return programDir;
}

std::int32_t SimulatedWindows::freeFileNumber() {
    record("freeFileNumber");
    raiseIf("freeFileNumber", false);
    return nextFileNumber;
}

bool SimulatedWindows::readFirstField(const std::string& path, std::int32_t fileNo,
                                      std::string& field) {
    record("readFirstField", {text(path), number(fileNo)});
    raiseIf("readFirstField", true);
    const auto file = files.find(path);
    if (failing.count("readFirstField") || file == files.end() || fileNo == 0)
        return false;
    const auto first = install::firstDelimitedField(file->second, true);
    if (first)
        field = *first;
    return first.has_value();
}

std::int32_t SimulatedWindows::GetVersionExA(install::OsVersionInfoA& info) {
    bool zeroed = info.dwMajorVersion == 0 && info.dwMinorVersion == 0 && info.dwBuildNumber == 0 &&
                  info.dwPlatformId == 0;
    for (char c : info.szCSDVersion)
        zeroed = zeroed && c == 0;
    record("GetVersionExA", {number(info.dwOSVersionInfoSize), zeroed ? "zeroed" : "not zeroed"});
    raiseIf("GetVersionExA", false);
    if (info.dwOSVersionInfoSize != sizeof(install::OsVersionInfoA))
        return 0;
    info.dwPlatformId = platformId;
    return 1;
}

std::uint32_t SimulatedWindows::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    record("GetWindowsDirectoryA", {number(size)});
    raiseIf("GetWindowsDirectoryA", false);
    if (windowsDirResult)
        return *windowsDirResult;
    const auto length = static_cast<std::uint32_t>(windowsDir.size());
    if (length + 1 > size)
        return length + 1;
    std::memcpy(buffer, windowsDir.data(), length);
    buffer[length] = '\0';
    return length;
}

bool SimulatedWindows::copyFile(const std::string& source, const std::string& target) {
    record("copyFile", {text(source), text(target)});
    raiseIf("copyFile", true);
    const auto file = files.find(source);
    if (failing.count("copyFile") || file == files.end())
        return false;
    files[target] = file->second;
    return true;
}

std::int32_t SimulatedWindows::AddFontResourceA(const std::string& path) {
    record("AddFontResourceA", {text(path)});
    raiseIf("AddFontResourceA", false);
    if (addFontResults.empty())
        return files.count(path) ? 1 : 0;
    const std::int32_t result = addFontResults.front();
    addFontResults.pop_front();
    return result;
}

void SimulatedWindows::messageBox(const std::string& message, std::int32_t buttons) {
    record("messageBox", {text(message), number(buttons)});
    raiseIf("messageBox", false);
    messages << text(message);
}

std::int32_t SimulatedWindows::RegOpenKeyA(std::uint32_t root, const std::string& subKey,
                                           std::uint32_t& key) {
    record("RegOpenKeyA", {hex(root), text(subKey)});
    raiseIf("RegOpenKeyA", false);
    const std::string fontsKey = "software\\microsoft\\windows\\currentversion\\fonts";
    if (!fontsKeyExists || root != install::hkeyLocalMachine || !sameIgnoringCase(subKey, fontsKey))
        return 2;
    openKey_ = fontsKeyHandle;
    key = openKey_;
    return 0;
}

std::int32_t SimulatedWindows::RegSetValueExA(std::uint32_t key, const std::string& valueName,
                                              std::uint32_t reserved, std::uint32_t type,
                                              const char* data, std::uint32_t length) {
    const std::string bytes = data ? std::string(data, length) : std::string();
    record("RegSetValueExA", {hex(key), text(valueName), number(reserved), number(type),
                              text(bytes), number(length)});
    raiseIf("RegSetValueExA", false);
    if (key == 0 || key != openKey_)
        return 6;
    fontsKeyValues[valueName] = bytes;
    return 0;
}

std::int32_t SimulatedWindows::RegCloseKey(std::uint32_t key) {
    record("RegCloseKey", {hex(key)});
    raiseIf("RegCloseKey", false);
    if (key == 0 || key != openKey_)
        return 6;
    openKey_ = 0;
    return 0;
}

bool SimulatedWindows::deleteFile(const std::string& path) {
    record("deleteFile", {text(path)});
    raiseIf("deleteFile", true);
    return !failing.count("deleteFile") && files.erase(path) == 1;
}

bool SimulatedWindows::appendQuotedField(const std::string& path, std::int32_t fileNo,
                                         const std::string& field) {
    record("appendQuotedField", {text(path), number(fileNo), text(field)});
    raiseIf("appendQuotedField", true);
    if (failing.count("appendQuotedField") || fileNo == 0)
        return false;
    files[path] += install::quotedFieldRecord(field);
    return true;
}

void SimulatedWindows::armTimer12() {
    record("armTimer12");
    raiseIf("armTimer12", false);
    ++timer12Armed;
}
