#include "FileNumbers.h"

namespace install {

std::int32_t FileNumbers::freeNumber() const {
    for (std::int32_t number = lowest; number <= highest; ++number) {
        if (!held_.test(static_cast<std::size_t>(number)))
            return number;
    }
    return 0;
}

bool FileNumbers::open(std::int32_t number) {
    if (!inRange(number) || held_.test(static_cast<std::size_t>(number)))
        return false;
    held_.set(static_cast<std::size_t>(number));
    return true;
}

void FileNumbers::close(std::int32_t number) {
    if (inRange(number))
        held_.reset(static_cast<std::size_t>(number));
}

} // namespace install
