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
// input, and collects both output streams. On Windows a `program` without a folder is looked
// for first beside the running test program.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& directory = "");

} // namespace kelbrin::test
