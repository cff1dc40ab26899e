#pragma once

#include <QElapsedTimer>
#include <QObject>

class QTimer;
class QWidget;

namespace bench {

// Times one tick of a timer: from the moment its timer event arrives, through every slot on its
// timeout (this probe's own comes last, having been connected last), then on through the layout
// and paint events those slots posted, which the probe delivers at once.
class TickProbe : public QObject {
  public:
    TickProbe(QTimer& timer, QWidget& painted);

    // Runs the event loop until the timer has ticked once more, or `timeoutMs` have passed.
    bool waitForTick(int timeoutMs);

    double slotsMs() const { return slotsMs_; }
    double paintedMs() const { return paintedMs_; }
    bool painted() const { return paints_ > 0; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void finish();

    QTimer& timer_;
    QWidget& painted_;
    QElapsedTimer clock_;
    bool timing_ = false;
    int ticks_ = 0;
    int paints_ = 0;
    double slotsMs_ = 0.0;
    double paintedMs_ = 0.0;
};

} // namespace bench
