#include "PinyinLetter.h"

#include "UnicodePinyin.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

namespace tone {

namespace {

struct Reading {
    char16_t base;
    bool upper;
    std::uint8_t tone;
};

// Every code unit read once, on first use: a lookup costs less than working it out for each
// letter of a long text.
const std::array<Reading, 0x10000>& readings() {
    static const auto table = [] {
        auto readings = std::make_unique<std::array<Reading, 0x10000>>();
        for (std::size_t c = 0; c < readings->size(); ++c) {
            const auto unit = char16_t(c);
            const bool capital = unit >= u'A' && unit <= u'Z';
            Reading reading{capital ? char16_t(unit | 0x20) : unit, capital, 0};
            if (const auto letter = toneLetterOf(unit)) {
                const char16_t base = letter->base;
                reading = {base < 0x80 ? char16_t(base | 0x20) : base,
                           base == capitalUmlautU || (base >= u'A' && base <= u'Z'),
                           std::uint8_t(letter->tone)};
            }
            if (reading.base == u'v' || reading.base == capitalUmlautU) {
                reading.upper = reading.upper || reading.base == capitalUmlautU;
                reading.base = umlautU;
            }
            (*readings)[c] = reading;
        }
        return readings;
    }();
    return *table;
}

int toneOfMark(char16_t mark) {
    const auto found = std::ranges::find(toneMarks, mark);
    return found == toneMarks.end() ? 0 : int(found - toneMarks.begin()) + 1;
}

} // namespace

bool PinyinLetter::isLetter() const {
    return (base >= u'a' && base <= u'z') || base == umlautU;
}

char16_t PinyinLetter::baseOf(char16_t unit) {
    return readings()[unit].base;
}

std::size_t PinyinLetter::findBase(std::u16string_view text, std::size_t from, char16_t base) {
    const auto& table = readings();
    for (std::size_t at = from; at < text.size(); ++at) {
        if (table[text[at]].base == base)
            return at;
    }
    return text.npos;
}

PinyinLetter PinyinLetter::at(std::u16string_view text, std::size_t at) {
    const Reading reading = readings()[text[at]];
    PinyinLetter letter{reading.base, reading.upper, reading.tone, 1};
    while (letter.isLetter() && at + letter.units < text.size()) {
        const char16_t mark = text[at + letter.units];
        if (mark < 0x0300 || mark > 0x036F) // most letters come without a combining mark
            break;
        if (mark == combiningDiaeresis && letter.base == u'u' && letter.tone == 0)
            letter.base = umlautU;
        else if (const int tone = toneOfMark(mark); tone != 0 && letter.tone == 0)
            letter.tone = tone;
        else
            break;
        ++letter.units;
    }
    return letter;
}

} // namespace tone
