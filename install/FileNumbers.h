#pragma once

#include <bitset>
#include <cstdint>

namespace install {

// The runtime's table of file numbers 1 to 255: a number is held from its open to its close.
class FileNumbers {
  public:
    static constexpr std::int32_t lowest = 1;
    static constexpr std::int32_t highest = 255;

    // The lowest number nobody holds; 0 when all are held.
    std::int32_t freeNumber() const;
    // False for a number out of range or already held.
    bool open(std::int32_t number);
    void close(std::int32_t number);
    void closeAll() { held_.reset(); }

  private:
    static bool inRange(std::int32_t number) { return number >= lowest && number <= highest; }

    std::bitset<highest + 1> held_;
};

} // namespace install
