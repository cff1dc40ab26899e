#pragma once

#include <QString>

namespace bench {

// A made-up pinyin text with tone glyphs in the tone font's encoding and short lines of a few
// words each, as a poem or a word list would have; the same for the same `lines` on every run.
QString pinyinText(int lines);

// The same text with each tone number written after its syllable ("hao3"), not yet converted.
QString numberedPinyinText(int lines);

} // namespace bench
