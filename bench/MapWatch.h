#pragma once

#include <chrono>
#include <optional>

struct _XDisplay;

namespace bench {

// An X client that hears of every top-level window mapped on the display, so that the moment a
// program's window appears is taken from the server's own notification rather than by polling.
class MapWatch {
  public:
    using Clock = std::chrono::steady_clock;

    MapWatch();
    ~MapWatch();
    MapWatch(const MapWatch&) = delete;
    MapWatch& operator=(const MapWatch&) = delete;

    bool connected() const { return display_ != nullptr; }

    // Forgets every notification received so far.
    void drain();

    // The time at which the next top-level window was mapped, or nothing by `deadline`.
    std::optional<Clock::time_point> nextMap(Clock::time_point deadline);

  private:
    bool waitForEvents(Clock::time_point deadline) const;

    _XDisplay* display_ = nullptr;
    unsigned long root_ = 0;
};

} // namespace bench
