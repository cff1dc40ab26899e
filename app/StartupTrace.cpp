#include "StartupTrace.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWindow>

// Hidden until asked for, with QT_LOGGING_RULES="tonquill.*=true".
Q_LOGGING_CATEGORY(lcStartup, "tonquill.startup", QtInfoMsg)

namespace {

// Started by the first step, which main() takes before anything else.
QElapsedTimer& sinceMain() {
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer;
}

class FirstFrameWatch : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            StartupTrace::step("window exposed");
            // The expose is drawn before the event loop takes the next posted event.
            QTimer::singleShot(0, watched, [] { StartupTrace::step("first frame drawn"); });
            deleteLater();
            watched->removeEventFilter(this);
        }
        return false;
    }
};

} // namespace

void StartupTrace::step(const char* what) {
    const qint64 nanoseconds = sinceMain().nsecsElapsed();
    qCDebug(lcStartup, "%8.2f ms  %s", double(nanoseconds) / 1e6, what);
}

void StartupTrace::untilFirstFrame(QWindow& window) {
    if (lcStartup().isDebugEnabled())
        window.installEventFilter(new FirstFrameWatch(&window));
}
