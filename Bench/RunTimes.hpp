#pragma once

#include <algorithm>
#include <vector>

// Whole-process timings on a shared machine have long upper tails (another build, a page-cache
// miss); the median of each kind of run is what the ratios are taken of.
inline double Median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0.0;
    }
    const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}
