#pragma once

#include <string>
#include <vector>

namespace kelbrin::test {

struct ProgramResult {
    int ExitStatus = -1; // -1 when the program did not exit normally
    std::string Out;
    std::string Err;
};

// Runs `program` with `args` in `directory` (empty: the current one), without standard
// input, and collects both output streams.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& directory = "");

} // namespace kelbrin::test
