#include "InstallToneFont.h"

#include "InstallFields.h"
#include "InstallPlatform.h"
#include "IsNTPlatform.h"

#include "tone/ToneFont.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace install {

namespace {

constexpr std::string_view markerFile = "font.log";
constexpr std::string_view markerAsksForInstall = "nej";
constexpr std::string_view markerDone = "Ja";
constexpr std::size_t fontDirSize = 260;
constexpr std::string_view addFontFailed = "Error Occured Calling AddFontResource";
constexpr std::string_view fontsKeyParent = "software\\microsoft\\windows\\currentversion\\";
constexpr std::string_view fontsKeyName = "fonts";
constexpr std::string_view fontValueName = "pyserif";
constexpr std::string_view trueTypeSuffix = "(TrueType)";

// Writes `text` over `target` from the 1-based position `start` without changing its length; a
// start outside the string is an error, as it is for the runtime's own in-place overwrite.
bool overwriteAt(std::string& target, std::int64_t start, std::string_view text) {
    if (start < 1 || start > static_cast<std::int64_t>(target.size()))
        return false;
    const auto at = static_cast<std::size_t>(start - 1);
    const std::size_t count = std::min(text.size(), target.size() - at);
    target.replace(at, count, text.substr(0, count));
    return true;
}

} // namespace

InstallToneFont::InstallToneFont(InstallPlatform& platform, InstallFields& fields)
    : platform_(platform), fields_(fields) {}

void InstallToneFont::run() {
    attempt(&InstallToneFont::takeFileNumber);
    attempt(&InstallToneFont::readMarker);
    if (fields_.installMarker != markerAsksForInstall)
        return;
    static constexpr std::array<Step, 16> steps = {
        &InstallToneFont::blankFontDir,
        &InstallToneFont::askPlatform,
        &InstallToneFont::readWindowsDirectory,
        &InstallToneFont::appendFontsFolder,
        &InstallToneFont::trimFontDir,
        &InstallToneFont::copyFont,
        &InstallToneFont::addFont,
        &InstallToneFont::reportAddFailure,
        &InstallToneFont::openFontsKey,
        &InstallToneFont::setFontValue,
        &InstallToneFont::closeFontsKey,
        &InstallToneFont::addFont,
        &InstallToneFont::reportAddFailure,
        &InstallToneFont::deleteMarker,
        &InstallToneFont::rewriteMarker,
        &InstallToneFont::armTimer,
    };
    for (Step step : steps)
        attempt(step);
}

void InstallToneFont::attempt(Step step) {
    try {
        (this->*step)();
    } catch (...) {
        // The step is abandoned like any other failure; the next one runs.
    }
}

void InstallToneFont::takeFileNumber() {
    fields_.markerFileNo = platform_.freeFileNumber();
}

void InstallToneFont::readMarker() {
    const std::string path = besideProgram(markerFile);
    platform_.readFirstField(path, fields_.markerFileNo, fields_.installMarker);
}

void InstallToneFont::blankFontDir() {
    fields_.fontDir.assign(fontDirSize, ' ');
}

void InstallToneFont::askPlatform() {
    nt_ = IsNTPlatform(platform_);
}

void InstallToneFont::readWindowsDirectory() {
    // The platform writes into a buffer of its own, as the runtime hands a string to an API call.
    std::array<char, fontDirSize> buffer;
    buffer.fill(' ');
    std::copy_n(fields_.fontDir.begin(), std::min(fields_.fontDir.size(), buffer.size()),
                buffer.begin());
    const auto length = static_cast<std::uint32_t>(buffer.size());
    fields_.apiResult =
        static_cast<std::int32_t>(platform_.GetWindowsDirectoryA(buffer.data(), length));
    fields_.fontDir.assign(buffer.data(), buffer.size());
}

void InstallToneFont::appendFontsFolder() {
    if (fields_.apiResult == 0)
        return;
    const std::string separator = platform_.pathSeparator();
    const std::string tail = nt_ ? separator : separator + platform_.fontsSubfolder() + separator;
    overwriteAt(fields_.fontDir, std::int64_t{fields_.apiResult} + 1, tail);
}

void InstallToneFont::trimFontDir() {
    const std::size_t last = fields_.fontDir.find_last_not_of(' ');
    fields_.fontDir.erase(last == std::string::npos ? 0 : last + 1);
}

void InstallToneFont::copyFont() {
    const std::string source = besideProgram(tone::toneFontFile);
    platform_.copyFile(source, fontTarget());
}

void InstallToneFont::addFont() {
    fields_.apiResult = platform_.AddFontResourceA(fontTarget());
}

void InstallToneFont::reportAddFailure() {
    if (fields_.apiResult == 0)
        platform_.messageBox(std::string(addFontFailed), 0);
}

void InstallToneFont::openFontsKey() {
    const std::string subKey = std::string(fontsKeyParent) + std::string(fontsKeyName);
    fields_.apiResult = platform_.RegOpenKeyA(hkeyLocalMachine, subKey, fields_.hFontsKey);
}

void InstallToneFont::setFontValue() {
    const std::string valueName = std::string(fontValueName) + std::string(trueTypeSuffix);
    const std::string data(tone::toneFontFile);
    fields_.apiResult =
        platform_.RegSetValueExA(fields_.hFontsKey, valueName, 0, regSz, data.data(),
                                 static_cast<std::uint32_t>(data.size()));
}

void InstallToneFont::closeFontsKey() {
    fields_.apiResult = platform_.RegCloseKey(fields_.hFontsKey);
}

void InstallToneFont::deleteMarker() {
    platform_.deleteFile(besideProgram(markerFile));
}

void InstallToneFont::rewriteMarker() {
    const std::string path = besideProgram(markerFile);
    platform_.appendQuotedField(path, fields_.markerFileNo, std::string(markerDone));
}

void InstallToneFont::armTimer() {
    platform_.armTimer12();
}

std::string InstallToneFont::besideProgram(std::string_view fileName) {
    return platform_.programFolder() + platform_.pathSeparator() + std::string(fileName);
}

std::string InstallToneFont::fontTarget() const {
    return fields_.fontDir + std::string(tone::toneFontFile);
}

} // namespace install
