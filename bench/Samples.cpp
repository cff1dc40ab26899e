#include "Samples.h"

#include <algorithm>

namespace bench {

double Samples::median() const {
    if (values_.empty())
        return 0.0;
    std::vector<double> sorted = values_;
    std::ranges::sort(sorted);
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2.0;
}

} // namespace bench
