#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "ScriptPlan.h"

namespace kelbrin {

// The script format's line end, which the patch authors' own scripts use.
inline constexpr std::string_view kScriptLineEnd = "\r\n";

// The text of the script that `plan` describes, made a line at a time as it is asked for:
// a script of any length costs no more memory than its longest line. REPLACE lines take their
// bytes from `expandedImage`. Numbers are upper-case hex without leading zeros, as authors
// write them.
class ScriptLines {
public:
    ScriptLines(const ScriptPlan& plan, std::span<const std::uint8_t> expandedImage)
        : plan_(plan), image_(expandedImage) {}

    // Appends the next line, without its line end, to `text`; false after the last line.
    bool AppendNext(std::string& text);

private:
    const ScriptPlan& plan_;
    std::span<const std::uint8_t> image_;
    // The next line: the three fixed lines, then the directives.
    std::size_t next_ = 0;
};

// Gives each line of the script to `line`, without its line end, in order.
void ForEachScriptLine(const ScriptPlan& plan, std::span<const std::uint8_t> expandedImage,
                       const std::function<void(std::string_view)>& line);

} // namespace kelbrin
