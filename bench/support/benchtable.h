#pragma once

#include <cstdio>

// One row of the table that bench/run.sh prints for all benchmarks: a line
// "ROW", then tab-separated figure, baseline, ratio, goal and verdict. Every
// benchmark prints its own details besides; only these rows are collected.
namespace benchtable {

// A figure against a baseline measured in the same run; goal <= 0 means none.
inline void ratioRow(const char *what, double figure, double baseline, const char *unit, double goal = 0)
{
    const double ratio = figure / baseline;
    char goalText[32] = "-";
    if (goal > 0)
        std::snprintf(goalText, sizeof goalText, "<= %.2fx", goal);
    std::printf("ROW\t%s\t%.2f %s\t%.2f %s\t%.2fx\t%s\t%s\n", what, figure, unit, baseline, unit, ratio, goalText,
                goal <= 0 ? "-" : ratio <= goal ? "met" : "MISSED");
    std::fflush(stdout);
}

// A figure with a fixed limit and no baseline.
inline void limitRow(const char *what, double figure, const char *unit, double limit)
{
    std::printf("ROW\t%s\t%.1f %s\t-\t-\t< %.0f %s\t%s\n", what, figure, unit, limit, unit,
                figure < limit ? "met" : "MISSED");
    std::fflush(stdout);
}

} // namespace benchtable
