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

} // namespace kelbrin
