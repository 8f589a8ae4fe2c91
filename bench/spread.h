// How a benchmark's repeated runs spread: the median, the quartiles and the
// extremes, printed on one line.
#pragma once

#include <vector>

struct Spread {
    double median, lower_quartile, upper_quartile, low, high;
};

Spread spread(std::vector<double> values);

// One line: the name, the median with its unit, [the quartiles], (the extremes).
void print_spread(const char* name, const std::vector<double>& values, const char* unit);
