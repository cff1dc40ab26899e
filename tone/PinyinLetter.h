#pragma once

#include <cstddef>
#include <string_view>

namespace tone {

// One letter of pinyin as written, however it is encoded: an ASCII letter, a tone glyph, a
// precomposed letter, or a letter followed by a combining tone mark or the diaeresis of ü.
// Any other unit reads as a "letter" of its own whose base is itself.
struct PinyinLetter {
    char16_t base; // lower case; ü (written ü, Ü, v, V, or u with U+0308) as umlautU
    bool upper;
    int tone; // 1 to 4, 0 for none
    std::size_t units;

    bool isLetter() const;

    // The letter that starts at `at`, with the marks pinyin gives it and no others.
    static PinyinLetter at(std::u16string_view text, std::size_t at);
    // The base of one unit, without the marks that may follow it.
    static char16_t baseOf(char16_t unit);
    // Where a unit of base `base` next stands, from `from` on; npos where none does.
    static std::size_t findBase(std::u16string_view text, std::size_t from, char16_t base);
};

} // namespace tone
