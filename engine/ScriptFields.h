#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelbrin {

// The value of a script number field: 1 to 7 hex digits. Anything else, including a
// number of 8 or more digits, is no number, and the caller breaks its rule.
std::optional<std::int32_t> ScriptNumber(std::string_view field);

// The row name of a line, upper-cased for comparison.
std::string UpperCaseRowName(std::string_view field);

} // namespace kelbrin
