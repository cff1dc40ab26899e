#pragma once

#include "install/Win32InstallPlatform.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// The Win32 platform with every message written to `out` instead of shown, and a note of what
// AddFontResourceA reported and whether Timer12 was armed, so that a run can be checked
// unattended.
class RecordingWin32Platform : public install::Win32InstallPlatform {
  public:
    RecordingWin32Platform(std::string programFolder, std::ostream& out);

    std::int32_t AddFontResourceA(const std::string& path) override;

    // One line: the fonts added by each AddFontResourceA call, the messages, the timer.
    std::string summary() const;

  private:
    std::ostream& out_;
    std::vector<std::int32_t> fontsAdded_;
    int messages_ = 0;
    bool timer12Armed_ = false;
};
