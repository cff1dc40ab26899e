#pragma once

#include "PinyinSyllables.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tone {

// What a tone digit does to the `syllableUnits` UTF-16 units of the syllable just before it: the
// digit goes, and unless the tone is neutral, the `markUnits` units at `markAt` (the vowel, two
// units for a ü spelled u:) become `glyph`.
struct SyllableEdit {
    std::size_t syllableUnits;
    std::size_t markAt;
    std::size_t markUnits;
    char16_t glyph; // 0 in the neutral tone

    // The syllable as the edit leaves it, given as written.
    std::u16string marked(std::u16string_view syllable) const;
};

// Pinyin written with the tone number after the whole syllable, as dictionaries and courses
// write it ("hao3" for hǎo), turned into the tone font's glyphs.
class NumberedPinyin {
  public:
    // The units before a digit that can matter: the longest syllable, and one more for a ü
    // spelled u:.
    static constexpr std::size_t reach = PinyinSyllables::longest + 1;

    // The tone digit `digit` typed right after `before`; only the last `reach` units of
    // `before` are read. None when the digit is no tone number for a syllable that ends there,
    // or when the tone font has no glyph for the result: then the digit stays as typed.
    static std::optional<SyllableEdit> toneDigit(std::u16string_view before, char16_t digit);

    // Every tone digit of `text`, syllable by syllable, in one pass.
    static std::u16string convert(std::u16string_view text);

    // Whether converting `text` would change it; stops at the first tone digit that acts.
    static bool changes(std::u16string_view text);
};

} // namespace tone
