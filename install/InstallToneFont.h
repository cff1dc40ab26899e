#pragma once

#include <string>
#include <string_view>

namespace install {

class InstallPlatform;
struct InstallFields;

// The first-run installation of the tone font: when the marker beside the program asks for it,
// copies the font into the system's font folder, adds it to the running system twice, registers it
// machine-wide, rewrites the marker and arms Timer12. A step that fails is skipped and the next
// one runs; nothing escapes to the caller.
class InstallToneFont {
  public:
    InstallToneFont(InstallPlatform& platform, InstallFields& fields);

    void run();

  private:
    using Step = void (InstallToneFont::*)();

    void attempt(Step step);
    void takeFileNumber();
    void readMarker();
    void blankFontDir();
    void askPlatform();
    void readWindowsDirectory();
    void appendFontsFolder();
    void trimFontDir();
    void copyFont();
    void addFont();
    void reportAddFailure();
    void openFontsKey();
    void setFontValue();
    void closeFontsKey();
    void deleteMarker();
    void rewriteMarker();
    void armTimer();

    std::string besideProgram(std::string_view fileName);
    std::string fontTarget() const;

    InstallPlatform& platform_;
    InstallFields& fields_;
    // A test that fails goes on as if it held, so a failed platform check counts as NT.
    bool nt_ = true;
};

} // namespace install
