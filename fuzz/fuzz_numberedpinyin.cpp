// Any text, as pinyin with tone numbers after the syllables, converted in bulk.
#include "FuzzInput.h"
#include "tone/GlyphTables.h"
#include "tone/NumberedPinyin.h"
#include "tone/UnicodePinyin.h"

#include <algorithm>
#include <string>

namespace {

bool isGlyph(char16_t c) {
    return std::ranges::any_of(tone::glyphRows, [c](const tone::GlyphRow& row) {
        return std::ranges::find(row.glyphs, c) != row.glyphs.end();
    });
}

// What a conversion may touch: letters, digits, the colon of u:, and the glyphs, precomposed
// letters and combining marks it writes.
bool mayChange(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u':' || isGlyph(c) || tone::toneLetterOf(c) || c == tone::capitalUmlautU ||
           c == tone::combiningDiaeresis ||
           std::ranges::find(tone::toneMarks, c) != tone::toneMarks.end();
}

std::u16string untouched(std::u16string_view text) {
    std::u16string kept;
    std::ranges::copy_if(text, std::back_inserter(kept), [](char16_t c) { return !mayChange(c); });
    return kept;
}

} // namespace

// The first byte chooses one character per byte, mostly ASCII, or one per byte pair.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader input(data, size);
    const bool wide = input.byte() & 1;
    std::u16string text;
    while (!input.empty())
        text.push_back(wide ? input.u16() : input.byte());
    const std::u16string converted = tone::NumberedPinyin::convert(text);
    fuzz::require(converted.size() <= text.size(), "a conversion never lengthens the text");
    fuzz::require(tone::NumberedPinyin::changes(text) == (converted != text),
                  "changes tells whether the conversion changes the text");
    fuzz::require(untouched(converted) == untouched(text),
                  "blanks, line breaks and other characters stay as they are, in order");
    return 0;
}
