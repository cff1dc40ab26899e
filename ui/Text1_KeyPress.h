#pragma once

#include <cstdint>

class QLineEdit;
class QPlainTextEdit;

namespace tone {
class FontHolder;
}

// The font-size box's key press: Enter applies the typed size to the whole editor by way of the
// font holder. Any other key, and a text that gives no usable size, changes nothing.
void Text1_KeyPress(std::int16_t keyCode, const QLineEdit& Text1, tone::FontHolder& c1,
                    QPlainTextEdit& Text2);
