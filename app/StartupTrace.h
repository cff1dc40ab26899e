#pragma once

#include <QLoggingCategory>

class QWindow;

// Start-up goes on without what it could not load; what was missing, and how long each step of
// the start took, shows under tonquill.startup.
Q_DECLARE_LOGGING_CATEGORY(lcStartup)

class StartupTrace {
  public:
    // Milliseconds since main() began, with the step that just ended.
    static void step(const char* what);
    // Notes when the window is first exposed and when that first frame has been drawn.
    static void untilFirstFrame(QWindow& window);
};
