#include "NumberedPinyin.h"

#include "GlyphTables.h"
#include "PinyinSyllables.h"

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

// The glyph of the vowel `letter` in `tone`, or none: the font draws no capital Ü.
std::optional<char16_t> toneGlyph(char letter, bool upper, int tone) {
    if (letter == 'v' && upper)
        return std::nullopt;
    const char16_t vowel = letter == 'v' ? umlautRow
                           : upper       ? char16_t(letter - 'a' + 'A')
                                         : char16_t(letter);
    const int row = rowOfVowel(vowel);
    if (row == 0)
        return std::nullopt;
    return glyph(row, tone);
}

std::optional<SyllableEdit> mark(const Letters& letters, std::size_t start, int tone) {
    const std::string_view syllable = letters.from(start);
    const std::size_t unmarked = syllable.size();
    const std::size_t vowel = tone == neutralTone ? unmarked : markedVowel(syllable);
    // The font has no plain ü: a ü without the mark cannot be shown, so it stays as written.
    for (std::size_t i = 0; i < syllable.size(); ++i) {
        if (syllable[i] == 'v' && i != vowel)
            return std::nullopt;
    }
    SyllableEdit edit{0, 0, 0, 0};
    for (std::size_t at = start; at < Letters::capacity; ++at) {
        if (at - start == vowel)
            edit.markAt = edit.syllableUnits;
        edit.syllableUnits += letters.written[at].units;
    }
    if (tone == neutralTone)
        return edit;
    if (vowel == unmarked)
        return std::nullopt;
    const Letter& written = letters.written[start + vowel];
    const auto glyph = toneGlyph(syllable[vowel], written.upper, tone);
    if (!glyph)
        return std::nullopt;
    edit.markUnits = written.units;
    edit.glyph = *glyph;
    return edit;
}

} // namespace

std::u16string SyllableEdit::marked(std::u16string_view syllable) const {
    std::u16string result(syllable);
    if (glyph != 0)
        result.replace(markAt, markUnits, 1, glyph);
    return result;
}

std::optional<SyllableEdit> NumberedPinyin::toneDigit(std::u16string_view before, char16_t digit) {
    if (digit < u'1' || digit > u'0' + neutralTone)
        return std::nullopt;
    const Letters letters =
        lettersBefore(before.substr(before.size() - std::min(before.size(), reach)));
    const auto start = syllableStart(letters);
    if (!start)
        return std::nullopt;
    return mark(letters, *start, digit - u'0');
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
        const auto edit = toneDigit(std::u16string_view(result).substr(syllablesFrom), digit);
        if (!edit)
            result.push_back(digit);
        else if (edit->glyph != 0)
            result.replace(result.size() - edit->syllableUnits + edit->markAt, edit->markUnits, 1,
                           edit->glyph);
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
        if (toneDigit(text.substr(syllablesFrom, at - syllablesFrom), digit))
            return true;
        syllablesFrom = at + 1;
    }
    return false;
}

} // namespace tone
