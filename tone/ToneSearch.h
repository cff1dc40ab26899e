#pragma once

#include "PinyinLetter.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tone {

// A search through pinyin that knows tones. Capitals are ignored; ü is a letter of its own,
// written ü, v or u: in the search text; tone glyphs, Unicode letters and letters with combining
// marks are alike. Tones are ignored unless the search text carries one (a mark, or a tone number
// after a syllable) or `matchTones` asks for them: then each letter must have the tone it has in
// the search text, none where it has none.
class ToneSearch {
  public:
    struct Match {
        std::size_t at;
        std::size_t units;
    };

    ToneSearch(std::u16string_view searchText, bool matchTones);

    bool isEmpty() const { return letters_.empty(); }
    // The first match that starts at `from` or after it.
    std::optional<Match> next(std::u16string_view text, std::size_t from) const;
    // The last match that starts before `before`.
    std::optional<Match> previous(std::u16string_view text, std::size_t before) const;

  private:
    std::optional<std::size_t> matchAt(std::u16string_view text, std::size_t at) const;
    std::size_t nextCandidate(std::u16string_view text, std::size_t from) const;

    std::vector<PinyinLetter> letters_;
    bool matchTones_;
};

} // namespace tone
