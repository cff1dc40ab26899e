#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <sys/types.h>

namespace bench {

// A program started with an environment of the caller's choosing, whose start time is taken
// just before the process is created.
class LaunchedProcess {
  public:
    using Clock = std::chrono::steady_clock;

    LaunchedProcess(const std::string& program, const std::vector<std::string>& environment);
    ~LaunchedProcess();
    LaunchedProcess(const LaunchedProcess&) = delete;
    LaunchedProcess& operator=(const LaunchedProcess&) = delete;

    bool running() const { return pid_ > 0; }
    Clock::time_point started() const { return started_; }

    // The highest resident memory the process has had so far, in KiB (0 when unknown).
    long peakResidentKib() const;

    // Ends the process and waits for it.
    void stop();

  private:
    pid_t pid_ = -1;
    Clock::time_point started_;
};

} // namespace bench
