#pragma once

#include <cstdint>
#include <optional>

class QLocale;
class QString;

// Reads the font size the user typed into the size box.
class FontSizeText {
  public:
    // Larger sizes are applied as this one: a glyph this size is already twice as tall as the
    // editor, so larger ones would show no more than a piece of one letter.
    static constexpr int largestPoints = 400;

    // The text as a whole number in the user's number format: blanks around it allowed, group
    // separators where the locale puts them, a fraction rounded to the nearest whole number and an
    // exact half to the even one. Nothing when it is no number or does not fit in 16 bits.
    static std::optional<std::int16_t> toInteger(const QString& text, const QLocale& locale);

    // The size to apply: nothing for what does not convert or is below one point, and sizes above
    // `largestPoints` brought down to it.
    static std::optional<int> toPoints(const QString& text, const QLocale& locale);
};
