#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace kelbrin {

// A REPLACE row keeps the bytes a reader is shown, no more: a line of a hundred million bytes
// costs its check no more than its run.
inline constexpr std::size_t kReplaceBytesKept = 16;

// One stretch of an expanded image and where its bytes come from. Addresses count the image
// without its header; a REPLACE inside a COPY splits the COPY, so every byte is in one row.
struct LayoutRow {
    enum class Source { Copy, Fill, Replace };

    Source From = Source::Copy;
    std::int64_t Start = 0;
    // One past the last byte.
    std::int64_t End = 0;
    // A copy's first address in the original's image, or the byte a fill writes.
    std::int64_t Value = 0;
    // The first bytes a REPLACE writes, at most kReplaceBytesKept of them; End - Start counts
    // them all.
    std::vector<std::uint8_t> Bytes;
    // The script line that says so.
    std::int32_t Line = 0;

    bool operator==(const LayoutRow&) const = default;
};

// What a run builds, as its script's author reads it: the header it writes, then the image's
// rows in address order, up to where the run ended.
struct ImageLayout {
    // The header size the HEADER line declares, once the run has come to the header.
    std::int32_t HeaderSize = 0;
    // Whether the run wrote the header, and the bytes the HEADER line lists for it; the rest
    // of the header's size is 00.
    bool HeaderWritten = false;
    std::vector<std::uint8_t> HeaderBytes;
    // A deque: a script of tens of thousands of lines grows it without moving the rows.
    std::deque<LayoutRow> Rows;
};

} // namespace kelbrin
