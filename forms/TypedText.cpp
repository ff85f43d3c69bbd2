#include "TypedText.h"

namespace kelbrin {

namespace {

#ifdef _WIN32
constexpr std::string_view kNameSeparators = "\\/";
#else
constexpr std::string_view kNameSeparators = "/";
#endif

} // namespace

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string TypedPath(std::string_view text) {
    std::string_view path = Trimmed(text);
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    return std::string(path);
}

std::string FileNameOf(const std::string& path) {
    return path.substr(path.find_last_of(kNameSeparators) + 1);
}

} // namespace kelbrin
