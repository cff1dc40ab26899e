#include "MarkedPinyin.h"

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

bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

std::optional<Letter> baseLetter(char16_t c, std::size_t at) {
    if (isAsciiLetter(c))
        return Letter{char(c | 0x20), c <= u'Z', 0, at, 1};
    if (c == capitalUmlautU)
        return Letter{'v', true, 0, at, 1};
    const auto marked = toneLetterOf(c);
    if (!marked)
        return std::nullopt;
    const char16_t base = marked->base;
    const bool umlaut = base == umlautU || base == capitalUmlautU;
    return Letter{umlaut ? 'v' : char(base | 0x20), base == capitalUmlautU || (base <= u'Z'),
                  marked->tone, at, 1};
}

// The combining marks that may follow a letter: its tone, or the diaeresis of ü. Another mark, or
// one too many, makes the word no pinyin; the mark is the letter's all the same.
bool addMark(Letter& letter, char16_t mark) {
    ++letter.units;
    const auto tone = std::ranges::find(toneMarks, mark);
    if (tone != toneMarks.end() && letter.tone == 0)
        letter.tone = int(tone - toneMarks.begin()) + 1;
    else if (mark == combiningDiaeresis && letter.spelled == 'u' && letter.tone == 0)
        letter.spelled = 'v';
    else
        return false;
    return true;
}

bool isMark(char16_t c) {
    return c == combiningDiaeresis || std::ranges::find(toneMarks, c) != toneMarks.end();
}

// The letters of the word at `at`, its end, and whether every mark in it is a pinyin mark.
std::size_t readWord(std::u16string_view text, std::size_t at, std::vector<Letter>& word,
                     bool& pinyin) {
    word.clear();
    pinyin = true;
    while (at < text.size()) {
        auto letter = baseLetter(text[at], at);
        if (!letter)
            break;
        while (at + letter->units < text.size() && isMark(text[at + letter->units]))
            pinyin = addMark(*letter, text[at + letter->units]) && pinyin;
        at += letter->units;
        word.push_back(*letter);
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
