#include "FolderPaths.h"

#include <algorithm>

#include "FileHandle.h"
#ifdef _WIN32
#include "WideText.h"
#endif

namespace kelbrin {

std::string JoinedPath(std::string_view folder, std::string_view name) {
#ifdef _WIN32
    constexpr std::string_view kSeparators = "\\/";
#else
    constexpr std::string_view kSeparators = "/";
#endif
    std::string path(folder);
    if (path.empty() || kSeparators.find(path.back()) == std::string_view::npos) {
        path += kSeparators.front();
    }
    return path.append(name);
}

std::string PathInFolder(std::string_view folder, std::string_view scriptName) {
#ifdef _WIN32
    constexpr char kSeparator = '\\';
    const std::string name = Utf8FromAnsi(scriptName);
#else
    constexpr char kSeparator = '/';
    const std::string_view name = scriptName;
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
    if (!upper.starts_with("COM") && !upper.starts_with("LPT")) {
        return false;
    }
    // COM0 to COM9, and COM with a superscript 1, 2 or 3 (U+00B9, U+00B2, U+00B3 in UTF-8).
    const std::string_view number = std::string_view(upper).substr(3);
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

} // namespace

bool ClimbsAboveFolder(std::string_view name) {
    return AnyPart(name, [](std::string_view part) { return part == ".."; });
}

bool NamesWindowsDevice(std::string_view path) {
    return AnyPart(path, IsDeviceName);
}

bool NamesAlternateStream(std::string_view path) {
    // "\\?\" and "\\.\" name the same paths the long way.
    if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\")) {
        path.remove_prefix(4);
    }
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        path.remove_prefix(2);
    }
    return path.find(':') != std::string_view::npos;
}

std::string FolderOfFile(std::string_view path) {
#ifdef _WIN32
    const std::size_t separator = path.find_last_of("\\/");
#else
    const std::size_t separator = path.rfind('/');
#endif
    if (separator == std::string_view::npos) {
        return ".";
    }
    return std::string(path.substr(0, separator == 0 ? 1 : separator));
}

std::string PathText(std::string_view path) {
#ifdef _WIN32
    return AnsiTextFromUtf8(path);
#else
    return std::string(path);
#endif
}

} // namespace kelbrin
