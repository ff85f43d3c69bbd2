#include "General_Routines.h"

namespace kelbrin {

namespace {

constexpr std::size_t kLongestCountableText = 32767;

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

} // namespace

bool IsHex(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    // The characters are counted in 16 bits: longer texts overflow before the scan starts.
    if (text.size() > kLongestCountableText) {
        throw RuntimeError(ErrOverflow);
    }
    for (const char c : text) {
        if (!IsHexDigit(c)) {
            return false;
        }
    }
    // A scan that passes all 32,767 characters steps its counter to 32,768.
    if (text.size() == kLongestCountableText) {
        throw RuntimeError(ErrOverflow);
    }
    return true;
}

} // namespace kelbrin
