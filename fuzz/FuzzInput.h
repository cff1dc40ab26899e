#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzz {

// Reads the fuzzer's bytes front to back; past the end every read gives zero, so any input is a
// complete program of operations.
class ByteReader {
  public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }

    std::uint8_t byte() { return empty() ? 0 : data_[pos_++]; }

    std::uint16_t u16() {
        const std::uint16_t low = byte();
        return static_cast<std::uint16_t>(low | (byte() << 8));
    }

    std::string_view rest() {
        if (empty())
            return {};
        std::string_view all(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
        pos_ = size_;
        return all;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A property that fails is a finding: abort so that libFuzzer keeps the input as a crash.
inline void require(bool holds, const char* property) {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

} // namespace fuzz
