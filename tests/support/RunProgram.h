#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelbrin::test {

struct ProgramResult {
    int ExitStatus = -1; // -1 when the program did not exit normally
    int Signal = 0;      // the signal that ended it, if one did
    std::string Out;
    std::string Err;
};

// Where one of the program's output streams goes.
enum class Stream {
    Captured,   // into the result
    Closed,     // the descriptor is not open at all
    BrokenPipe, // a pipe whose reader has already gone
    Full,       // the device that is always full
    IntoOut,    // standard error only: into the same file as standard output, in order
};

// How the program is started. Anything but the defaults is for POSIX only: the program starts
// with default signal handling, as a shell would start it, and with the given limits (0: none).
struct ProgramSetup {
    bool InClosed = false; // else standard input reads the null device
    Stream Out = Stream::Captured;
    Stream Err = Stream::Captured;
    std::uint64_t FileSizeLimit = 0;
    std::uint64_t AddressSpaceLimit = 0;
    // Run as this user and group (0: as the caller), with at most this many processes and
    // threads of that user (0: no limit). A user of its own counts only the program's.
    std::uint32_t User = 0;
    std::uint64_t ProcessLimit = 0;
};

// Runs `program` with `args` in `directory` (empty: the current one), without standard
// input, and collects both output streams. On Windows a `program` without a folder is looked
// for first beside the running test program.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& directory = "", const ProgramSetup& setup = {});

} // namespace kelbrin::test
