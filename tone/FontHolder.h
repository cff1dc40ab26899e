#pragma once

#include "ToneFont.h"

#include <string>

namespace tone {

// `c1`: the window's never-shown store of a font name and a font size that several handlers share.
class FontHolder {
  public:
    const std::string& fontName() const { return fontName_; }
    float fontSize() const { return fontSize_; }
    void setFontSize(float points) { fontSize_ = points; }

  private:
    std::string fontName_{toneFontFace};
    float fontSize_ = 8.0f;
};

} // namespace tone
