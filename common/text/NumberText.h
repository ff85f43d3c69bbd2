#pragma once

#include <cstdint>
#include <string>

namespace kelbrin {

// Numbers written the way the script writes them: upper-case hex digits without leading zeros
// (1F40), appended to `text`.
void AppendScriptHex(std::string& text, std::uint64_t value);
std::string ScriptHex(std::uint64_t value);

// A byte as two upper-case hex digits (0A), as header and REPLACE bytes are shown.
std::string ByteHex(std::uint8_t value);

// A count for people, its digits grouped by threes: 1,048,576.
std::string GroupedDecimal(std::int64_t value);

} // namespace kelbrin
