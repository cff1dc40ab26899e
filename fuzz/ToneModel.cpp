#include "ToneModel.h"

#include <array>

namespace fuzz {

namespace {

constexpr std::u16string_view vowels = u"aeoiuyAEIUO";

// Row by row, the glyphs of tones 1 to 4 as code page 1252 bytes.
constexpr std::array<std::u16string_view, 11> glyphs{
    u"\u00E1\u00E0\u00E2\u00E4", u"\u00E3\u00E5\u00E7\u00E9", u"\u00EE\u00EF\u00F1\u00F3",
    u"\u00EA\u00EB\u00ED\u00EC", u"\u00F2\u00F4\u00F6\u00F5", u"\u00FA\u00F9\u00FB\u00FC",
    u"\u00A2\u00C1\u00A7\u00C0", u"\u00B6\u00C9\u00AE\u00C8", u"\u00B4\u00CD\u00CF\u00CC",
    u"\u00AA\u00DA\u00B5\u00D9", u"\u00D8\u00D3\u00B1\u00D2",
};

int rowOf(std::int16_t key) {
    const auto at = vowels.find(static_cast<char16_t>(key));
    return key > 0 && at != std::u16string_view::npos ? int(at) + 1 : 0;
}

bool isToneDigit(std::int16_t key) {
    return key == '1' || key == '2' || key == '3' || key == '4';
}

bool unitsPair(char16_t first, char16_t second) {
    const bool crLf = first == u'\r' && second == u'\n';
    const bool surrogates = (first & 0xFC00) == 0xD800 && (second & 0xFC00) == 0xDC00;
    return crLf || surrogates;
}

} // namespace

int ToneModel::keyPress(std::int16_t key) {
    int armed = 0;
    if (isToneDigit(key) && pendingVowel_ != 0)
        armed = rowOf(pendingVowel_);
    else
        pendingVowel_ = rowOf(key) != 0 ? key : 0;
    lastKey_ = key;
    return armed;
}

std::optional<ToneModel::Edit> ToneModel::tick(int row, std::u16string_view text) {
    const bool replaces = pendingVowel_ == vowels[row - 1] && isToneDigit(lastKey_);
    pendingVowel_ = 0;
    if (!replaces || text.size() < 2)
        return std::nullopt;
    std::size_t kept = text.size() - 2;
    if (kept > 0 && unitsPair(text[kept - 1], text[kept]))
        --kept;
    return Edit{text.size() - kept, glyphs[row - 1][lastKey_ - '1']};
}

} // namespace fuzz
