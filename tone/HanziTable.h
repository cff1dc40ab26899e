#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tone {

// Chinese characters and words with their readings in numbered pinyin ("zhang3", "r5" for the
// suffix 儿), as assets/make_hanzi_table.py writes them: a table of single characters and one of
// words for each length, each sorted by code points, searched where they lie in the file's bytes.
class HanziTable {
  public:
    // A word found in the table: its length in characters, and where its syllables' numbers are.
    struct Word {
        std::size_t length = 0;
        const unsigned char* syllables = nullptr;
    };

    // None when `bytes` is not a whole, well-formed table: a damaged file must not be read past
    // its end or send a search astray.
    static std::optional<HanziTable> parse(std::string bytes);

    // The longest word at the start of `text`, a single character being the shortest; none when
    // even the first character has no reading.
    std::optional<Word> longestWord(std::u32string_view text) const;

    // Syllable `index` of `word`, as numbered pinyin.
    std::string_view syllable(const Word& word, std::size_t index) const;

  private:
    struct Length {
        std::size_t offset = 0;
        std::size_t count = 0;
        std::size_t recordBytes = 0;
    };

    bool readSyllables(std::size_t from, std::size_t bytes, std::size_t count);
    bool checkRecords(std::size_t length) const;
    std::optional<Word> find(std::u32string_view key) const;

    std::string bytes_;
    std::vector<std::uint32_t> syllableStarts_; // into bytes_, each ended by NUL
    std::vector<Length> lengths_;               // words of n characters at n - 1
};

} // namespace tone
