#include "UserToneFont.h"

#include "DesktopInstallPlatform.h"
#include "FontFileCopy.h"
#include "FontconfigRefresh.h"
#include "MarkerField.h"
#include "PlainFiles.h"

#include "tone/ToneFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace install {

namespace {

constexpr std::string_view markerDone = "Ja";

bool markerSaysDone(const std::string& programFolder) {
    const auto prefix = readPrefix(programFolder + "/font.log", markerReadLimit);
    return prefix && firstDelimitedField(prefix->data, prefix->wholeFile) == markerDone;
}

// The user's own fonts and the machine's, but not the fonts a program added for itself: Qt adds
// its application fonts to fontconfig as well.
bool fontconfigKnowsToneFont() {
    if (!FcInit())
        return false;
    FcConfig* config = FcConfigGetCurrent();
    FcFontSet* system = FcConfigGetFonts(config, FcSetSystem);
    if (system == nullptr)
        return false;
    const std::string face(tone::toneFontFace);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* found = FcFontSetList(config, &system, 1, pattern, objects);
    const bool known = found != nullptr && found->nfont > 0;
    FcFontSetDestroy(found);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return known;
}

std::string fontFile(const std::string& folder) {
    return folder + "/" + std::string(tone::toneFontFile);
}

} // namespace

UserToneFont::UserToneFont(std::string programFolder)
    : programFolder_(std::move(programFolder)), known_(fontconfigKnowsToneFont()),
      copyWanted_(!known_ && markerSaysDone(programFolder_)) {}

QStringList UserToneFont::complete() const {
    if (copyWanted_)
        copyForThisUser();
    if (known_ || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    const QString file = QFile::decodeName(QByteArray::fromStdString(fontFile(programFolder_)));
    const int id = QFontDatabase::addApplicationFont(file);
    return id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
}

// The installation's own copy and refresh, with nothing reported.
void UserToneFont::copyForThisUser() const {
    const auto fonts = DesktopInstallPlatform::fontFolder();
    if (fonts && copyFontFile(fontFile(programFolder_), fontFile(*fonts)))
        refreshFontconfig(*fonts);
}

} // namespace install
