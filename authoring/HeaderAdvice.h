#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelbrin {

// A header size an author probably meant for a file a script is made from, and why.
struct HeaderAdvice {
    std::uint32_t Size = 0;
    // Plain words that end before what to do about it: "'x.nes' starts with 4E 45 53 1A, ...",
    // the path as the file layer names the file.
    std::string Reason;
};

// What the file at `path` says about the header size `given` for it (nothing: none was given;
// 0: the author says it has none). Without a size, a file that starts with the four bytes of a
// NES header's mark, or whose length is 512 bytes over a multiple of 32 KiB (a copier's header),
// very likely carries a header. A size whose hex digits are all decimal ones was probably meant
// as decimal when that reading leaves a whole number of KiB behind it and the hex one does not.
// Reads only the file's length and its first bytes; a file that cannot be read gets no advice
// (making the script says why).
std::optional<HeaderAdvice> AdviseHeader(const std::string& path,
                                         std::optional<std::uint32_t> given);

} // namespace kelbrin
