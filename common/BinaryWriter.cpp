#include "common/BinaryWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace kelbrin {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;

} // namespace

BinaryWriter::BinaryWriter(const std::string& path)
    : file_(OpenForWriting(path)), buffer_(kBufferSize) {}

void BinaryWriter::WriteThrough(const std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t put = ::write(file_.Get(), bytes, count);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw TransferError(errno);
        }
        bytes += put;
        count -= static_cast<std::size_t>(put);
    }
}

void BinaryWriter::Flush() {
    // The buffer is emptied before writing, so a failed flush is not written again.
    const std::size_t count = used_;
    used_ = 0;
    WriteThrough(buffer_.data(), count);
}

void BinaryWriter::Write(std::span<const std::uint8_t> bytes) {
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
}

void BinaryWriter::WriteRepeated(std::uint8_t value, std::int64_t count) {
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

void BinaryWriter::Close() {
    if (!file_.IsOpen()) {
        return;
    }
    Flush();
    file_.Close();
}

} // namespace kelbrin
