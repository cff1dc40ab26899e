#include "UnicodePinyin.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <utility>

namespace tone {

namespace {

// Unicode's canonical compositions of the letters that pinyin writes with a tone mark.
struct Composition {
    char16_t letter;
    char16_t base;
    char16_t mark;
};

constexpr char16_t macron = 0x0304;
constexpr char16_t acute = 0x0301;
constexpr char16_t caron = 0x030C;
constexpr char16_t grave = 0x0300;

constexpr std::array<Composition, 44> compositions{{
    {0x00C0, u'A', grave},    {0x00C1, u'A', acute},     {0x00C8, u'E', grave},
    {0x00C9, u'E', acute},    {0x00CC, u'I', grave},     {0x00CD, u'I', acute},
    {0x00D2, u'O', grave},    {0x00D3, u'O', acute},     {0x00D9, u'U', grave},
    {0x00DA, u'U', acute},    {0x00E0, u'a', grave},     {0x00E1, u'a', acute},
    {0x00E8, u'e', grave},    {0x00E9, u'e', acute},     {0x00EC, u'i', grave},
    {0x00ED, u'i', acute},    {0x00F2, u'o', grave},     {0x00F3, u'o', acute},
    {0x00F9, u'u', grave},    {0x00FA, u'u', acute},     {0x0100, u'A', macron},
    {0x0101, u'a', macron},   {0x0112, u'E', macron},    {0x0113, u'e', macron},
    {0x011A, u'E', caron},    {0x011B, u'e', caron},     {0x012A, u'I', macron},
    {0x012B, u'i', macron},   {0x014C, u'O', macron},    {0x014D, u'o', macron},
    {0x016A, u'U', macron},   {0x016B, u'u', macron},    {0x01CD, u'A', caron},
    {0x01CE, u'a', caron},    {0x01CF, u'I', caron},     {0x01D0, u'i', caron},
    {0x01D1, u'O', caron},    {0x01D2, u'o', caron},     {0x01D3, u'U', caron},
    {0x01D4, u'u', caron},    {0x01D6, umlautU, macron}, {0x01D8, umlautU, acute},
    {0x01DA, umlautU, caron}, {0x01DC, umlautU, grave},
}};

// Letters with a tone mark that the tone font has no glyph for, so that they stay precomposed.
constexpr std::array<Composition, 12> lettersWithoutGlyph{{
    {0x01D5, capitalUmlautU, macron},
    {0x01D7, capitalUmlautU, acute},
    {0x01D9, capitalUmlautU, caron},
    {0x01DB, capitalUmlautU, grave},
    {0x1E3E, u'M', acute},
    {0x1E3F, u'm', acute},
    {0x0143, u'N', acute},
    {0x0144, u'n', acute},
    {0x0147, u'N', caron},
    {0x0148, u'n', caron},
    {0x01F8, u'N', grave},
    {0x01F9, u'n', grave},
}};

constexpr std::array<std::span<const Composition>, 2> letterTables{compositions,
                                                                   lettersWithoutGlyph};

constexpr char16_t compose(char16_t base, char16_t mark) {
    for (const auto& composition : compositions) {
        if (composition.base == base && composition.mark == mark)
            return composition.letter;
    }
    return 0;
}

constexpr char16_t baseLetter(const GlyphRow& row) {
    return row.vowel == u'y' ? umlautU : row.vowel;
}

// Glyph codes lie below 0x100 and tone letters below 0x1E0, so both lookups are plain indexing.
constexpr std::size_t glyphLimit = 0x100;
constexpr std::size_t letterLimit = 0x1E0;

struct Lookups {
    std::array<char16_t, glyphLimit> letterOfGlyph{};
    std::array<char16_t, letterLimit> glyphOfLetter{};
    int filled = 0;
};

constexpr Lookups makeLookups() {
    Lookups lookups;
    for (const auto& row : glyphRows) {
        for (int tone = 0; tone < toneCount; ++tone) {
            const char16_t letter = compose(baseLetter(row), toneMarks[tone]);
            const char16_t glyph = row.glyphs[tone];
            if (letter == 0 || letter >= letterLimit || glyph >= glyphLimit ||
                lookups.letterOfGlyph[glyph] != 0 || lookups.glyphOfLetter[letter] != 0)
                return lookups;
            lookups.letterOfGlyph[glyph] = letter;
            lookups.glyphOfLetter[letter] = glyph;
            ++lookups.filled;
        }
    }
    return lookups;
}

constexpr Lookups lookups = makeLookups();
static_assert(lookups.filled == rowCount * toneCount,
              "every glyph code needs a tone letter of its own, and every tone letter a glyph");

constexpr bool isToneMark(char16_t c) {
    return std::find(toneMarks.begin(), toneMarks.end(), c) != toneMarks.end();
}

char16_t glyphOfLetter(char16_t letter) {
    return letter < letterLimit ? lookups.glyphOfLetter[letter] : 0;
}

bool isGlyph(char16_t c) {
    return c < glyphLimit && lookups.letterOfGlyph[c] != 0;
}

// The letters that are glyph codes without being tone letters, and their canonical decompositions.
constexpr std::array<Composition, 16> lookalikes{{
    {0x00CF, u'I', 0x0308},
    {0x00E2, u'a', 0x0302},
    {0x00E3, u'a', 0x0303},
    {0x00E4, u'a', 0x0308},
    {0x00E5, u'a', 0x030A},
    {0x00E7, u'c', 0x0327},
    {0x00EA, u'e', 0x0302},
    {0x00EB, u'e', 0x0308},
    {0x00EE, u'i', 0x0302},
    {0x00EF, u'i', 0x0308},
    {0x00F1, u'n', 0x0303},
    {0x00F4, u'o', 0x0302},
    {0x00F5, u'o', 0x0303},
    {0x00F6, u'o', 0x0308},
    {0x00FB, u'u', 0x0302},
    {0x00FC, u'u', combiningDiaeresis},
}};

const Composition* lookalike(char16_t letter) {
    const auto* found = std::ranges::find(lookalikes, letter, &Composition::letter);
    return found != lookalikes.end() ? found : nullptr;
}

char16_t composeLookalike(char16_t base, char16_t mark) {
    for (const auto& composition : lookalikes) {
        if (composition.base == base && composition.mark == mark)
            return composition.letter;
    }
    return 0;
}

// The base letter that starts `text` with how many code units it takes: u with a combining
// diaeresis counts as ü.
std::pair<char16_t, std::size_t> leadingBase(std::u16string_view text) {
    if (text.size() > 1 && text[0] == u'u' && text[1] == combiningDiaeresis)
        return {umlautU, 2};
    return {text[0], 1};
}

} // namespace

char16_t precomposedLetter(char16_t base, int tone) {
    const char16_t mark = toneMarks.at(tone - 1);
    for (const std::span<const Composition> table : letterTables) {
        for (const Composition& composition : table) {
            if (composition.base == base && composition.mark == mark)
                return composition.letter;
        }
    }
    return 0;
}

std::optional<ToneLetter> toneLetterOf(char16_t c) {
    const char16_t letter = isGlyph(c) ? lookups.letterOfGlyph[c] : c;
    for (const std::span<const Composition> table : letterTables) {
        for (const Composition& composition : table) {
            if (composition.letter == letter) {
                const auto mark = std::ranges::find(toneMarks, composition.mark);
                return ToneLetter{composition.base, int(mark - toneMarks.begin()) + 1};
            }
        }
    }
    return std::nullopt;
}

bool isWordCharacter(char16_t c) {
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    if (c < 0xC0)
        return isGlyph(c);
    const auto within = [c](char16_t first, char16_t last) { return c >= first && c <= last; };
    return c != 0xD7 && c != 0xF7 && !within(0x2000, 0x2BFF) && !within(0x3000, 0x303F) &&
           !within(0xD800, 0xF8FF) && !within(0xFE10, 0xFE6F) && !within(0xFF00, 0xFF0F) &&
           !within(0xFF1A, 0xFF20) && !within(0xFF3B, 0xFF40) && !within(0xFF5B, 0xFF65);
}

namespace {

// With `sources` null when nobody asks where the units come from.
std::u16string unicodePinyin(std::u16string_view text, std::vector<std::uint32_t>* sources) {
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (sources)
            sources->push_back(std::uint32_t(at));
        const char16_t c = text[at];
        if (isGlyph(c)) {
            result.push_back(lookups.letterOfGlyph[c]);
        } else if (const char16_t letter =
                       at + 1 < text.size() ? composeLookalike(c, text[at + 1]) : 0) {
            result.push_back(letter);
            ++at;
        } else {
            result.push_back(c);
        }
    }
    if (sources)
        sources->push_back(std::uint32_t(text.size()));
    return result;
}

} // namespace

