#pragma once

// The stateless text routines that the expansion run is built from: script fields, hex
// numbers, path splitting and the error box's text. Texts are 8-bit byte strings; character
// positions are 1-based where a routine counts them. The file's length is FileLength.h's, the
// box itself ShowErrorBox.h's.

#include <cstdint>
#include <string>
#include <string_view>

#include "RuntimeError.h"

namespace kelbrin {

// Takes the next TAB-separated field of `line`. `position` is 0 before the first field of a
// line; afterwards it holds the 1-based index of the TAB that ended the field, or the line's
// length when the field ran to the end. Past the last field the result is empty.
std::string NextField(std::string_view line, std::int32_t& position);

// True when `text` is one or more hex digits (0-9, A-F, a-f) and nothing else. Raises
// error 6 for a text of more than 32,767 characters, and for exactly 32,767 hex digits
// (its 16-bit character counter would step past 32,767).
bool IsHex(std::string_view text);

// Converts 1 to 7 hex digits, optionally after one "-". Returns -1 for a text that is not a
// hex text and -2 for a hex text of 8 or more digits. Raises error 6 like IsHex.
std::int32_t HexToLong(std::string_view text);

// The path up to and including its last backslash, or empty when it holds none.
std::string PathPart(std::string_view path);

// The part of the path after its last backslash.
std::string FileNamePart(std::string_view path);

// The text of the error box: the error line of `current`, an empty line, the context and,
// when `fileName` is not empty, the name of the file concerned. Lines end in CR LF.
std::string ErrorBoxMessage(const std::string& context, const std::string& fileName,
                            const RuntimeError& current);

} // namespace kelbrin
