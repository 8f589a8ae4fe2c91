#include "bench/spread.h"

#include <algorithm>
#include <cstdio>

namespace {

// The value below which that share of the sorted values lies, between neighbours.
double share_point(const std::vector<double>& sorted, double share) {
    const double at = share * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(at);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

}  // namespace

Spread spread(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {share_point(values, 0.5), share_point(values, 0.25), share_point(values, 0.75), values.front(),
            values.back()};
}

void print_spread(const char* name, const std::vector<double>& values, const char* unit) {
    const Spread s = spread(values);
    std::printf("  %-32s %7.2f%s  [%.2f .. %.2f]  (%.2f .. %.2f)\n", name, s.median, unit, s.lower_quartile,
                s.upper_quartile, s.low, s.high);
}
