#pragma once

#include <algorithm>
#include <vector>

// Timings on a shared machine have long upper tails (another build takes the core, a page-cache
// miss); the median of each kind of run is what the ratios are taken of. The least of them is
// printed beside it: what the work costs when nothing else interferes.
inline double Median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0.0;
    }
    const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

inline double Least(const std::vector<double>& samples) {
    return samples.empty() ? 0.0 : *std::min_element(samples.begin(), samples.end());
}
