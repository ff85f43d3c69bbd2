#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kelbrin {

// Every byte of a file, read into memory of its own. Reading, rather than mapping the file,
// keeps a file cut short while it is in use an error (62) and not the end of the program. The
// memory is taken from the system in one piece, its pages made at once: faulting them in one by
// one costs more than the read on some machines.
class WholeFile {
public:
    // Reads the file `path` names. One longer than `mostBytes` is refused with error 5 before
    // anything is read.
    WholeFile(const std::string& path, std::uint64_t mostBytes);
    ~WholeFile();
    WholeFile(WholeFile&& other) noexcept : bytes_(other.bytes_), size_(other.size_) {
        other.bytes_ = nullptr;
        other.size_ = 0;
    }
    WholeFile& operator=(WholeFile&&) = delete;
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    std::span<const std::uint8_t> Bytes() const noexcept { return {bytes_, size_}; }

private:
    std::uint8_t* bytes_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace kelbrin
