#include "General_Routines.h"

namespace kelbrin {

std::string NextField(std::string_view line, std::int32_t& position) {
    const auto length = static_cast<std::int64_t>(line.size());
    if (position < 0 || position >= length) {
        return {};
    }
    const auto start = static_cast<std::size_t>(position);
    const std::size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) {
        position = static_cast<std::int32_t>(length);
        return std::string(line.substr(start));
    }
    // The position rests on the tab itself (1-based), so the next call starts after it.
    position = static_cast<std::int32_t>(tab + 1);
    return std::string(line.substr(start, tab - start));
}

} // namespace kelbrin
