#pragma once

#include <optional>
#include <string_view>

namespace tone {

class KeyTracker;

// What a replacement tick does to the editor: drop the last `removeUnits` UTF-16 units of the
// text (line breaks counted as CR LF) and append `glyph`.
struct EndEdit {
    int removeUnits;
    char16_t glyph;
};

// The tick of replacement timer `row` (1 to 11). `textEnd` is the end of the editor's text with
// line breaks as CR LF: its last three units suffice, the whole text does too. Forgets the
// pending vowel whatever it decides.
std::optional<EndEdit> replacementTick(KeyTracker& tracker, int row, std::u16string_view textEnd);

} // namespace tone
