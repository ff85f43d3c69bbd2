#pragma once

// Windows only. On Windows a path held in a std::string is UTF-8, so that any folder name
// travels whole; the file layer hands it to the system's wide (UTF-16) calls. Names from a
// script are 8-bit text in the ANSI code page, as the classic file calls read them, and become
// UTF-8 where they meet the folder (PathInFolder).

#include <optional>
#include <string>
#include <string_view>

namespace kelbrin {

// UTF-16 from UTF-8; a sequence that is not UTF-8 becomes U+FFFD, as for text to show.
std::wstring WideFromUtf8(std::string_view utf8);
// A path for the system's wide calls: error 52 when `utf8` is not UTF-8, which no name the
// program makes can be.
std::wstring WidePath(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
// Text of the ANSI code page as UTF-8.
std::string Utf8FromAnsi(std::string_view ansi);
// UTF-8 in the ANSI code page; nothing when the code page cannot spell every character.
std::optional<std::string> AnsiFromUtf8(std::string_view utf8);
// The same for text to show: the code page's "?" where it has no character.
std::string AnsiTextFromUtf8(std::string_view utf8);

} // namespace kelbrin
