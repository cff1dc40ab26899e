#include "MarkedPinyin.h"

#include "PinyinLetter.h"
#include "PinyinSyllables.h"
#include "UnicodePinyin.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

namespace tone {

namespace {

// One letter of a word as written: `units` code units from `at`, ü spelled v.
struct Letter {
    char spelled;
    bool upper;
    int tone; // 0 without a mark
    std::size_t at;
    std::size_t units;
};

bool isCombiningMark(char16_t c) {
    return c >= 0x0300 && c <= 0x036F;
}

// The letters of the word at `at`, its end, and whether every mark in it is a pinyin mark: a mark
// that pinyin does not use (the circumflex of ê, a second tone) stays in the word and makes it no
// pinyin.
std::size_t readWord(std::u16string_view text, std::size_t at, std::vector<Letter>& word,
                     bool& pinyin) {
    word.clear();
    pinyin = true;
    while (at < text.size()) {
        const PinyinLetter letter = PinyinLetter::at(text, at);
        if (!letter.isLetter())
            break;
        word.push_back({letter.base == umlautU ? 'v' : char(letter.base), letter.upper, letter.tone,
                        at, letter.units});
        for (at += letter.units; at < text.size() && isCombiningMark(text[at]); ++at)
            pinyin = false;
    }
    return at;
}

// Where the word's syllables end, the longest first syllable that leaves a way through; none
// when there is no way.
std::optional<std::vector<std::size_t>> syllableEnds(std::string_view letters) {
    const std::size_t size = letters.size();
    std::vector<std::size_t> next(size + 1, 0); // the end of the syllable from each letter
    std::vector<bool> through(size + 1, false);
    through[size] = true;
    for (std::size_t from = size; from-- > 0;) {
        if (from > 0 && (letters[from] == 'a' || letters[from] == 'o' || letters[from] == 'e'))
            continue;
        for (std::size_t length = std::min(PinyinSyllables::longest, size - from); length > 0;
             --length) {
            if (through[from + length] && PinyinSyllables::contains(letters.substr(from, length))) {
                next[from] = from + length;
                through[from] = true;
                break;
            }
        }
    }
    if (!through[0])
        return std::nullopt;
    std::vector<std::size_t> ends;
    for (std::size_t at = 0; at < size; at = next[at])
        ends.push_back(next[at]);
    return ends;
}

using LetterSpan = std::span<const Letter>;

// A syllable with one mark, its letters as they are written with a tone number (ü as u:), then
// that number. Unmarked, as it is in `text`.
bool appendSyllable(std::u16string& result, std::u16string_view text, LetterSpan syllable) {
    const auto marks = std::ranges::count_if(syllable, &Letter::tone);
    if (marks == 0) {
        const std::size_t end = syllable.back().at + syllable.back().units;
        result.append(text.substr(syllable.front().at, end - syllable.front().at));
        return true;
    }
    if (marks > 1)
        return false;
    for (const Letter& letter : syllable) {
        if (letter.spelled == 'v')
            result += letter.upper ? u"U:" : u"u:";
        else
            result.push_back(letter.upper ? char16_t(letter.spelled - 'a' + 'A') : letter.spelled);
    }
    result.push_back(char16_t(u'0' + std::ranges::find_if(syllable, &Letter::tone)->tone));
    return true;
}

// The word with each marked syllable numbered, or none when it stays as it is. The
// interjections count only as words of their own.
std::optional<std::u16string> numbered(std::u16string_view text, std::size_t end, LetterSpan word) {
    std::string letters;
    for (const Letter& letter : word)
        letters.push_back(letter.spelled);
    const std::size_t start = word.front().at;
    const bool alone = (start == 0 || !isWordCharacter(text[start - 1])) &&
                       (end == text.size() || !isWordCharacter(text[end]));
    const auto ends = PinyinSyllables::isInterjection(letters) && alone
                          ? std::optional(std::vector<std::size_t>{letters.size()})
                          : syllableEnds(letters);
    if (!ends)
        return std::nullopt;
    std::u16string result;
    std::size_t from = 0;
    for (const std::size_t to : *ends) {
        if (!appendSyllable(result, text, word.subspan(from, to - from)))
            return std::nullopt;
        from = to;
    }
    return result;
}

} // namespace

std::u16string MarkedPinyin::toNumbers(std::u16string_view text) {
    if (std::ranges::all_of(text, [](char16_t c) { return c < 0x80; }))
        return std::u16string(text);
    std::u16string result;
    result.reserve(text.size() + text.size() / 4);
    std::vector<Letter> word;
    std::size_t copied = 0;
    for (std::size_t at = 0; at < text.size();) {
        bool pinyin = true;
        const std::size_t end = readWord(text, at, word, pinyin);
        if (end == at) {
            ++at;
            continue;
        }
        const bool marked = std::ranges::any_of(word, &Letter::tone);
        if (const auto changed = marked && pinyin ? numbered(text, end, word) : std::nullopt) {
            result.append(text.substr(copied, at - copied));
            result += *changed;
            copied = end;
        }
        at = end;
    }
    result.append(text.substr(copied));
    return result;
}

} // namespace tone
