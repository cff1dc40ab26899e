#include "MapWatch.h"

#include <X11/Xlib.h>

#include <poll.h>

namespace bench {

namespace {

// Without a window manager a program's top-level window is a child of the root; menus and
// tooltips are override-redirect windows and do not count as the window appearing.
bool isTopLevelMap(const XEvent& event, Window root) {
    return event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect;
}

} // namespace

MapWatch::MapWatch() : display_(XOpenDisplay(nullptr)) {
    if (display_ == nullptr)
        return;
    root_ = DefaultRootWindow(display_);
    XSelectInput(display_, root_, SubstructureNotifyMask);
    XSync(display_, False);
}

MapWatch::~MapWatch() {
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

void MapWatch::drain() {
    XSync(display_, False);
    XEvent event;
    while (XPending(display_) > 0)
        XNextEvent(display_, &event);
}

bool MapWatch::waitForEvents(Clock::time_point deadline) const {
    while (XPending(display_) == 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd connection{ConnectionNumber(display_), POLLIN, 0};
        poll(&connection, 1, int(left.count()));
    }
    return true;
}

std::optional<MapWatch::Clock::time_point> MapWatch::nextMap(Clock::time_point deadline) {
    while (waitForEvents(deadline)) {
        XEvent event;
        XNextEvent(display_, &event);
        const auto received = Clock::now();
        if (isTopLevelMap(event, root_))
            return received;
    }
    return std::nullopt;
}

} // namespace bench
