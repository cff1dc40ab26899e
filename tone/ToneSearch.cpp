#include "ToneSearch.h"

#include "NumberedPinyin.h"
#include "PinyinLetter.h"
#include "UnicodePinyin.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tone {

namespace {

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

ToneSearch::ToneSearch(std::u16string_view searchText, bool matchTones) : matchTones_(matchTones) {
    std::u16string pattern = NumberedPinyin::convert(fromUnicodePinyin(searchText));
    for (std::size_t at = 0; at < pattern.size();) {
        PinyinLetter letter = PinyinLetter::at(pattern, at);
        if (letter.base == u'u' && at + 1 < pattern.size() && pattern[at + 1] == u':') {
            letter.base = umlautU;
            ++letter.units;
        }
        matchTones_ = matchTones_ || letter.tone != 0;
        letters_.push_back(letter);
        at += letter.units;
    }
}

std::optional<std::size_t> ToneSearch::matchAt(std::u16string_view text, std::size_t at) const {
    const std::size_t start = at;
    for (const PinyinLetter& wanted : letters_) {
        if (at >= text.size())
            return std::nullopt;
        const PinyinLetter found = PinyinLetter::at(text, at);
        if (found.base != wanted.base || (matchTones_ && found.tone != wanted.tone))
            return std::nullopt;
        at += found.units;
    }
    return at - start;
}

std::size_t ToneSearch::nextCandidate(std::u16string_view text, std::size_t from) const {
    const char16_t first = letters_.front().base;
    return hasTwoFormsOnly(first) ? findEitherCase(text, from, first)
                                  : PinyinLetter::findBase(text, from, first);
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
    const char16_t first = letters_.front().base;
    for (std::size_t at = std::min(before, text.size()); at-- > 0;) {
        if (PinyinLetter::baseOf(text[at]) != first)
            continue;
        if (const auto units = matchAt(text, at))
            return Match{at, *units};
    }
    return std::nullopt;
}

} // namespace tone
