#include "FolderPaths.h"

#include <algorithm>

#include "FileHandle.h"

namespace kelbrin {

std::string PathInFolder(std::string_view folder, std::string_view name) {
#ifdef _WIN32
    constexpr char kSeparator = '\\';
#else
    constexpr char kSeparator = '/';
#endif
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder);
    path += kSeparator;
    const std::size_t nameStart = path.size();
    path.append(name);
    std::replace(path.begin() + static_cast<std::ptrdiff_t>(nameStart), path.end(), '\\',
                 kSeparator);
    return path;
}

namespace {

// True when `holds` is true of one part of the path between its separators.
template <typename Predicate> bool AnyPart(std::string_view path, Predicate holds) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find_first_of("\\/", start);
        if (holds(path.substr(start, end - start))) {
            return true;
        }
        if (end == std::string_view::npos) {
            return false;
        }
        start = end + 1;
    }
}

bool IsDeviceName(std::string_view part) {
    // Windows reads "aux.bin" and "aux .txt" as AUX: the extension and the blanks before it
    // do not count.
    part = part.substr(0, part.find('.'));
    while (!part.empty() && part.back() == ' ') {
        part.remove_suffix(1);
    }
    std::string upper(part);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL" || upper == "CONIN$" ||
        upper == "CONOUT$") {
        return true;
    }
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           upper[3] >= '1' && upper[3] <= '9';
}

} // namespace

bool ClimbsAboveFolder(std::string_view name) {
    return AnyPart(name, [](std::string_view part) { return part == ".."; });
}

bool NamesWindowsDevice(std::string_view path) {
    return AnyPart(path, IsDeviceName);
}

} // namespace kelbrin
