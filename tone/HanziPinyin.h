#pragma once

#include "HanziTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace tone {

// Chinese text written as pinyin the way the orthography has it: the syllables of a word
// together, words apart ("我们是朋友" is "wǒmen shì péngyou"), an apostrophe before a syllable
// of a, o or e inside a word (xī'ān), the suffix 儿 as r (yīhuìr), and the neutral tones the word
// list gives. Words are the longest the table knows; a character of no word takes its own most
// customary reading. Chinese punctuation becomes its Latin counterpart with a space after it
// where a word follows; curly quotes and the ellipsis count as Chinese only beside Chinese.
// The tones are written as NumberedPinyin writes them. Everything else is kept as it is, with a
// space between pinyin and a Latin word or number it would otherwise touch.
class HanziPinyin {
  public:
    static std::u16string convert(std::u16string_view text, const HanziTable& table);

    // The reading of each character of `run` as the words found in it give them, in numbered
    // pinyin ("yin2", "hang2"); empty for a character the table does not have.
    static std::vector<std::string> syllables(std::u32string_view run, const HanziTable& table);

    // Whether `c` is a Chinese character, whether the table has it or not.
    static bool isHan(char32_t c);
};

} // namespace tone
