#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelbrin {

// Why a file name on a NAME line fails a run on another system than the one the script was
// written on, in words that follow the name ("'CON.sfc' is a name Windows keeps for a device,
// ..."): a name that a run on Windows refuses (a device's name, a ':', a character Windows
// never takes in a name), or characters beyond ASCII, which Windows reads in its ANSI code page
// and Linux as UTF-8, so that the same bytes name another file there. Nothing for a name that
// works everywhere.
std::optional<std::string> WhyNotPortable(std::string_view name);

} // namespace kelbrin
