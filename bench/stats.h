#pragma once

#include <algorithm>
#include <vector>

// Minimum and median of a few measurements; the minimum of a cost is the
// figure least disturbed by whatever else the machine was doing.
struct Spread
{
    double min = 0, median = 0;
};

inline Spread spread(std::vector<double> values)
{
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {values.front(), median};
}

template <typename T, typename F> Spread spreadOf(const std::vector<T> &items, F value)
{
    std::vector<double> values;
    for (const T &item : items)
        values.push_back(value(item));
    return spread(values);
}
