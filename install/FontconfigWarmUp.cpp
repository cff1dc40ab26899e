#include "FontconfigWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace install {

// Without a thread the first font does the same work itself, only later.
FontconfigWarmUp::FontconfigWarmUp(bool wanted) {
    if (!wanted)
        return;
    try {
        thread_ = std::jthread(FcInit);
    } catch (const std::system_error&) {
    }
}

void FontconfigWarmUp::wait() {
    if (thread_.joinable())
        thread_.join();
}

} // namespace install
