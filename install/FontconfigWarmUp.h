#pragma once

#include <thread>

namespace install {

// Fontconfig reads its configuration and its caches on another core while the application connects
// to the display, so that the window's first font finds them ready.
class FontconfigWarmUp {
  public:
    FontconfigWarmUp();

    // Until it is done. Qt's own first use of fontconfig should come after, not alongside.
    void wait();

  private:
    std::jthread thread_;
};

} // namespace install
