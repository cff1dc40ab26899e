#pragma once

#include "GlyphTables.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tone {

// The combining marks of tones 1 to 4: macron, acute, caron, grave.
inline constexpr std::array<char16_t, toneCount> toneMarks{0x0304, 0x0301, 0x030C, 0x0300};

// The letter the tone font shows for row y: the key y stands for ü, which has no key of its own.
inline constexpr char16_t umlautU = 0x00FC;
inline constexpr char16_t capitalUmlautU = 0x00DC;
inline constexpr char16_t combiningDiaeresis = 0x0308;

// A letter that carries a tone: its base letter (ü and Ü as umlautU and capitalUmlautU) and its
// tone, 1 to 4.
struct ToneLetter {
    char16_t base;
    int tone;
};

// The precomposed Unicode letter of `base` with the mark of `tone` (1 to 4), or 0 where Unicode has
// none: the tone letters, and those the tone font does not draw (Ǖ Ǘ Ǚ Ǜ, ḿ ń ň ǹ, Ḿ Ń Ň Ǹ).
char16_t precomposedLetter(char16_t base, int tone);

// A glyph code, or a letter of precomposedLetter, read back; none for any other character.
std::optional<ToneLetter> toneLetterOf(char16_t c);

// Whether `c` can be part of a word: a letter, a digit, a combining mark or a glyph code; not a
// blank, a punctuation mark or a symbol. Close enough for telling whether a pinyin letter stands
// alone, without Unicode's tables.
bool isWordCharacter(char16_t c);

// Every glyph code becomes its Unicode tone letter, so that the text reads right in any font, and
// the letters that fromUnicodePinyin decomposed are composed again.
std::u16string toUnicodePinyin(std::u16string_view text);
// The same, noting for each unit of the result the offset in `text` it comes from, and last the
// length of `text`: a composed letter takes two units of `text`, every other unit one.
std::u16string toUnicodePinyinMapped(std::u16string_view text, std::vector<std::uint32_t>& sources);

// Every Unicode tone letter, precomposed or as a vowel with a combining tone mark, becomes its
// glyph code. A Latin-1 letter that is not a tone letter but shares its code with a glyph (ñ, ü,
// ê, ...) is kept apart in its decomposed form, which the tone font does not draw as a glyph;
// toUnicodePinyin composes it again. Other characters are kept as they are.
std::u16string fromUnicodePinyin(std::u16string_view text);

// The signs in `text` that share their code with a glyph and have no decomposed form (¢ § ¶ ® ´ ª
// µ Ø ±), each once, in code order: fromUnicodePinyin cannot keep them apart from tone letters.
std::u16string glyphLookalikeSigns(std::u16string_view text);

} // namespace tone
