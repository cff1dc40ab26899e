#include "RecordingWin32Platform.h"

#include <sstream>

RecordingWin32Platform::RecordingWin32Platform(std::string programFolder, std::ostream& out)
    : Win32InstallPlatform(
          std::move(programFolder), [this] { timer12Armed_ = true; },
          [this](const std::string& text, std::int32_t buttons) {
              ++messages_;
              out_ << "message: " << text << " (buttons " << buttons << ")\n";
          }),
      out_(out) {}

std::int32_t RecordingWin32Platform::AddFontResourceA(const std::string& path) {
    const std::int32_t added = Win32InstallPlatform::AddFontResourceA(path);
    fontsAdded_.push_back(added);
    return added;
}

std::string RecordingWin32Platform::summary() const {
    std::ostringstream line;
    line << "summary: fonts added [";
    for (std::size_t i = 0; i < fontsAdded_.size(); ++i)
        line << (i == 0 ? "" : " ") << fontsAdded_[i];
    line << "]; messages " << messages_ << "; Timer12 " << (timer12Armed_ ? "armed" : "not armed");
    return line.str();
}
