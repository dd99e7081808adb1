#pragma once

// What every benchmark program prints: one "name value unit" line per figure,
// then one "target name comparison bound: met/MISSED" line per target.

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace BenchOutput {

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

inline void print(const char *name, double value, const char *unit)
{
    std::printf("%s %.3f %s\n", name, value, unit);
}

// `comparison` is "<=" (an upper bound) or ">=" (a lower bound).
inline void printTarget(const char *name, double value, const char *comparison, double target)
{
    const bool met = std::strcmp(comparison, ">=") == 0 ? value >= target : value <= target;
    std::printf("target %s %s %g: %s\n", name, comparison, target, met ? "met" : "MISSED");
}

} // namespace BenchOutput
