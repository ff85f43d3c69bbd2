#pragma once

#include <string>
#include <string_view>

namespace kelbrin {

// Script text is 8-bit. Shown to a person it is read as UTF-8 when it is valid UTF-8, and
// as Windows-1252 otherwise; the result is UTF-8.
std::string DisplayText(std::string_view bytes);

} // namespace kelbrin
