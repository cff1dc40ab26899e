#pragma once

#include <thread>

namespace install {

// Fontconfig reads its configuration and its caches on another core while the application connects
// to the display, so that the window's first font finds them ready.
class FontconfigWarmUp {
  public:
    // Unless `wanted`, nothing starts: a run that shows no window leaves fontconfig alone, which
    // once started keeps memory that only Qt's font database gives back when the program ends.
    explicit FontconfigWarmUp(bool wanted);

    // Until it is done. Qt's own first use of fontconfig should come after, not alongside.
    void wait();

  private:
    std::jthread thread_;
};

} // namespace install
