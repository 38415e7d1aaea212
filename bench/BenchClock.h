// The clock and the order statistics every benchmark program reports with.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace cadrels::bench {

// Milliseconds on the performance counter.
inline double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The value at `fraction` (0.5 is the median) of a non-empty sample.
inline double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(fraction * (values.size() - 1) + 0.5));
    return values[index];
}

}  // namespace cadrels::bench
