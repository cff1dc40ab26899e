#include "TickProbe.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace bench {

namespace {

double millisecondsOf(const QElapsedTimer& clock) {
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

TickProbe::TickProbe(QTimer& timer, QWidget& painted) : timer_(timer), painted_(painted) {
    timer_.installEventFilter(this);
    painted_.installEventFilter(this);
    connect(&timer_, &QTimer::timeout, this, &TickProbe::finish);
}

bool TickProbe::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &timer_ && event->type() == QEvent::Timer) {
        timing_ = true;
        paints_ = 0;
        clock_.start();
    } else if (watched == &painted_ && event->type() == QEvent::Paint && timing_) {
        ++paints_;
    }
    return QObject::eventFilter(watched, event);
}

void TickProbe::finish() {
    if (!timing_)
        return;
    slotsMs_ = millisecondsOf(clock_);
    QCoreApplication::sendPostedEvents();
    paintedMs_ = millisecondsOf(clock_);
    timing_ = false;
    ++ticks_;
}

bool TickProbe::waitForTick(int timeoutMs) {
    const int before = ticks_;
    const QDeadlineTimer deadline(timeoutMs);
    while (ticks_ == before && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return ticks_ != before;
}

} // namespace bench
