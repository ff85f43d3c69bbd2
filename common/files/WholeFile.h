#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "PageBuffer.h"

namespace kelbrin {

// Every byte of a file, read into memory of its own. Reading, rather than mapping the file,
// keeps a file cut short while it is in use an error (62) and not the end of the program.
class WholeFile {
public:
    // Reads the file `path` names. One longer than `mostBytes` is refused with error 5 before
    // anything is read.
    WholeFile(const std::string& path, std::uint64_t mostBytes);

    std::span<const std::uint8_t> Bytes() const noexcept { return pages_.Bytes(); }

private:
    PageBuffer pages_;
};

} // namespace kelbrin
