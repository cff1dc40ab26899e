#pragma once

#include <chrono>
#include <vector>

namespace bench {

// How long `work` takes, in milliseconds.
template <typename Work> double milliseconds(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Repeated measurements of one quantity; the median keeps one slow outlier (a page fault, a
// scheduler hiccup) from moving the figure.
class Samples {
  public:
    void add(double value) { values_.push_back(value); }
    double median() const;
    int count() const { return int(values_.size()); }

  private:
    std::vector<double> values_;
};

} // namespace bench
