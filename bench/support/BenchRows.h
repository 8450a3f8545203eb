#pragma once

// The lines that `make bench` gathers into its closing table: one per measured row, "ROW|what|
// measured|goal|verdict", printed by the benchmark that measured it.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace benchrows {

inline double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// A ratio row: `ratio` against `goal`, met when it is at most the goal.
inline void ratio(const std::string& what, double ratio, double goal) {
    std::printf("ROW|%s|%.2fx|<= %.2fx|%s\n", what.c_str(), ratio, goal, ratio <= goal ? "met" : "MISSED");
    std::fflush(stdout);
}

// Any other row: its measured and goal texts and whether the goal is met.
inline void row(const std::string& what, const std::string& measured, const std::string& goal, bool met) {
    std::printf("ROW|%s|%s|%s|%s\n", what.c_str(), measured.c_str(), goal.c_str(), met ? "met" : "MISSED");
    std::fflush(stdout);
}

} // namespace benchrows
