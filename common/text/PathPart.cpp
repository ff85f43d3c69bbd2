#include "General_Routines.h"

namespace kelbrin {

std::string PathPart(std::string_view path) {
    const std::size_t lastBackslash = path.rfind('\\');
    if (lastBackslash == std::string_view::npos) {
        return {};
    }
    return std::string(path.substr(0, lastBackslash + 1));
}

std::string FileNamePart(std::string_view path) {
    return std::string(path.substr(PathPart(path).size()));
}

} // namespace kelbrin
