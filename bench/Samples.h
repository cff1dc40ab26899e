#pragma once

#include <vector>

namespace bench {

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
