#include "DesktopInstallPlatform.h"

#include "FontFileCopy.h"
#include "FontconfigRefresh.h"
#include "MarkerField.h"
#include "PlainFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace install {

namespace {

// Win32 status codes, so that the stored results read as they would on Windows.
constexpr std::int32_t errorSuccess = 0;
constexpr std::int32_t errorFileNotFound = 2;
constexpr std::int32_t errorInvalidHandle = 6;
constexpr std::int32_t errorInvalidParameter = 87;
constexpr std::int32_t errorCantWrite = 1013;

constexpr std::uint32_t fontsKeyHandle = 1;
constexpr std::uint32_t fontsFolderPlatformId = 1;
constexpr std::string_view fontsSubKey = "software\\microsoft\\windows\\currentversion\\fonts";

bool isAbsolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

std::optional<std::string> absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return std::nullopt;
    return std::string(value);
}

std::string withoutTrailingSlashes(std::string path) {
    const std::size_t last = path.find_last_not_of('/');
    path.erase(last == std::string::npos ? 0 : last + 1);
    return path;
}

bool equalsIgnoringCase(std::string_view left, std::string_view right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

QString localPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

DesktopInstallPlatform::DesktopInstallPlatform(std::string programFolder, ArmTimer armTimer12,
                                               ShowMessage showMessage)
    : programFolder_(std::move(programFolder)), armTimer12_(std::move(armTimer12)),
      showMessage_(std::move(showMessage)) {}

bool DesktopInstallPlatform::readFirstField(const std::string& path, std::int32_t fileNo,
                                            std::string& field) {
    if (!isAbsolute(path) || !fileNumbers_.open(fileNo))
        return false;
    const auto prefix = readPrefix(path, markerReadLimit);
    fileNumbers_.close(fileNo);
    if (!prefix)
        return false;
    auto first = firstDelimitedField(prefix->data, prefix->wholeFile);
    if (!first)
        return false;
    field = std::move(*first);
    return true;
}

std::int32_t DesktopInstallPlatform::GetVersionExA(OsVersionInfoA& info) {
    if (info.dwOSVersionInfoSize != versionInfoSize)
        return 0;
    info.dwPlatformId = fontsFolderPlatformId;
    return 1;
}

std::uint32_t DesktopInstallPlatform::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    const auto folder = dataFolder();
    if (!folder || buffer == nullptr)
        return 0;
    const auto length = static_cast<std::uint32_t>(folder->size());
    if (length + 1 > size)
        return length + 1;
    std::memcpy(buffer, folder->data(), length);
    buffer[length] = '\0';
    return length;
}

bool DesktopInstallPlatform::copyFile(const std::string& source, const std::string& target) {
    return isAbsolute(source) && isAbsolute(target) && copyFontFile(source, target);
}

std::int32_t DesktopInstallPlatform::AddFontResourceA(const std::string& path) {
    if (!isAbsolute(path) || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return 0;
    const QString file = localPath(path);
    if (!QFileInfo(file).isFile())
        return 0;
    const int id = QFontDatabase::addApplicationFont(file);
    if (id < 0)
        return 0;
    return static_cast<std::int32_t>(QFontDatabase::applicationFontFamilies(id).size());
}

void DesktopInstallPlatform::messageBox(const std::string& text, std::int32_t) {
    if (showMessage_)
        showMessage_(text);
}

std::int32_t DesktopInstallPlatform::RegOpenKeyA(std::uint32_t root, const std::string& subKey,
                                                 std::uint32_t& key) {
    const auto folder = fontFolder();
    std::error_code error;
    if (root != hkeyLocalMachine || !equalsIgnoringCase(subKey, fontsSubKey) || !folder ||
        !std::filesystem::is_directory(*folder, error))
        return errorFileNotFound;
    openKey_ = fontsKeyHandle;
    key = openKey_;
    return errorSuccess;
}

std::int32_t DesktopInstallPlatform::RegSetValueExA(std::uint32_t key, const std::string& valueName,
                                                    std::uint32_t, std::uint32_t type,
                                                    const char* data, std::uint32_t length) {
    if (key == 0 || key != openKey_)
        return errorInvalidHandle;
    if (type != regSz || valueName.empty() || data == nullptr || length == 0)
        return errorInvalidParameter;
    const auto folder = fontFolder();
    return folder && refreshFontconfig(*folder) ? errorSuccess : errorCantWrite;
}

std::int32_t DesktopInstallPlatform::RegCloseKey(std::uint32_t key) {
    if (key == 0 || key != openKey_)
        return errorInvalidHandle;
    openKey_ = 0;
    return errorSuccess;
}

bool DesktopInstallPlatform::deleteFile(const std::string& path) {
    return isAbsolute(path) && removeFile(path);
}

bool DesktopInstallPlatform::appendQuotedField(const std::string& path, std::int32_t fileNo,
                                               const std::string& field) {
    const bool appended = isAbsolute(path) && fileNumbers_.open(fileNo) &&
                          appendBytes(path, quotedFieldRecord(field));
    fileNumbers_.closeAll();
    return appended;
}

void DesktopInstallPlatform::armTimer12() {
    if (armTimer12_)
        armTimer12_();
}

std::optional<std::string> DesktopInstallPlatform::dataFolder() {
    if (const auto data = absoluteVariable("XDG_DATA_HOME")) {
        const std::string folder = withoutTrailingSlashes(*data);
        return folder.empty() ? std::string("/") : folder;
    }
    if (const auto home = absoluteVariable("HOME"))
        return withoutTrailingSlashes(*home) + "/.local/share";
    return std::nullopt;
}

std::optional<std::string> DesktopInstallPlatform::fontFolder() {
    auto folder = dataFolder();
    if (folder)
        folder->append("/fonts");
    return folder;
}

} // namespace install
