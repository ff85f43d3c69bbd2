#pragma once

#include <string>
#include <vector>

namespace bench {

using Command = std::vector<std::string>;

struct Sample {
    double Seconds;
    long PeakKiB; // the process's ru_maxrss
};

double Now();
// Runs the command (its program by path) to its end with stdin and stderr on /dev/null and its
// stdout in *out when given; throws unless it exits with 0.
Sample Run(const Command& command, std::string* out = nullptr);
// A system program: in /usr/bin on a merged /usr, in /bin on older systems.
std::string SystemTool(const std::string& name);

} // namespace bench
