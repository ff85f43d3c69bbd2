#include "General_Routines.h"

namespace kelbrin {

namespace {

constexpr std::size_t kMostDigits = 7;

std::int32_t DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c - 'A' + 10;
}

} // namespace

std::int32_t HexToLong(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    if (!IsHex(text)) {
        return -1;
    }
    if (text.size() > kMostDigits) {
        return -2;
    }
    std::int32_t value = 0;
    for (const char c : text) {
        value = value * 16 + DigitValue(c);
    }
    return negative ? -value : value;
}

} // namespace kelbrin
