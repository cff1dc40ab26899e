#include "ToneSearch.h"

#include "NumberedPinyin.h"
#include "UnicodePinyin.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

namespace tone {

namespace {

constexpr char16_t folded_u = umlautU;

struct Folding {
    char16_t folded;
    std::uint8_t tone;
};

// Every code unit folded once: a table lookup costs less than working it out for each letter
// of a long text.
const std::array<Folding, 0x10000>& foldings() {
    static const auto table = [] {
        auto folding = std::make_unique<std::array<Folding, 0x10000>>();
        for (std::size_t c = 0; c < folding->size(); ++c) {
            const auto unit = char16_t(c);
            Folding& f = (*folding)[c];
            f = {unit >= u'A' && unit <= u'Z' ? char16_t(unit | 0x20) : unit, 0};
            if (const auto letter = toneLetterOf(unit)) {
                const char16_t base = letter->base;
                f = {base < 0x80 ? char16_t(base | 0x20) : folded_u, std::uint8_t(letter->tone)};
            }
            if (f.folded == u'v' || unit == capitalUmlautU)
                f.folded = folded_u;
        }
        return folding;
    }();
    return *table;
}

bool isToneMark(char16_t c) {
    return std::ranges::find(toneMarks, c) != toneMarks.end();
}

// Consonants other than m and n have no form but their two ASCII cases.
bool hasTwoFormsOnly(char16_t letter) {
    return letter >= u'a' && letter <= u'z' &&
           std::u16string_view(u"aeiouvmn").find(letter) == std::u16string_view::npos;
}

// Where `letter`, in either case, next stands, four units at a time.
std::size_t findEitherCase(std::u16string_view text, std::size_t from, char16_t letter) {
    constexpr std::uint64_t ones = 0x0001000100010001ull;
    const std::uint64_t target = ones * letter;
    std::size_t at = from;
    for (; at + 4 <= text.size(); at += 4) {
        std::uint64_t units;
        std::memcpy(&units, text.data() + at, sizeof units);
        const std::uint64_t differ = (units | ones * 0x20) ^ target;
        if ((differ - ones) & ~differ & ones * 0x8000)
            break;
    }
    for (; at < text.size(); ++at) {
        if ((text[at] | 0x20) == letter)
            return at;
    }
    return text.npos;
}

} // namespace

ToneSearch::Letter ToneSearch::letterAt(std::u16string_view text, std::size_t at) {
    const Folding folding = foldings()[text[at]];
    Letter letter{folding.folded, folding.tone, 1};
    const bool takesMarks =
        (letter.folded >= u'a' && letter.folded <= u'z') || letter.folded == folded_u;
    while (takesMarks && at + letter.units < text.size()) {
        const char16_t mark = text[at + letter.units];
        if (mark == combiningDiaeresis && letter.folded == u'u')
            letter.folded = folded_u;
        else if (isToneMark(mark) && letter.tone == 0)
            letter.tone = int(std::ranges::find(toneMarks, mark) - toneMarks.begin()) + 1;
        else
            break;
        ++letter.units;
    }
    return letter;
}

ToneSearch::ToneSearch(std::u16string_view searchText, bool matchTones) : matchTones_(matchTones) {
    std::u16string pattern = NumberedPinyin::convert(fromUnicodePinyin(searchText));
    for (std::size_t at = 0; at < pattern.size();) {
        Letter letter = letterAt(pattern, at);
        if (letter.folded == u'u' && at + 1 < pattern.size() && pattern[at + 1] == u':') {
            letter.folded = folded_u;
            ++letter.units;
        }
        matchTones_ = matchTones_ || letter.tone != 0;
        letters_.push_back(letter);
        at += letter.units;
    }
}

std::optional<std::size_t> ToneSearch::matchAt(std::u16string_view text, std::size_t at) const {
    const std::size_t start = at;
    for (const Letter& wanted : letters_) {
        if (at >= text.size())
            return std::nullopt;
        const Letter found = letterAt(text, at);
        if (found.folded != wanted.folded || (matchTones_ && found.tone != wanted.tone))
            return std::nullopt;
        at += found.units;
    }
    return at - start;
}

std::size_t ToneSearch::nextCandidate(std::u16string_view text, std::size_t from) const {
    const char16_t first = letters_.front().folded;
    if (hasTwoFormsOnly(first))
        return findEitherCase(text, from, first);
    const auto& folding = foldings();
    for (std::size_t at = from; at < text.size(); ++at) {
        if (folding[text[at]].folded == first)
            return at;
    }
    return text.npos;
}

std::optional<ToneSearch::Match> ToneSearch::next(std::u16string_view text,
                                                  std::size_t from) const {
    if (isEmpty())
        return std::nullopt;
    for (std::size_t at = nextCandidate(text, from); at != text.npos;
         at = nextCandidate(text, at + 1)) {
        if (const auto units = matchAt(text, at))
            return Match{at, *units};
    }
    return std::nullopt;
}

std::optional<ToneSearch::Match> ToneSearch::previous(std::u16string_view text,
                                                      std::size_t before) const {
    if (isEmpty())
        return std::nullopt;
    const auto& folding = foldings();
    const char16_t first = letters_.front().folded;
    for (std::size_t at = std::min(before, text.size()); at-- > 0;) {
        if (folding[text[at]].folded != first)
            continue;
        if (const auto units = matchAt(text, at))
            return Match{at, *units};
    }
    return std::nullopt;
}

} // namespace tone
