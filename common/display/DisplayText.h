#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kelbrin {

// Script text is 8-bit. Shown to a person it is read as UTF-8 when it is valid UTF-8, and
// as Windows-1252 otherwise; the result is UTF-8.
std::string DisplayText(std::string_view bytes);

// The same text handed to `put` piece by piece, for texts too long to hold twice: a valid UTF-8
// text is one piece, its own bytes; any other is converted a few KiB at a time.
void PutDisplayText(std::string_view bytes, const std::function<void(std::string_view)>& put);

} // namespace kelbrin
