#pragma once

// Timing whole processes: each command's time and peak memory, medians over rounds, and the
// rows of the report.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace bench {

using CommandLine = std::vector<std::string>; // a program (by path, or on PATH) and its arguments

struct Sample {
    double Seconds;
    long PeakKiB;
};
using Series = std::vector<Sample>;

// Bytes that a file must hold, by offset.
using Probes = std::vector<std::pair<std::uint64_t, std::string>>;

// What one timing covers: a command, the file it must leave behind (none when Output is empty)
// and its probes, or one it must not leave (Absent), what it must print and must not (Hides).
struct Job {
    std::string Label{};
    CommandLine Command{};
    std::filesystem::path Output{};
    std::uint64_t Size = 0;
    bench::Probes Probes{};
    std::filesystem::path Absent{};
    std::vector<std::string> Prints{};
    std::string Hides{};
};

// Runs the command under GNU time, with stdin and stderr on /dev/null and its stdout in *out
// when given; throws unless it exits with 0. Time writes the peak RSS of its own child (so ours
// never counts) to the pipe once the command has ended, on a line of its own.
inline Sample Run(const CommandLine& command, std::string* out = nullptr) {
    std::string line = "exec /usr/bin/time -f '\n%M' -o /dev/fd/3";
    for (std::string arg : command) {
        for (std::size_t at = 0; (at = arg.find('\'', at)) != std::string::npos; at += 4) {
            arg.replace(at, 1, "'\\''");
        }
        line += " '" + arg + "'";
    }
    line += out != nullptr ? " 3>&1 2>/dev/null </dev/null" : " 3>&1 >/dev/null 2>&1 </dev/null";
    const auto start = std::chrono::steady_clock::now();
    std::FILE* pipe = ::popen(line.c_str(), "r");
    std::string printed;
    char buffer[65536];
    for (std::size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        printed.append(buffer, n);
    }
    const int status = pipe != nullptr ? ::pclose(pipe) : -1;
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const std::size_t peak = printed.rfind('\n', printed.size() - 2);
    if (status != 0 || peak == std::string::npos) {
        throw std::runtime_error(line + " ended with status " + std::to_string(status));
    }
    if (out != nullptr) {
        *out = printed.substr(0, peak);
    }
    return {seconds.count(), std::stol(printed.substr(peak + 1))};
}

// Every run writes a new file, and the previous run's dirty pages are not left to be written
// back inside the next run's timing.
inline Sample TimedRun(const Job& job) {
    std::error_code none;
    std::filesystem::remove(job.Output, none);
    ::sync();
    std::string printed;
    Sample sample = Run(job.Command, job.Prints.empty() && job.Hides.empty() ? nullptr : &printed);
    // A program may print the time of the work it was started for, without its own start.
    if (const std::size_t at = printed.find("run-seconds "); at != std::string::npos) {
        sample.Seconds = std::stod(printed.substr(at + 12));
    }
    std::ifstream file(job.Output, std::ios::binary | std::ios::ate);
    bool right = (job.Output.empty() || static_cast<std::uint64_t>(file.tellg()) == job.Size) &&
                 (job.Absent.empty() || !std::filesystem::exists(job.Absent)) &&
                 (job.Hides.empty() || printed.find(job.Hides) == std::string::npos);
    for (const auto& [offset, bytes] : job.Probes) {
        std::string held(bytes.size(), '\0');
        right = right && file.seekg(static_cast<std::streamoff>(offset)) &&
                file.read(held.data(), static_cast<std::streamsize>(held.size())) && held == bytes;
    }
    for (const std::string& text : job.Prints) {
        right = right && printed.find(text) != std::string::npos;
    }
    if (!right) {
        throw std::runtime_error(job.Label + " left a wrong " + job.Output.string() +
                                 " or printed: " + printed.substr(0, 400));
    }
    std::filesystem::remove(job.Output, none);
    return sample;
}

inline double Median(Series runs) {
    std::sort(runs.begin(), runs.end(), [](auto& a, auto& b) { return a.Seconds < b.Seconds; });
    // The middle one, or the mean of the middle two.
    return (runs[runs.size() / 2].Seconds + runs[(runs.size() - 1) / 2].Seconds) / 2;
}

inline double PeakMiB(const Series& runs) {
    const auto peak = std::max_element(runs.begin(), runs.end(),
                                       [](auto& a, auto& b) { return a.PeakKiB < b.PeakKiB; });
    return static_cast<double>(peak->PeakKiB) / 1024.0;
}

// Prints a row of the report: a tool's median time and peak RSS in a workload, and a target
// with PASS or MISS against it and the ratio checked, when positive.
inline void Row(const std::string& workload, const std::string& tool, const Series& runs,
                const std::string& target = "-", std::optional<bool> met = {}, double ratio = 0) {
    const char* verdict = !met ? "-" : *met ? "PASS" : "MISS";
    char ratioText[16] = "-";
    if (ratio > 0) {
        std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio);
    }
    std::printf("%-11s %-22s %8.3f %6s  %-34s %-7s %5.1f MiB\n", workload.c_str(), tool.c_str(),
                Median(runs), ratioText, target.c_str(), verdict, PeakMiB(runs));
}

inline int Repeat = 5;

// A workload's jobs and their series, and the rows of its targets on them.
struct Timing {
    std::string Workload;
    std::vector<Job> Jobs;
    std::vector<Series> Runs;

    void Target(std::size_t job, const std::string& target, bool met, double ratio = 0) const {
        Row(Workload, Jobs[job].Label, Runs[job], target, met, ratio);
    }

    // At most `limit` times the other job's time, which `what` names when its label does not.
    void TimeAtMost(std::size_t job, std::size_t other, const std::string& limit,
                    const std::string& what = "") const {
        const double ratio = Median(Runs[job]) / Median(Runs[other]);
        Target(job, "time <= " + limit + " x " + (what.empty() ? Jobs[other].Label : what),
               ratio <= std::stod(limit), ratio);
    }

    void PeakBelow(std::size_t job, double mib, const std::string& text) const {
        Target(job, "peak RSS < " + text, PeakMiB(Runs[job]) < mib);
    }
};

// One untimed warm-up of each job, then Repeat rounds in which they take turns, so that a
// change in the machine's load falls on all alike; prints each job's row.
inline Timing Measure(const std::string& workload, std::vector<Job> jobs) {
    Timing timing{workload, std::move(jobs), {}};
    timing.Runs.resize(timing.Jobs.size());
    for (int round = -1; round < Repeat; ++round) {
        for (std::size_t j = 0; j < timing.Jobs.size(); ++j) {
            const Sample sample = TimedRun(timing.Jobs[j]);
            if (round >= 0) {
                timing.Runs[j].push_back(sample);
            }
        }
    }
    for (std::size_t j = 0; j < timing.Jobs.size(); ++j) {
        Row(workload, timing.Jobs[j].Label, timing.Runs[j]);
    }
    return timing;
}

} // namespace bench
