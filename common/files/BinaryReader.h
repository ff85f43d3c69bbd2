#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FileHandle.h"

namespace kelbrin {

// Reads a file from a settable position that advances with every read. Bytes past the end
// of the file read as 00. Small reads are served from a cache of the file, so reading an
// image a few bytes at a time costs no system call per read; after a jump the cache is
// filled with little more than the read asks for, so scattered reads stay cheap.
class BinaryReader {
public:
    explicit BinaryReader(const std::string& path);
    // A file whose length the caller has already learned. The bytes from `length` on read as
    // 00, whatever the file holds by then; a byte below it that is no longer there means the
    // file was cut short while it was being read: error 62.
    BinaryReader(const std::string& path, std::int64_t length);

    void Seek(std::int64_t offset) { position_ = offset; }
    std::int64_t Position() const noexcept { return position_; }
    void Read(std::span<std::uint8_t> bytes);
    // Reads what the file holds from the position on, up to the span's size; returns the
    // count, which is short only at the end of the file.
    std::size_t ReadUpTo(std::span<std::uint8_t> bytes);
    void Close() { file_.Close(); }
    // For copies that the system makes from file to file: the file, and how many of its bytes
    // from the position on may be taken from it.
    const FileHandle& File() const noexcept { return file_; }
    std::int64_t BytesToTake() const noexcept;

private:
    // Reads at `offset` straight from the file; returns the bytes that exist there.
    std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes);

    FileHandle file_;
    std::int64_t length_; // the learned length, or the largest offset when none was learned
    std::int64_t position_ = 0;
    std::vector<std::uint8_t> cache_;
    std::int64_t cacheStart_ = 0;
    std::size_t cacheSpan_ = 0;  // bytes of the file the cache stands for
    std::size_t cacheValid_ = 0; // of those, the ones the file had (the rest read as 00)
};

} // namespace kelbrin
