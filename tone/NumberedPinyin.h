#pragma once

#include "PinyinSyllables.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tone {

// What a tone digit does to the `syllableUnits` UTF-16 units of the syllable just before it: they
// and the digit become `marked`.
struct SyllableEdit {
    std::size_t syllableUnits;
    std::u16string marked;
};

// Pinyin written with the tone number after the whole syllable, as dictionaries and courses
// write it ("hao3" for hǎo), turned into the tone font's glyphs. A marked letter the font has no
// glyph for is written precomposed where Unicode has it and its code is no glyph code (Ǜ, ḿ, ň),
// otherwise as its letter and combining marks (ü as u and U+0308, m̄); so is a ü without a mark.
// The interjections m, n, ng, hm and hng take their marks only as whole words.
class NumberedPinyin {
  public:
    // The units before a digit that can matter: the longest syllable, and one more for a ü
    // spelled u:.
    static constexpr std::size_t reach = PinyinSyllables::longest + 1;

    // The tone digit `digit` typed right after `before`, with `after` following it; the syllable
    // lies within the last `reach` units of `before`, from `syllableFrom` on. None when the digit
    // is no tone number for a syllable that ends there: then the digit stays as typed.
    static std::optional<SyllableEdit> toneDigit(std::u16string_view before, char16_t digit,
                                                 char16_t after = 0, std::size_t syllableFrom = 0);

    // Every tone digit of `text`, syllable by syllable, in one pass.
    static std::u16string convert(std::u16string_view text);

    // Whether converting `text` would change it; stops at the first tone digit that acts.
    static bool changes(std::u16string_view text);
};

} // namespace tone
