#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "BinaryReader.h"
#include "FileHandle.h"

namespace kelbrin {

// Writes a file strictly forward from its first byte. Bytes are collected in a buffer and
// reach the file at Flush(), when the buffer is full, and at Close(); a failing write
// raises its numbered error, and every byte before the failing one is in the file.
class BinaryWriter {
public:
    BinaryWriter(const std::string& path, WriteMode mode);
    // Writes through a file that stays the caller's: Close() leaves it open.
    explicit BinaryWriter(FileHandle& file);
    BinaryWriter(const BinaryWriter&) = delete;
    BinaryWriter& operator=(const BinaryWriter&) = delete;

    void Write(std::span<const std::uint8_t> bytes);
    void WriteByte(std::uint8_t value);
    void WriteRepeated(std::uint8_t value, std::int64_t count);
    // Writes `count` bytes read from `source` at its position (00 past its end); both
    // advance. Where the system can, long stretches are copied by it, file to file.
    void CopyFrom(BinaryReader& source, std::int64_t count);
    void Flush();
    // Flushes and closes; a file already closed is left alone.
    void Close();
    // Closes without writing what is still buffered, for a run that is already failing.
    void Abandon();
    bool IsOpen() const noexcept { return file_ != nullptr && file_->IsOpen(); }

    // The bytes it was given, and those of them that are in the file: the rest wait in its
    // buffer.
    std::int64_t Given() const noexcept { return given_; }
    std::int64_t Landed() const noexcept { return landed_; }
    // After a write to the file failed: the first byte that did not get there.
    std::optional<std::int64_t> FailedAt() const noexcept { return failedAt_; }

private:
    void WriteThrough(const std::uint8_t* bytes, std::size_t count);
    // Notes where the file got to when a write to it fails.
    void NoteFailedWrite() noexcept;
    // Has the system start writing what reached the file since it last did, every few MiB.
    void StartWriteBack() noexcept;

    FileHandle owned_;
    FileHandle* file_; // the owned file or the caller's; null once closed
    std::vector<std::uint8_t> buffer_;
    std::size_t used_ = 0;
    std::int64_t given_ = 0;
    std::int64_t landed_ = 0;
    std::int64_t writtenBack_ = 0;
    std::optional<std::int64_t> failedAt_;
};

} // namespace kelbrin
