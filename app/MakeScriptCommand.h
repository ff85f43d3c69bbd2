#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelbrin {

// kelbrin-cli --make-script ORIGINAL EXPANDED [--original-header HEX] [--expanded-header HEX]
//             [--output FILE] [--force]
struct MakeScriptOptions {
    std::string Original;
    std::string Expanded;
    std::optional<std::uint32_t> OriginalHeader;
    std::optional<std::uint32_t> ExpandedHeader;
    std::optional<std::string> Output; // "-": standard output
    bool Force = false;
};

// Makes the script, checks it and writes it, then tells what it wrote (on standard error when
// the script itself goes to standard output). A failure is one line on standard error.
// Returns the exit status: 0 written, 1 not.
int MakeScriptCommand(const MakeScriptOptions& options);

} // namespace kelbrin
