#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tone {

// The syllables of Mandarin pinyin, in lower case with ü written v. The interjections m, n, ng,
// hm and hng are kept apart, as they count only as words of their own; ê is left out.
class PinyinSyllables {
  public:
    // The longest syllable, in letters.
    static constexpr std::size_t longest = 6;

    // The letters as a number, one base-27 digit each (a is 1), the first letter highest: the
    // same for the same letters, and 0 for anything but lower-case ASCII letters.
    static constexpr std::uint32_t digitOf(char letter) {
        return letter >= 'a' && letter <= 'z' ? std::uint32_t(letter - 'a' + 1) : 0;
    }
    static constexpr std::uint32_t keyOf(std::string_view letters) {
        std::uint32_t key = 0;
        for (const char letter : letters) {
            if (digitOf(letter) == 0)
                return 0;
            key = key * 27 + digitOf(letter);
        }
        return key;
    }

    static bool contains(std::string_view syllable) {
        return syllable.size() <= longest && containsKey(keyOf(syllable));
    }
    // Whether `key` is the key of a syllable.
    static bool containsKey(std::uint32_t key);

    // Every syllable, in alphabetical order.
    static std::span<const std::string_view> all();

    static bool isInterjection(std::string_view letters) {
        return letters == "m" || letters == "n" || letters == "ng" || letters == "hm" ||
               letters == "hng";
    }
};

} // namespace tone
