#include "Measure.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace bench {

namespace fs = std::filesystem;

namespace {

void CheckOutput(const Job& job) {
    std::ifstream file(job.Output, std::ios::binary | std::ios::ate);
    if (static_cast<std::uint64_t>(file.tellg()) != job.Size) {
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
}

// Every run writes a new file, and the previous run's dirty pages are not left to be written
// back inside the next run's timing. The job's peak is the largest of its commands'.
Sample TimedRun(const Job& job) {
    if (!job.Output.empty()) {
        fs::remove(job.Output);
    }
    ::sync();
    Sample total{Now(), 0};
    std::string printed, out;
    for (const Command& command : job.Commands) {
        total.PeakKiB =
            std::max(total.PeakKiB, Run(command, job.CheckStdout ? &out : nullptr).PeakKiB);
        printed += out;
    }
    total.Seconds = Now() - total.Seconds;
    if (!job.Output.empty()) {
        CheckOutput(job);
        fs::remove(job.Output);
    }
    if (job.CheckStdout) {
        job.CheckStdout(printed);
    }
    return total;
}

} // namespace

std::vector<Series> Measure(const std::vector<Job>& jobs, int repeat) {
    std::vector<Series> series(jobs.size());
    for (int round = -1; round < repeat; ++round) {
        for (std::size_t j = 0; j < jobs.size(); ++j) {
            const Sample sample = TimedRun(jobs[j]);
            if (round >= 0) {
                series[j].push_back(sample);
            }
        }
    }
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        std::printf("  %-12s", jobs[j].Label.c_str());
        for (const Sample& sample : series[j]) {
            std::printf(" %.3f", sample.Seconds);
        }
        std::printf("  s\n");
    }
    return series;
}

double Median(Series runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Sample& a, const Sample& b) { return a.Seconds < b.Seconds; });
    // The middle one, or the mean of the middle two.
    return (runs[runs.size() / 2].Seconds + runs[(runs.size() - 1) / 2].Seconds) / 2;
}

double Ratio(const Series& a, const Series& b) {
    return Median(a) / Median(b);
}

double PeakMiB(const Series& runs) {
    long peak = 0;
    for (const Sample& sample : runs) {
        peak = std::max(peak, sample.PeakKiB);
    }
    return static_cast<double>(peak) / 1024.0;
}

} // namespace bench
