#pragma once

// What every figure of the benchmark is made with: clocks, medians, the report lines and
// programs run as peers.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace kelvoro::bench {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const std::string& what);
double msSince(Clock::time_point start);
double median(std::vector<double> v);

template <typename F> double timed(F&& f) {
    const Clock::time_point start = Clock::now();
    f();
    return msSince(start);
}

// One figure beside its reference.
void report(const char* what, double value, const char* unit, const char* reference,
            double referenceValue, const char* goal = "", bool met = true);
// One figure with its goal and no reference.
void reportPlain(const char* what, double value, const char* unit, const char* goal, bool met);

// Runs a program with the given bytes on its standard input; returns its standard output.
// The program's exit status must be 0.
std::string run(const std::vector<std::string>& argv, const std::string& input = {},
                const std::vector<std::string>& extraEnvironment = {},
                const std::function<void(const std::string&)>& onFirstLine = {});

} // namespace kelvoro::bench
