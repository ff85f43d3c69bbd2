#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Inputs.h"
#include "Process.h"

namespace bench {

// What one timing covers: a command, or several back to back, with the file they must leave
// behind (none when Output is empty) and a check of what they print.
struct Job {
    std::string Label{};
    std::vector<Command> Commands{};
    std::filesystem::path Output{};
    std::uint64_t Size = 0;
    std::vector<Probe> Probes{};
    std::function<void(const std::string&)> CheckStdout{}; // given every command's stdout
};

using Series = std::vector<Sample>;

// One untimed warm-up of each job, then `repeat` rounds in which they take turns, so that a
// change in the machine's load falls on all alike; prints each job's times.
std::vector<Series> Measure(const std::vector<Job>& jobs, int repeat);
double Median(Series runs);
double Ratio(const Series& a, const Series& b); // of the medians
double PeakMiB(const Series& runs);

} // namespace bench
