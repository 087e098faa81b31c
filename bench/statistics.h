#pragma once

#include <algorithm>
#include <vector>

namespace bench {

// The median of `samples`; the mean of the middle two for an even count.
inline double median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0;
    }
    const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    if (samples.size() % 2 == 1) {
        return *middle;
    }
    return (*middle + *std::max_element(samples.begin(), middle)) / 2;
}

// The value that `fraction` of the samples do not exceed (nearest rank).
inline double percentile(std::vector<double> samples, double fraction) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(samples.size()));
    return samples[std::min(rank, samples.size() - 1)];
}

} // namespace bench
