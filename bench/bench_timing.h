// The benchmarks' clock: milliseconds of the performance counter, one timed
// run, and the median of several.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace kzo::bench {

inline double nowMs() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double timeOnce(const std::function<void()>& work) {
    double start = nowMs();
    work();
    return nowMs() - start;
}

// The median of runs timed runs of work.
inline double timed(const std::function<void()>& work, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(timeOnce(work));
    return median(times);
}

}  // namespace kzo::bench
