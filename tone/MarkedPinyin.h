#pragma once

#include <string>
#include <string_view>

namespace tone {

// Pinyin written with tone marks turned into numbered pinyin ("hǎo" into "hao3"), as
// dictionaries, flashcard programs and input methods take it; NumberedPinyin::convert brings it
// back.
class MarkedPinyin {
  public:
    // Each syllable that carries a tone mark (a glyph code, a precomposed letter or a letter with
    // a combining mark) becomes its letters, ü written u:, with the tone number after it.
    // Syllables are found as the orthography writes them: a, o and e begin one only at the start
    // of a word, or after an apostrophe, which ends a word here. Syllables without a mark, and
    // words that are not pinyin throughout, stay as they are.
    static std::u16string toNumbers(std::u16string_view text);
};

} // namespace tone