std::u16string toUnicodePinyin(std::u16string_view text) {
    return unicodePinyin(text, nullptr);
}

std::u16string toUnicodePinyinMapped(std::u16string_view text,
                                     std::vector<std::uint32_t>& sources) {
    sources.clear();
    sources.reserve(text.size() + 1);
    return unicodePinyin(text, &sources);
}

std::u16string fromUnicodePinyin(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto [base, length] = leadingBase(text.substr(at));
        if (at + length < text.size() && isToneMark(text[at + length])) {
            if (const char16_t glyph = glyphOfLetter(compose(base, text[at + length]))) {
                result.push_back(glyph);
                at += length + 1;
                continue;
            }
        }
        if (const char16_t glyph = glyphOfLetter(text[at])) {
            result.push_back(glyph);
        } else if (const Composition* letter = lookalike(text[at])) {
            result.push_back(letter->base);
            result.push_back(letter->mark);
        } else {
            result.push_back(text[at]);
        }
        ++at;
    }
    return result;
}

std::u16string glyphLookalikeSigns(std::u16string_view text) {
    std::array<bool, glyphLimit> seen{};
    for (char16_t c : text) {
        if (isGlyph(c) && glyphOfLetter(c) == 0 && lookalike(c) == nullptr)
            seen[c] = true;
    }
    std::u16string signs;
    for (std::size_t c = 0; c < glyphLimit; ++c) {
        if (seen[c])
            signs.push_back(static_cast<char16_t>(c));
    }
    return signs;
}

} // namespace tone
