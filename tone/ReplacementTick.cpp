#include "ReplacementTick.h"

#include "GlyphTables.h"
#include "KeyTracker.h"

namespace tone {

namespace {

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The last two units go, but a CR LF pair or a surrogate pair that the cut would halve goes
// whole: the editor cannot hold half a line break, and half a character is corrupt text.
int unitsToRemove(std::u16string_view text) {
    const auto cut = text.size() - 2;
    if (cut == 0)
        return 2;
    const char16_t before = text[cut - 1];
    const char16_t after = text[cut];
    const bool splitsPair =
        (before == u'\r' && after == u'\n') || (isHighSurrogate(before) && isLowSurrogate(after));
    return splitsPair ? 3 : 2;
}

// Only a pending tone vowel of this row followed by a tone digit replaces. Reading the two
// integers as one decimal number would let other pairs through (no vowel pending and a last
// key of U+2615 spell 9749 too), so the pair is compared as a pair.
std::optional<int> toneOfPair(const KeyTracker& tracker, int row) {
    if (tracker.pendingVowel() != glyphRows.at(row - 1).vowel)
        return std::nullopt;
    if (!isToneDigit(tracker.lastKey()))
        return std::nullopt;
    return tracker.lastKey() - '0';
}

} // namespace

std::optional<EndEdit> replacementTick(KeyTracker& tracker, int row, std::u16string_view textEnd) {
    const auto tone = toneOfPair(tracker, row);
    tracker.clearPendingVowel();
    // With fewer than two characters there is no vowel and digit to take back: leave the text.
    if (!tone || textEnd.size() < 2)
        return std::nullopt;
    return EndEdit{unitsToRemove(textEnd), glyph(row, *tone)};
}

} // namespace tone
