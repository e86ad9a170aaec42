#pragma once

#include <algorithm>
#include <vector>

namespace TestSupport {

// The median of the benchmarks' samples (the mean of the middle two for an even count); 0 for none.
inline double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// How a benchmark prints a figure against its goal.
inline const char* verdict(bool met)
{
    return met ? "met" : "NOT MET";
}

} // namespace TestSupport
