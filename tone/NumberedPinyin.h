#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tone {

// What a tone digit does to the syllable it follows: the last `removeUnits` UTF-16 units before
// the digit give way to `syllable`, and the digit goes.
struct SyllableEdit {
    std::size_t removeUnits;
    std::u16string syllable;
};

// Pinyin written with the tone number after the whole syllable, as dictionaries and courses
// write it ("hao3" for hǎo), turned into the tone font's glyphs.
class NumberedPinyin {
  public:
    // The units before a digit that can matter: the longest syllable with its ü spelled u:,
    // and the character before that colon's u.
    static constexpr std::size_t reach = 8;

    // The tone digit `digit` typed right after `before`; only the last `reach` units of
    // `before` are read. None when the digit is no tone number for a syllable that ends there,
    // or when the tone font has no glyph for the result: then the digit stays as typed.
    static std::optional<SyllableEdit> toneDigit(std::u16string_view before, char16_t digit);

    // Every tone digit of `text`, syllable by syllable, in one pass.
    static std::u16string convert(std::u16string_view text);
};

} // namespace tone
