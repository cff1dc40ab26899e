#include "NumberedPinyin.h"

#include "GlyphTables.h"
#include "PinyinSyllables.h"

#include <algorithm>
#include <array>

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
    char letter; // lower case, ü as v
    bool upper;
    std::size_t units;
};

// The letters just before the end of `text`, nearest last, at most one syllable's worth: plain
// ASCII letters, and u: as one ü. Anything else ends them, a tone glyph included.
struct Letters {
    std::array<Letter, PinyinSyllables::longest + 1> items{};
    std::size_t count = 0;
};

Letters lettersBefore(std::u16string_view text) {
    Letters letters;
    std::size_t end = text.size();
    while (end > 0 && letters.count < letters.items.size()) {
        const char16_t last = text[end - 1];
        Letter letter{};
        if (last == u':' && end >= 2 && lower(text[end - 2]) == 'u')
            letter = {'v', isUpper(text[end - 2]), 2};
        else if (isAsciiLetter(last))
            letter = {lower(last), isUpper(last), 1};
        else
            break;
        letters.items[letters.count++] = letter;
        end -= letter.units;
    }
    std::reverse(letters.items.begin(), letters.items.begin() + letters.count);
    return letters;
}

// The longest ending of `letters` that is a syllable, as its first letter's index.
std::optional<std::size_t> syllableStart(const Letters& letters) {
    std::string spelled;
    for (std::size_t i = 0; i < letters.count; ++i)
        spelled += letters.items[i].letter;
    for (std::size_t start = 0; start < letters.count; ++start) {
        if (letters.count - start <= PinyinSyllables::longest &&
            PinyinSyllables::contains(std::string_view(spelled).substr(start)))
            return start;
    }
    return std::nullopt;
}

// On a or e when there is one, on the o of ou, otherwise on the last vowel.
std::optional<std::size_t> markedVowel(std::string_view syllable) {
    for (char vowel : {'a', 'e'}) {
        if (const auto at = syllable.find(vowel); at != std::string_view::npos)
            return at;
    }
    if (const auto at = syllable.find("ou"); at != std::string_view::npos)
        return at;
    if (const auto at = syllable.find_last_of("iouv"); at != std::string_view::npos)
        return at;
    return std::nullopt;
}

// The glyph of `letter` in `tone`, or none: the font draws no capital Ü.
std::optional<char16_t> toneGlyph(const Letter& letter, int tone) {
    if (letter.letter == 'v' && letter.upper)
        return std::nullopt;
    const char16_t vowel = letter.letter == 'v' ? umlautRow
                           : letter.upper       ? char16_t(letter.letter - 'a' + 'A')
                                                : char16_t(letter.letter);
    const int row = rowOfVowel(vowel);
    if (row == 0)
        return std::nullopt;
    return glyph(row, tone);
}

std::optional<SyllableEdit> mark(std::u16string_view before, const Letters& letters,
                                 std::size_t start, int tone) {
    std::string syllable;
    std::size_t units = 0;
    for (std::size_t i = start; i < letters.count; ++i) {
        syllable += letters.items[i].letter;
        units += letters.items[i].units;
    }
    const auto vowel = tone == neutralTone ? std::nullopt : markedVowel(syllable);
    // The font has no plain ü: a ü without the mark cannot be shown, so it stays as written.
    for (std::size_t i = 0; i < syllable.size(); ++i) {
        if (syllable[i] == 'v' && vowel != i)
            return std::nullopt;
    }
    SyllableEdit edit{units, std::u16string(before.substr(before.size() - units))};
    if (tone == neutralTone)
        return edit;
    if (!vowel)
        return std::nullopt;
    const auto glyph = toneGlyph(letters.items[start + *vowel], tone);
    if (!glyph)
        return std::nullopt;
    std::size_t at = 0;
    for (std::size_t i = start; i < start + *vowel; ++i)
        at += letters.items[i].units;
    edit.syllable.replace(at, letters.items[start + *vowel].units, 1, *glyph);
    return edit;
}

} // namespace

std::optional<SyllableEdit> NumberedPinyin::toneDigit(std::u16string_view before, char16_t digit) {
    if (digit < u'1' || digit > u'0' + neutralTone)
        return std::nullopt;
    const Letters letters =
        lettersBefore(before.substr(before.size() - std::min(before.size(), reach)));
    const auto start = syllableStart(letters);
    if (!start)
        return std::nullopt;
    return mark(before, letters, *start, digit - u'0');
}

std::u16string NumberedPinyin::convert(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    // A digit ends the syllable before it, converted or not: "Zhong1guo2" is two syllables.
    std::size_t syllablesFrom = 0;
    for (const char16_t c : text) {
        if (c >= u'0' && c <= u'9') {
            const auto edit = toneDigit(std::u16string_view(result).substr(syllablesFrom), c);
            if (edit) {
                result.resize(result.size() - edit->removeUnits);
                result += edit->syllable;
            } else {
                result.push_back(c);
            }
            syllablesFrom = result.size();
        } else {
            result.push_back(c);
        }
    }
    return result;
}

} // namespace tone
