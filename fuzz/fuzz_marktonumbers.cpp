// Texts built of syllables with tone numbers, as the orthography writes them, turned into tone
// marks, back into tone numbers, and into marks again: the text must come back.
#include "FuzzInput.h"
#include "tone/MarkedPinyin.h"
#include "tone/NumberedPinyin.h"
#include "tone/PinyinSyllables.h"

#include <string>

namespace {

constexpr std::string_view interjections[] = {"m", "n", "ng", "hm", "hng"};

bool startsWithVowel(std::string_view syllable) {
    return syllable[0] == 'a' || syllable[0] == 'o' || syllable[0] == 'e';
}

// A syllable as typed: ü as v or u:, capitals where `style` asks, the tone number after it.
std::u16string spelled(std::string_view syllable, std::uint8_t style, int tone) {
    std::u16string written;
    for (std::size_t at = 0; at < syllable.size(); ++at) {
        const bool upper = (style >> (at % 4)) & 1;
        const char letter = syllable[at];
        if (letter == 'v' && style & 0x10)
            written += upper ? u"U:" : u"u:";
        else
            written.push_back(char16_t(upper ? letter - 'a' + 'A' : letter));
    }
    written.push_back(char16_t(u'0' + tone));
    return written;
}

} // namespace

// Each syllable takes three bytes: which syllable, its tone and spelling, what comes before it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader input(data, size);
    const auto syllables = tone::PinyinSyllables::all();
    std::u16string numbered;
    while (!input.empty()) {
        const std::uint16_t pick = input.u16();
        const std::uint8_t style = input.byte(), before = input.byte();
        const bool interjection = pick % 16 == 0;
        const std::string_view syllable =
            interjection ? interjections[pick / 16 % 5] : syllables[pick % syllables.size()];
        // a, o and e start a syllable only after a word's start or an apostrophe, and an
        // interjection stands alone.
        const bool joined = !numbered.empty() && !interjection && !startsWithVowel(syllable);
        numbered += joined && before % 3 == 0 ? u"" : before % 3 == 1 ? u"'" : u" ";
        // The erhua r has no vowel to take a mark.
        numbered += spelled(syllable, style, syllable == "r" ? 5 : 1 + (style >> 5) % 5);
        if (interjection)
            numbered += u" ";
    }
    const std::u16string marked = tone::NumberedPinyin::convert(numbered);
    const std::u16string back = tone::MarkedPinyin::toNumbers(marked);
    fuzz::require(tone::NumberedPinyin::convert(back) == marked,
                  "tone numbers made from marks give the same marks again");
    return 0;
}
