#include "PatchFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "FileIdentity.h"

namespace kelbrin {

namespace {

// A UTF-8 path as the file system library takes it on every system.
std::filesystem::path Utf8Path(const std::string& path) {
    return std::u8string(path.begin(), path.end());
}

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/:";
#else
constexpr std::string_view kSeparators = "/";
#endif

// Where the last part of the path starts.
std::size_t NameAt(std::string_view path) {
    const std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::string_view::npos ? 0 : separator + 1;
}

// Where the extension of the path's last part starts (its dot), or the path's end. A name whose
// only dot is its first character (".rom") has none.
std::size_t ExtensionAt(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    return dot != std::string_view::npos && dot > NameAt(path) ? dot : path.size();
}

std::filesystem::path Normal(const std::string& path) {
    std::error_code error;
    std::filesystem::path normal = std::filesystem::weakly_canonical(Utf8Path(path), error);
    return error ? Utf8Path(path).lexically_normal() : normal;
}

// The same existing file, or the same path for a file that is not there yet (the expanded ROM
// of a first run).
bool SameFileOrPath(const std::string& first, const std::string& second) {
    return first == second || SameExistingFile(first, second) || Normal(first) == Normal(second);
}

} // namespace

WholeFile ReadPatch(const std::string& path) {
    return WholeFile(path, kLargestPatch);
}

std::string PatchName(std::string_view path) {
    return std::string(path.substr(NameAt(path)));
}

std::string WithExtension(const std::string& path, std::string_view extension) {
    return path.substr(0, ExtensionAt(path)) + std::string(extension);
}

std::string DefaultPatchedPath(const std::string& patch, const std::string& rom) {
    return WithExtension(patch, std::string_view(rom).substr(ExtensionAt(rom)));
}

std::string PatchedRomPath(const std::string& lastPatch, const std::string& expandedPath,
                           const std::optional<std::string>& output,
                           const std::vector<std::string>& inputs) {
    const std::string_view patch = lastPatch;
    std::string path = output.value_or(
        expandedPath.substr(0, NameAt(expandedPath)) +
        std::string(patch.substr(NameAt(patch), ExtensionAt(patch) - NameAt(patch))) +
        expandedPath.substr(ExtensionAt(expandedPath)));
    if (std::ranges::none_of(
            inputs, [&](const std::string& input) { return SameFileOrPath(path, input); })) {
        return path;
    }
    const std::size_t extension = ExtensionAt(path);
    return path.substr(0, extension) + " (patched)" + path.substr(extension);
}

} // namespace kelbrin
