#include "DisplayText.h"

#include <cstdint>

namespace kelbrin {

namespace {

// Windows-1252 at 80-9F; the five codes it leaves undefined keep their C1 value.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at `i`, or 0 when none starts there.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        return 1;
    }
    std::size_t length;
    std::uint32_t lowest;
    std::uint32_t code;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2, lowest = 0x80, code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3, lowest = 0x800, code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4, lowest = 0x10000, code = c & 0x07;
    } else {
        return 0;
    }
    if (i + length > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if (!IsContinuation(next)) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return (code < lowest || code > 0x10FFFF || surrogate) ? 0 : length;
}

bool IsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = Utf8SequenceLength(s, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

void AppendUtf8(std::string& out, char16_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

void PutDisplayText(std::string_view bytes, const std::function<void(std::string_view)>& put) {
    if (IsValidUtf8(bytes)) {
        put(bytes);
        return;
    }
    // Each byte becomes at most three: a piece of this many bytes fits the buffer.
    constexpr std::size_t kPieceBytes = 4096;
    std::string converted;
    converted.reserve(3 * kPieceBytes);
    for (std::size_t start = 0; start < bytes.size(); start += kPieceBytes) {
        converted.clear();
        for (const char b : bytes.substr(start, kPieceBytes)) {
            const auto c = static_cast<unsigned char>(b);
            const char16_t code = (c >= 0x80 && c <= 0x9F) ? kWindows1252High[c - 0x80] : c;
            AppendUtf8(converted, code);
        }
        put(converted);
    }
}

std::string DisplayText(std::string_view bytes) {
    std::string shown;
    PutDisplayText(bytes, [&shown](std::string_view piece) { shown.append(piece); });
    return shown;
}

} // namespace kelbrin
