#include "common/NativePath.h"

#include <algorithm>

namespace kelbrin {

std::string NativePath(std::string_view path) {
    std::string native(path);
#ifndef _WIN32
    std::replace(native.begin(), native.end(), '\\', '/');
#endif
    return native;
}

bool ClimbsAboveFolder(std::string_view name) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find_first_of("\\/", start);
        if (name.substr(start, end - start) == "..") {
            return true;
        }
        if (end == std::string_view::npos) {
            return false;
        }
        start = end + 1;
    }
}

} // namespace kelbrin
