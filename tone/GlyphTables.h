#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tone {

inline constexpr int rowCount = 11;
inline constexpr int toneCount = 4;

// One tone vowel and the four characters that the tone font draws as it with tones 1 to 4.
struct GlyphRow {
    char16_t vowel;
    std::array<char16_t, toneCount> glyphs;
};

// In the order in which the key tracker tests them: row 1 arms Timer1 and is held in Text3.
inline constexpr std::array<GlyphRow, rowCount> glyphRows{{
    {u'a', {0xE1, 0xE0, 0xE2, 0xE4}},
    {u'e', {0xE3, 0xE5, 0xE7, 0xE9}},
    {u'o', {0xEE, 0xEF, 0xF1, 0xF3}},
    {u'i', {0xEA, 0xEB, 0xED, 0xEC}},
    {u'u', {0xF2, 0xF4, 0xF6, 0xF5}},
    {u'y', {0xFA, 0xF9, 0xFB, 0xFC}},
    {u'A', {0xA2, 0xC1, 0xA7, 0xC0}},
    {u'E', {0xB6, 0xC9, 0xAE, 0xC8}},
    {u'I', {0xB4, 0xCD, 0xCF, 0xCC}},
    {u'U', {0xAA, 0xDA, 0xB5, 0xD9}},
    {u'O', {0xD8, 0xD3, 0xB1, 0xD2}},
}};

// The number written as the decimal digits of `first` followed by those of `second`;
// none when either is negative, since a sign has no place in the notation.
std::optional<std::int64_t> pairCode(int first, int second);

// The pair code of row `row` (1 to 11) and tone `tone` (1 to 4): vowel × 100 + 48 + tone.
int rowCode(int row, int tone);

// The row (1 to 11) whose vowel is `keyCode`, or 0 when it is not a tone vowel.
int rowOfVowel(int keyCode);

bool isToneDigit(int keyCode);

// The glyph of `tone` (1 to 4) in row `row` (1 to 11).
char16_t glyph(int row, int tone);

// The four-character text of a row's holder box.
std::u16string glyphTable(int row);

} // namespace tone
