#pragma once

#include <cstddef>
#include <string_view>

namespace tone {

// The syllables of Mandarin pinyin, in lower case with ü written v. The interjections m, n, ng,
// hm, hng and ê are left out: the tone font has no glyph for their marks.
class PinyinSyllables {
  public:
    // The longest syllable, in letters.
    static constexpr std::size_t longest = 6;

    static bool contains(std::string_view syllable);
};

} // namespace tone
