#include "HanziTable.h"

#include <algorithm>

namespace tone {

namespace {

constexpr std::string_view magic = "TQHZ";
constexpr std::uint32_t version = 1;
constexpr std::size_t headerWords = 4; // version, syllables, their bytes, longest word
constexpr std::size_t longestAllowed = 64;

// Little-endian on every machine; compilers make this one load where the machine's order agrees.
template <typename T> T read(const unsigned char* at) {
    T value = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        value = T(value << 8 | at[i]);
    return value;
}

std::uint32_t word32(const std::string& bytes, std::size_t at) {
    return read<std::uint32_t>(reinterpret_cast<const unsigned char*>(bytes.data()) + at);
}

constexpr std::size_t recordBytes(std::size_t length) {
    return (6 * length + 3) / 4 * 4;
}

// A numbered syllable: lower-case letters, then a tone digit 1 to 5.
bool isSyllable(std::string_view text) {
    if (text.size() < 2 || text.back() < '1' || text.back() > '5')
        return false;
    text.remove_suffix(1);
    return std::ranges::all_of(text, [](char c) { return c >= 'a' && c <= 'z'; });
}

// -1, 0 or 1 as the record's characters come before, equal or after `key`.
int compare(const unsigned char* record, std::u32string_view key) {
    for (std::size_t i = 0; i < key.size(); ++i) {
        const std::uint32_t c = read<std::uint32_t>(record + 4 * i);
        if (c != key[i])
            return c < key[i] ? -1 : 1;
    }
    return 0;
}

bool before(const unsigned char* first, const unsigned char* second, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint32_t a = read<std::uint32_t>(first + 4 * i);
        const std::uint32_t b = read<std::uint32_t>(second + 4 * i);
        if (a != b)
            return a < b;
    }
    return false;
}

} // namespace

std::optional<HanziTable> HanziTable::parse(std::string bytes) {
    const std::size_t fixed = magic.size() + 4 * headerWords;
    if (bytes.size() < fixed || bytes.compare(0, magic.size(), magic) != 0 ||
        word32(bytes, 4) != version)
        return std::nullopt;
    const std::size_t syllables = word32(bytes, 8);
    const std::size_t syllableBytes = word32(bytes, 12);
    const std::size_t longest = word32(bytes, 16);
    if (longest == 0 || longest > longestAllowed || syllables == 0 || syllables > 0xFFFF)
        return std::nullopt;
    HanziTable table;
    std::size_t at = fixed + 4 * longest;
    if (bytes.size() < at || bytes.size() - at < syllableBytes || syllableBytes % 4 != 0)
        return std::nullopt;
    for (std::size_t n = 1; n <= longest; ++n)
        table.lengths_.push_back({0, word32(bytes, fixed + 4 * (n - 1)), recordBytes(n)});
    table.bytes_ = std::move(bytes);
    if (!table.readSyllables(at, syllableBytes, syllables))
        return std::nullopt;
    at += syllableBytes;
    for (std::size_t n = 1; n <= longest; ++n) {
        Length& length = table.lengths_[n - 1];
        if (length.count > (table.bytes_.size() - at) / length.recordBytes)
            return std::nullopt;
        length.offset = at;
        at += length.count * length.recordBytes;
        if (!table.checkRecords(n))
            return std::nullopt;
    }
    if (at != table.bytes_.size())
        return std::nullopt;
    return table;
}

bool HanziTable::readSyllables(std::size_t from, std::size_t bytes, std::size_t count) {
    const std::string_view names(bytes_.data() + from, bytes);
    std::size_t start = 0;
    while (syllableStarts_.size() < count) {
        const std::size_t end = names.find('\0', start);
        if (end == std::string_view::npos || !isSyllable(names.substr(start, end - start)))
            return false;
        syllableStarts_.push_back(std::uint32_t(from + start));
        start = end + 1;
    }
    return names.find_first_not_of('\0', start) == std::string_view::npos;
}

// Every syllable number known, and the records in strictly rising order, which the binary
// search relies on.
bool HanziTable::checkRecords(std::size_t length) const {
    const Length& table = lengths_[length - 1];
    const auto* records = reinterpret_cast<const unsigned char*>(bytes_.data()) + table.offset;
    for (std::size_t r = 0; r < table.count; ++r) {
        const unsigned char* record = records + r * table.recordBytes;
        for (std::size_t i = 0; i < length; ++i) {
            if (read<std::uint16_t>(record + 4 * length + 2 * i) >= syllableStarts_.size())
                return false;
        }
        if (r > 0 && !before(record - table.recordBytes, record, length))
            return false;
    }
    return true;
}

std::optional<HanziTable::Word> HanziTable::longestWord(std::u32string_view text) const {
    for (std::size_t n = std::min(text.size(), lengths_.size()); n > 0; --n) {
        if (const auto word = find(text.substr(0, n)))
            return word;
    }
    return std::nullopt;
}

std::optional<HanziTable::Word> HanziTable::find(std::u32string_view key) const {
    const Length& table = lengths_[key.size() - 1];
    const auto* records = reinterpret_cast<const unsigned char*>(bytes_.data()) + table.offset;
    std::size_t low = 0;
    std::size_t high = table.count;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const unsigned char* record = records + middle * table.recordBytes;
        const int order = compare(record, key);
        if (order == 0)
            return Word{key.size(), record + 4 * key.size()};
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return std::nullopt;
}

std::string_view HanziTable::syllable(const Word& word, std::size_t index) const {
    const std::uint16_t number = read<std::uint16_t>(word.syllables + 2 * index);
    return bytes_.data() + syllableStarts_[number];
}

} // namespace tone
