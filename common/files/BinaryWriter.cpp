#include "BinaryWriter.h"

#include <algorithm>
#include <cstring>

namespace kelbrin {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;
// Below this a copy goes through the buffer: the system calls would cost more.
constexpr std::int64_t kKernelCopyThreshold = 256 * 1024;
// The disk is set to work each time this much more has reached the file, so that the flush
// before a file is put in place finds little left to write: a run of hundreds of MiB would
// otherwise leave them all to it.
constexpr std::int64_t kWriteBackStep = 8 * 1024 * 1024;

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
    StartWriteBack();
}

void BinaryWriter::StartWriteBack() noexcept {
    if (landed_ - writtenBack_ >= kWriteBackStep) {
        file_->StartWriteBack(writtenBack_, landed_ - writtenBack_);
        writtenBack_ = landed_;
    }
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
    // A buffer's worth or more, with nothing waiting before it, goes without a copy.
    if (used_ == 0 && bytes.size() >= buffer_.size()) {
        WriteThrough(bytes.data(), bytes.size());
        return;
    }
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
        // A step at a time, so that the disk is set to work as the copy goes.
        std::int64_t left = std::min(count, source.BytesToTake());
        while (left > 0) {
            const std::int64_t step = std::min(left, kWriteBackStep);
            std::int64_t copied = 0;
            try {
                copied = file_->CopyFrom(source.File(), source.Position(), step);
            } catch (...) {
                NoteFailedWrite();
                throw;
            }
            landed_ += copied;
            source.Seek(source.Position() + copied);
            count -= copied;
            left -= copied;
            StartWriteBack();
            if (copied < step) {
                break; // the source ended, or the system cannot copy between these files
            }
        }
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
