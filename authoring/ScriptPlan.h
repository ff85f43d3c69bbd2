#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelbrin {

enum class DirectiveKind { Copy, Fill, Replace };

// One directive line of a script being made. A REPLACE line's bytes are the expanded image's
// own bytes from its start on, so a plan holds no copy of them.
struct Directive {
    DirectiveKind Kind = DirectiveKind::Fill;
    std::uint32_t Start = 0;
    // COPY: the source address; FILL: the byte; REPLACE: how many bytes.
    std::uint32_t Value = 0;

    bool operator==(const Directive&) const = default;
};

// Everything a script says, before it is text.
struct ScriptPlan {
    std::string OriginalName;
    std::string ExpandedName;
    // Image sizes without header.
    std::uint32_t OriginalSize = 0;
    std::uint32_t FinalSize = 0;
    std::string OriginalMD5;
    std::uint32_t HeaderSize = 0;
    // The HEADER line's bytes: the expanded file's header without its trailing 00 bytes.
    std::vector<std::uint8_t> HeaderBytes;
    // The button that rebuilds the expanded file: the one that adds the header, when the
    // expanded file carries one.
    bool AddsHeader = false;
    std::vector<Directive> Directives;
};

} // namespace kelbrin
