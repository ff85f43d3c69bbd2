#include "BinaryWriter.h"

#include <algorithm>
#include <cstring>

namespace kelbrin {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;
// Below this a copy goes through the buffer: the system calls would cost more.
constexpr std::int64_t kKernelCopyThreshold = 256 * 1024;

} // namespace

BinaryWriter::BinaryWriter(const std::string& path, WriteMode mode)
    : owned_(OpenForWriting(path, mode)), file_(&owned_), buffer_(kBufferSize) {}

BinaryWriter::BinaryWriter(FileHandle& file) : file_(&file), buffer_(kBufferSize) {}

void BinaryWriter::WriteThrough(const std::uint8_t* bytes, std::size_t count) {
    try {
        file_->Write(bytes, count);
    } catch (...) {
        NoteFailedWrite();
        throw;
    }
    landed_ += static_cast<std::int64_t>(count);
}

void BinaryWriter::NoteFailedWrite() noexcept {
    // The file is written from its first byte on, so its position counts the bytes in it.
    failedAt_ = file_->Position().value_or(landed_);
}

void BinaryWriter::Flush() {
    // The buffer is emptied before writing, so a failed flush is not written again.
    const std::size_t count = used_;
    used_ = 0;
    WriteThrough(buffer_.data(), count);
}

void BinaryWriter::Write(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return;
    }
    given_ += static_cast<std::int64_t>(bytes.size());
    if (used_ + bytes.size() <= buffer_.size()) {
        std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
        return;
    }
    Flush();
    if (bytes.size() >= buffer_.size()) {
        WriteThrough(bytes.data(), bytes.size());
        return;
    }
    std::memcpy(buffer_.data(), bytes.data(), bytes.size());
    used_ = bytes.size();
}

void BinaryWriter::WriteByte(std::uint8_t value) {
    if (used_ == buffer_.size()) {
        Flush();
    }
    buffer_[used_++] = value;
    ++given_;
}

void BinaryWriter::WriteRepeated(std::uint8_t value, std::int64_t count) {
    given_ += std::max<std::int64_t>(count, 0);
    while (count > 0) {
        if (used_ == buffer_.size()) {
            Flush();
        }
        const auto room = static_cast<std::int64_t>(buffer_.size() - used_);
        const auto run = static_cast<std::size_t>(std::min(room, count));
        std::memset(buffer_.data() + used_, value, run);
        used_ += run;
        count -= static_cast<std::int64_t>(run);
    }
}

void BinaryWriter::CopyFrom(BinaryReader& source, std::int64_t count) {
    given_ += std::max<std::int64_t>(count, 0);
    if (count >= kKernelCopyThreshold) {
        Flush();
        std::int64_t copied = 0;
        try {
            copied = file_->CopyFrom(source.File(), source.Position(),
                                     std::min(count, source.BytesToTake()));
        } catch (...) {
            NoteFailedWrite();
            throw;
        }
        landed_ += copied;
        source.Seek(source.Position() + copied);
        count -= copied;
    }
    while (count > 0) {
        if (used_ == buffer_.size()) {
            Flush();
        }
        const auto room = static_cast<std::int64_t>(buffer_.size() - used_);
        const auto run = static_cast<std::size_t>(std::min(room, count));
        source.Read(std::span(buffer_.data() + used_, run));
        used_ += run;
        count -= static_cast<std::int64_t>(run);
    }
}

void BinaryWriter::Close() {
    if (!IsOpen()) {
        return;
    }
    Flush();
    file_ = nullptr;
    owned_.Close();
}

void BinaryWriter::Abandon() {
    used_ = 0;
    file_ = nullptr;
    owned_ = FileHandle();
}

} // namespace kelbrin
