#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "ScriptPlan.h"

namespace kelbrin {

// The pair a script is made for: both files whole, the header each carries (0 for none), and
// the names the NAME line gives them.
struct ScriptSources {
    std::string OriginalName;
    std::string ExpandedName;
    std::span<const std::uint8_t> OriginalFile;
    std::span<const std::uint8_t> ExpandedFile;
    std::uint32_t OriginalHeader = 0;
    std::uint32_t ExpandedHeader = 0;
};

// The script that rebuilds the expanded file from the original: its head from the names, the
// sizes and the original image's checksum, and the directive lines within the line limit. A
// pair that no script can describe (a header longer than its file, an image too large for the
// format's numbers, names the NAME line cannot hold or a run could not tell apart) is refused
// with error 5 and a message that says why.
ScriptPlan MakeScript(const ScriptSources& sources);

} // namespace kelbrin
