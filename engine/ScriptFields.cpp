#include "ScriptFields.h"

#include <string>

#include "General_Routines.h"

namespace kelbrin {

std::optional<std::int32_t> ScriptNumber(std::string_view field) {
    if (!IsHex(field)) {
        return std::nullopt;
    }
    const std::int32_t value = HexToLong(field);
    if (value == -2) {
        return std::nullopt;
    }
    return value;
}

std::string UpperCaseRowName(std::string_view field) {
    std::string upper(field);
    // Only ASCII letters can turn into a row name; 8-bit characters stay as they are.
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

} // namespace kelbrin
