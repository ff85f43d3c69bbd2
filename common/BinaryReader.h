#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/FileDescriptor.h"

namespace kelbrin {

// Reads a file from a settable position that advances with every read. Bytes past the end
// of the file read as 00. Small reads are served from a cache of the file, so reading an
// image a few bytes at a time costs no system call per read.
class BinaryReader {
public:
    explicit BinaryReader(const std::string& path);

    void Seek(std::int64_t offset) { position_ = offset; }
    std::int64_t Position() const noexcept { return position_; }
    void Read(std::span<std::uint8_t> bytes);
    void Close() { file_.Close(); }

private:
    // Reads at `offset` straight from the file; returns the bytes that exist there.
    std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes);

    FileDescriptor file_;
    std::int64_t position_ = 0;
    std::vector<std::uint8_t> cache_;
    std::int64_t cacheStart_ = 0;
    std::size_t cacheValid_ = 0;
    bool cacheLoaded_ = false;
};

} // namespace kelbrin
