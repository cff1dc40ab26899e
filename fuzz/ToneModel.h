#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace fuzz {

// The tone-mark rules restated on their own, without the core's code, so that the two can be run
// side by side and any difference shows up as a finding.
class ToneModel {
  public:
    struct Edit {
        std::size_t removeUnits;
        char16_t glyph;
    };

    // The replacement row (1 to 11) that the key arms, or 0.
    int keyPress(std::int16_t key);

    // The tick of replacement row `row` on the editor's whole text; nothing when the text stays.
    std::optional<Edit> tick(int row, std::u16string_view text);

    std::int16_t pendingVowel() const { return pendingVowel_; }
    std::int16_t lastKey() const { return lastKey_; }

  private:
    std::int16_t pendingVowel_ = 0;
    std::int16_t lastKey_ = 0;
};

} // namespace fuzz
