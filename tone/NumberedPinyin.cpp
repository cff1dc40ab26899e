#include "NumberedPinyin.h"

#include "GlyphTables.h"
#include "PinyinSyllables.h"
#include "UnicodePinyin.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tone {

namespace {

constexpr char16_t umlautRow = u'y';
constexpr int neutralTone = 5;

bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isUpper(char16_t c) {
    return c >= u'A' && c <= u'Z';
}

char lower(char16_t c) {
    return static_cast<char>(isUpper(c) ? c - u'A' + u'a' : c);
}

// One letter of a syllable as written: `units` is 2 for the u: spelling of ü.
struct Letter {
    bool upper;
    std::uint8_t units;
};

// The letters just before the end of `text`, in order, at most a syllable's worth:
// plain ASCII letters, and u: as one ü. Anything else ends them, a tone glyph included.
struct Letters {
    static constexpr std::size_t capacity = PinyinSyllables::longest;
    // Only the letters from `start` on are filled.
    std::array<char, capacity> spelled; // lower case, ü as v
    std::array<Letter, capacity> written;
    std::size_t start = capacity;

    std::string_view from(std::size_t at) const { return {spelled.data() + at, capacity - at}; }
};

Letters lettersBefore(std::u16string_view text) {
    Letters letters;
    std::size_t end = text.size();
    while (end > 0 && letters.start > 0) {
        const char16_t last = text[end - 1];
        const std::size_t at = --letters.start;
        if (last == u':' && end >= 2 && lower(text[end - 2]) == 'u') {
            letters.spelled[at] = 'v';
            letters.written[at] = {isUpper(text[end - 2]), 2};
        } else if (isAsciiLetter(last)) {
            letters.spelled[at] = lower(last);
            letters.written[at] = {isUpper(last), 1};
        } else {
            ++letters.start;
            break;
        }
        end -= letters.written[at].units;
    }
    return letters;
}

// The longest ending of `letters` that is a syllable, as its first letter's index. The endings'
// keys grow one letter at a time from the last letter.
std::optional<std::size_t> syllableStart(const Letters& letters) {
    std::optional<std::size_t> start;
    std::uint32_t key = 0;
    std::uint32_t weight = 1;
    for (std::size_t at = Letters::capacity; at-- > letters.start;) {
        key += PinyinSyllables::digitOf(letters.spelled[at]) * weight;
        weight *= 27;
        if (PinyinSyllables::containsKey(key))
            start = at;
    }
    return start;
}

// On a or e when there is one, on the o of ou, otherwise on the last vowel; the syllable's length
// when it has no vowel.
std::size_t markedVowel(std::string_view syllable) {
    const std::size_t none = syllable.size();
    std::size_t ou = none;
    std::size_t last = none;
    for (std::size_t at = 0; at < syllable.size(); ++at) {
        const char letter = syllable[at];
        if (letter == 'a' || letter == 'e')
            return at;
        if (letter == 'o' && syllable.substr(at + 1, 1) == "u")
            ou = at;
        if (letter == 'i' || letter == 'o' || letter == 'u' || letter == 'v')
            last = at;
    }
    return ou != none ? ou : last;
}

char16_t written(char letter, bool upper) {
    return char16_t(upper ? letter - 'a' + 'A' : letter);
}

// A letter with a tone mark: the tone font's glyph, else the precomposed letter, else the letter
// and the combining mark.
std::u16string markedLetter(char letter, bool upper, int tone) {
    if (letter == 'v' && !upper)
        return {glyph(rowOfVowel(umlautRow), tone)};
    const char16_t base = letter == 'v' ? capitalUmlautU : written(letter, upper);
    if (const int row = rowOfVowel(base))
        return {glyph(row, tone)};
    if (const char16_t precomposed = precomposedLetter(base, tone))
        return {precomposed};
    return {base, toneMarks.at(tone - 1)};
}

// The syllable's letters from `start` on, the one at `vowel` marked with `tone`.
SyllableEdit mark(const Letters& letters, std::size_t start, std::size_t vowel, int tone) {
    SyllableEdit edit{0, {}};
    for (std::size_t at = start; at < Letters::capacity; ++at) {
        const char letter = letters.spelled[at];
        const bool upper = letters.written[at].upper;
        edit.syllableUnits += letters.written[at].units;
        if (at - start == vowel)
            edit.marked += markedLetter(letter, upper, tone);
        else if (letter == 'v')
            edit.marked += upper ? std::u16string{capitalUmlautU} : u"u\u0308";
        else
            edit.marked.push_back(written(letter, upper));
    }
    return edit;
}

std::optional<SyllableEdit> markSyllable(const Letters& letters, std::size_t start, int tone) {
    const std::string_view syllable = letters.from(start);
    const std::size_t vowel = tone == neutralTone ? syllable.size() : markedVowel(syllable);
    if (tone != neutralTone && vowel == syllable.size())
        return std::nullopt;
    return mark(letters, start, vowel, tone);
}

// m, n, ng, hm or hng standing alone, with the mark on its m or n.
std::optional<SyllableEdit> markInterjection(const Letters& letters, std::u16string_view before,
                                             int tone, char16_t after) {
    const std::string_view word = letters.from(letters.start);
    std::size_t units = 0;
    for (std::size_t at = letters.start; at < Letters::capacity; ++at)
        units += letters.written[at].units;
    const bool alone =
        units == before.size() || !isWordCharacter(before[before.size() - units - 1]);
    if (!PinyinSyllables::isInterjection(word) || !alone || isWordCharacter(after))
        return std::nullopt;
    return mark(letters, letters.start,
                tone == neutralTone ? word.size() : word.find_first_of("mn"), tone);
}

} // namespace

std::optional<SyllableEdit> NumberedPinyin::toneDigit(std::u16string_view before, char16_t digit,
                                                      char16_t after, std::size_t syllableFrom) {
    if (digit < u'1' || digit > u'0' + neutralTone)
        return std::nullopt;
    const std::size_t from = std::max(syllableFrom, before.size() - std::min(before.size(), reach));
    const Letters letters = lettersBefore(before.substr(from));
    if (const auto start = syllableStart(letters))
        return markSyllable(letters, *start, digit - u'0');
    return markInterjection(letters, before, digit - u'0', after);
}

std::u16string NumberedPinyin::convert(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    // A digit ends the syllable before it, converted or not: "Zhong1guo2" is two syllables.
    std::size_t syllablesFrom = 0;
    std::size_t copied = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t digit = text[at];
        if (digit < u'1' || digit > u'0' + neutralTone)
            continue;
        result.append(text.substr(copied, at - copied));
        copied = at + 1;
        const char16_t after = at + 1 < text.size() ? text[at + 1] : 0;
        const auto edit = toneDigit(result, digit, after, syllablesFrom);
        if (!edit)
            result.push_back(digit);
        else
            result.replace(result.size() - edit->syllableUnits, edit->syllableUnits, edit->marked);
        syllablesFrom = result.size();
    }
    result.append(text.substr(copied));
    return result;
}

bool NumberedPinyin::changes(std::u16string_view text) {
    // Until the first change the converted text is the text itself.
    std::size_t syllablesFrom = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t digit = text[at];
        if (digit < u'1' || digit > u'0' + neutralTone)
            continue;
        const char16_t after = at + 1 < text.size() ? text[at + 1] : 0;
        if (toneDigit(text.substr(0, at), digit, after, syllablesFrom))
            return true;
        syllablesFrom = at + 1;
    }
    return false;
}

} // namespace tone
