#include "KeyTracker.h"

#include "GlyphTables.h"

namespace tone {

namespace {

int timerOfPair(std::int64_t code) {
    int timer = KeyTracker::noTimer;
    for (int row = 1; row <= rowCount; ++row) {
        for (int tone = 1; tone <= toneCount; ++tone) {
            if (code == rowCode(row, tone))
                timer = row;
        }
    }
    return timer;
}

} // namespace

int KeyTracker::keyPress(std::int16_t keyCode) {
    int timer = noTimer;
    if (isToneDigit(keyCode) && pendingVowel_ != 0) {
        // The vowel stays pending: the tick, not the digit, forgets it.
        if (const auto code = pairCode(pendingVowel_, keyCode))
            timer = timerOfPair(*code);
    } else {
        pendingVowel_ = rowOfVowel(keyCode) != 0 ? keyCode : std::int16_t{0};
    }
    lastKey_ = keyCode;
    return timer;
}

} // namespace tone
