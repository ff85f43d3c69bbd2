#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kelbrin {

// Text shown on a terminal, with every control character that could drive the terminal instead
// of being read (ESC and the other C0 controls, DEL, the C1 controls U+0080 to U+009F) written
// as `ls -b` writes it: a backslash and three octal digits per byte, ESC as \033, the C1 control
// U+009B as \302\233. A script can hide no text and set no title with them. Line feeds and tabs
// are the text's own layout and stay. `utf8` is UTF-8 text (DisplayText's), whole characters.
std::string TerminalText(std::string_view utf8);

// The same text handed to `put` a few KiB at a time, for texts too long to hold twice.
void PutTerminalText(std::string_view utf8, const std::function<void(std::string_view)>& put);

} // namespace kelbrin
