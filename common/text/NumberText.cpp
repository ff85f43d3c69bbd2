#include "NumberText.h"

namespace kelbrin {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

} // namespace

void AppendScriptHex(std::string& text, std::uint64_t value) {
    char digits[16];
    int count = 0;
    do {
        digits[count++] = kHexDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (count > 0) {
        text += digits[--count];
    }
}

std::string ScriptHex(std::uint64_t value) {
    std::string text;
    AppendScriptHex(text, value);
    return text;
}

std::string ByteHex(std::uint8_t value) {
    return {kHexDigits[value >> 4], kHexDigits[value & 0xF]};
}

std::string GroupedDecimal(std::int64_t value) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0 && digits[i - 1] != '-') {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

} // namespace kelbrin
