#include "GlyphTables.h"

namespace tone {

std::optional<std::int64_t> pairCode(int first, int second) {
    if (first < 0 || second < 0)
        return std::nullopt;
    std::int64_t shift = 10;
    while (shift <= second)
        shift *= 10;
    return first * shift + second;
}

int rowCode(int row, int tone) {
    return glyphRows.at(row - 1).vowel * 100 + '0' + tone;
}

int rowOfVowel(int keyCode) {
    for (int row = 1; row <= rowCount; ++row) {
        if (glyphRows[row - 1].vowel == keyCode)
            return row;
    }
    return 0;
}

bool isToneDigit(int keyCode) {
    return keyCode >= '1' && keyCode <= '4';
}

char16_t glyph(int row, int tone) {
    return glyphRows.at(row - 1).glyphs.at(tone - 1);
}

std::u16string glyphTable(int row) {
    const auto& glyphs = glyphRows.at(row - 1).glyphs;
    return {glyphs.begin(), glyphs.end()};
}

} // namespace tone
