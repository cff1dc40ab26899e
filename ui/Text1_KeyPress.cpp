#include "Text1_KeyPress.h"

#include "FontSizeText.h"
#include "tone/FontHolder.h"

#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>

namespace {

constexpr std::int16_t enter = 13;

} // namespace

void Text1_KeyPress(std::int16_t keyCode, const QLineEdit& Text1, tone::FontHolder& c1,
                    QPlainTextEdit& Text2) {
    if (keyCode != enter)
        return;
    const std::optional<int> points = FontSizeText::toPoints(Text1.text(), QLocale());
    if (!points)
        return;
    c1.setFontSize(static_cast<float>(*points));
    QFont font = Text2.font();
    font.setPointSizeF(c1.fontSize());
    Text2.setFont(font);
}
