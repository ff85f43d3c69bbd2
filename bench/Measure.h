#pragma once

// Timing whole processes: a command's time and peak memory, medians over rounds, and the rows
// of the report.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
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

// Bytes that a file must hold at an offset.
struct Probe {
    std::uint64_t Offset;
    std::vector<std::uint8_t> Bytes;
};

// What one timing covers: a command, the file it must leave behind (none when Output is empty)
// and a check of what it prints.
struct Job {
    std::string Label{};
    CommandLine Command{};
    std::filesystem::path Output{};
    std::uint64_t Size = 0;
    std::vector<Probe> Probes{};
    std::function<void(const std::string&)> CheckStdout{};
};

inline double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

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
    const double start = Now();
    std::FILE* pipe = ::popen(line.c_str(), "r");
    std::string printed;
    char buffer[65536];
    for (std::size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        printed.append(buffer, n);
    }
    const int status = pipe != nullptr ? ::pclose(pipe) : -1;
    const double seconds = Now() - start;
    if (status != 0 || printed.size() < 3) {
        throw std::runtime_error(line + " ended with status " + std::to_string(status) +
                                 " (run it by hand to see its messages)");
    }
    const std::size_t peak = printed.rfind('\n', printed.size() - 2);
    if (out != nullptr) {
        *out = printed.substr(0, peak);
    }
    return {seconds, std::atol(printed.c_str() + peak + 1)};
}

// Every run writes a new file, and the previous run's dirty pages are not left to be written
// back inside the next run's timing.
inline Sample TimedRun(const Job& job) {
    std::error_code none;
    std::filesystem::remove(job.Output, none);
    ::sync();
    std::string printed;
    const Sample sample = Run(job.Command, job.CheckStdout ? &printed : nullptr);
    std::ifstream file(job.Output, std::ios::binary | std::ios::ate);
    if (!job.Output.empty() && static_cast<std::uint64_t>(file.tellg()) != job.Size) {
        throw std::runtime_error(job.Output.string() + " is missing or not " +
                                 std::to_string(job.Size) + " bytes");
    }
    for (const Probe& probe : job.Probes) {
        std::vector<std::uint8_t> bytes(probe.Bytes.size());
        file.seekg(static_cast<std::streamoff>(probe.Offset));
        file.read(reinterpret_cast<char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!file || bytes != probe.Bytes) {
            throw std::runtime_error(job.Output.string() + " holds wrong bytes at offset " +
                                     std::to_string(probe.Offset));
        }
    }
    std::filesystem::remove(job.Output, none);
    if (job.CheckStdout) {
        job.CheckStdout(printed);
    }
    return sample;
}

// One untimed warm-up of each job, then `repeat` rounds in which they take turns, so that a
// change in the machine's load falls on all alike.
inline std::vector<Series> Measure(int repeat, const std::vector<Job>& jobs) {
    std::vector<Series> series(jobs.size());
    for (int round = -1; round < repeat; ++round) {
        for (std::size_t j = 0; j < jobs.size(); ++j) {
            const Sample sample = TimedRun(jobs[j]);
            if (round >= 0) {
                series[j].push_back(sample);
            }
        }
    }
    return series;
}

inline double Median(Series runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Sample& a, const Sample& b) { return a.Seconds < b.Seconds; });
    // The middle one, or the mean of the middle two.
    return (runs[runs.size() / 2].Seconds + runs[(runs.size() - 1) / 2].Seconds) / 2;
}

inline double PeakMiB(const Series& runs) {
    return static_cast<double>(
               std::max_element(runs.begin(), runs.end(),
                                [](auto& a, auto& b) { return a.PeakKiB < b.PeakKiB; })
                   ->PeakKiB) /
           1024.0;
}

inline const char* Verdict(bool met) {
    return met ? "PASS" : "MISS";
}

// Prints a row of the report: a tool's median time and peak RSS in a workload, and a target
// with PASS or MISS against it (or a word of its own) and the ratio checked, when positive.
inline void Row(const std::string& workload, const std::string& tool, const Series& runs,
                const std::string& target = "-", const char* verdict = "-", double ratio = 0) {
    static bool headed = false;
    if (!std::exchange(headed, true)) {
        std::printf("%-11s %-22s %8s %6s  %-34s %-7s %s\n", "workload", "tool", "median s", "ratio",
                    "target", "verdict", "peak RSS");
    }
    char ratioText[16] = "-";
    if (ratio > 0) {
        std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio);
    }
    std::printf("%-11s %-22s %8.3f %6s  %-34s %-7s %5.1f MiB\n", workload.c_str(), tool.c_str(),
                Median(runs), ratioText, target.c_str(), verdict, PeakMiB(runs));
}

} // namespace bench
