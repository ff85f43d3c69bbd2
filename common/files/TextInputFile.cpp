#include "TextInputFile.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace kelbrin {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

// Field positions in a line are signed 32-bit, so no line may be longer.
constexpr std::size_t kLongestLine = INT32_MAX;

} // namespace

TextInputFile::TextInputFile(const std::string& path)
    : file_(OpenForReading(path)), buffer_(kBufferSize, '\0') {}

TextInputFile TextInputFile::OfPieces(TextPieces nextPiece) {
    TextInputFile input;
    input.nextPiece_ = std::move(nextPiece);
    return input;
}

bool TextInputFile::Fill() {
    // A failing read leaves the buffer empty.
    begin_ = 0;
    end_ = 0;
    if (nextPiece_) {
        buffer_.clear();
        nextPiece_(buffer_);
        end_ = buffer_.size();
        return end_ > 0;
    }
    if (!file_.IsOpen()) {
        return false;
    }
    end_ = file_.Read(buffer_.data(), buffer_.size());
    return end_ > 0;
}

bool TextInputFile::AtEnd() {
    return begin_ == end_ && !Fill();
}

std::string TextInputFile::ReadLine() {
    if (AtEnd()) {
        throw RuntimeError(ErrInputPastEndOfFile);
    }
    std::string line;
    for (;;) {
        const char* first = buffer_.data() + begin_;
        const char* last = buffer_.data() + end_;
        const char* stop = std::find_if(first, last, [](char c) { return c == '\r' || c == '\n'; });
        line.append(first, stop);
        if (line.size() > kLongestLine) {
            throw RuntimeError(ErrOverflow);
        }
        if (stop != last) {
            const bool carriageReturn = *stop == '\r';
            begin_ = static_cast<std::size_t>(stop - buffer_.data()) + 1;
            if (carriageReturn && !AtEnd() && buffer_[begin_] == '\n') {
                ++begin_;
            }
            return line;
        }
        begin_ = end_;
        if (!Fill()) {
            return line;
        }
    }
}

} // namespace kelbrin
