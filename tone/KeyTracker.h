#pragma once

#include <cstdint>

namespace tone {

// Watches the characters typed into the editor and names the replacement timer to arm when a
// tone digit follows a tone vowel. It never changes a key and never replaces anything itself.
class KeyTracker {
  public:
    static constexpr int noTimer = 0;

    // One typed character's code; returns the replacement timer (1 to 11) to arm, or noTimer.
    int keyPress(std::int16_t keyCode);

    std::int16_t pendingVowel() const { return pendingVowel_; }
    std::int16_t lastKey() const { return lastKey_; }
    void clearPendingVowel() { pendingVowel_ = 0; }

  private:
    std::int16_t pendingVowel_ = 0;
    std::int16_t lastKey_ = 0;
};

} // namespace tone
