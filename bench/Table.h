#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Measure.h"

namespace bench {

inline std::string Fixed(double value, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}

inline std::string Verdict(bool met) {
    return met ? "PASS" : "MISS";
}

// The report, printed at the end: a row for each tool measured and each target checked.
class Table {
public:
    struct Row {
        std::string Workload, Tool, Median, Ratio = "-", Target = "-", Verdict = "-";
        double PeakMiB = 0;

        // The target, PASS or MISS against it (or a word of its own), and the ratio checked.
        Row& Against(std::string target, std::string verdict, std::optional<double> ratio = {}) {
            Target = std::move(target);
            Verdict = std::move(verdict);
            Ratio = ratio ? Fixed(*ratio, 2) : "-";
            return *this;
        }
    };

    // A tool's median time and peak RSS; its later rows in a workload leave the median out.
    Row& Time(const std::string& workload, const std::string& tool, const Series& runs) {
        const bool again =
            !rows_.empty() && rows_.back().Workload == workload && rows_.back().Tool == tool;
        return rows_.emplace_back(Row{.Workload = workload,
                                      .Tool = tool,
                                      .Median = again ? "-" : Fixed(Median(runs), 3),
                                      .PeakMiB = PeakMiB(runs)});
    }

    void Print() const {
        std::printf("\n%-9s %-22s %9s %6s  %-27s %-8s %9s\n", "workload", "tool", "median s",
                    "ratio", "target", "verdict", "peak RSS");
        for (const Row& r : rows_) {
            std::printf("%-9s %-22s %9s %6s  %-27s %-8s %5.1f MiB\n", r.Workload.c_str(),
                        r.Tool.c_str(), r.Median.c_str(), r.Ratio.c_str(), r.Target.c_str(),
                        r.Verdict.c_str(), r.PeakMiB);
        }
    }

private:
    std::vector<Row> rows_;
};

} // namespace bench
