#include "FolderNames.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include "WideText.h"
#else
#include <pwd.h>
#include <unistd.h>
#endif

#include "FileHandle.h"

namespace kelbrin {

namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";
constexpr char kSeparator = '\\';
#else
constexpr std::string_view kSeparators = "/";
constexpr char kSeparator = '/';
#endif

bool IsSeparator(char c) {
    return kSeparators.find(c) != std::string_view::npos;
}

// How many characters of `path` name its root: "/"; on Windows also "C:\", "C:" and the two
// backslashes of a network path. 0 for a relative path.
std::size_t RootLength(std::string_view path) {
#ifdef _WIN32
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        return 2;
    }
    if (path.size() >= 2 && path[1] == ':') {
        return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
    }
#endif
    return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

std::string AbsolutePath(const std::string& path) {
    const std::size_t root = RootLength(path);
    if (root == 0) {
        return path.empty() ? WorkingDirectory() : WorkingDirectory() + kSeparator + path;
    }
#ifdef _WIN32
    // "\games" lies on the drive of the working directory.
    if (root == 1) {
        const std::string current = WorkingDirectory();
        if (current.size() >= 2 && current[1] == ':') {
            return current.substr(0, 2) + path;
        }
    }
#endif
    return path;
}

// The parts of `path` after its root, in order.
std::vector<std::string_view> Parts(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = RootLength(path);
    while (start < path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) {
            ++end;
        }
        if (end > start) {
            parts.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

} // namespace

std::string FolderPath(const std::string& path) {
    std::string folder = AbsolutePath(path);
    const std::size_t root = RootLength(folder);
    // A separator or a "." after one at the end names the same folder.
    while ((folder.size() > root && IsSeparator(folder.back())) ||
           (folder.size() > root + 1 && folder.back() == '.' &&
            IsSeparator(folder[folder.size() - 2]))) {
        folder.pop_back();
    }
    return folder;
}

std::optional<std::string> ExistingFolderOf(const std::string& path) {
    if (NameHasNul(path)) {
        return std::nullopt;
    }
    std::string folder = FolderPath(path);
    if (IsExistingFolder(folder)) {
        return folder;
    }
    if (!ExistingFileKey(folder)) {
        return std::nullopt;
    }
    const std::size_t root = RootLength(folder);
    std::size_t end = folder.size();
    while (end > root && !IsSeparator(folder[end - 1])) {
        --end;
    }
    // The separators before the file's name go with it, but for the root's own.
    while (end > root && IsSeparator(folder[end - 1])) {
        --end;
    }
    folder.resize(end);
    return folder;
}

std::string FolderName(const std::string& folder) {
    std::vector<std::string_view> named;
    for (const std::string_view part : Parts(folder)) {
        if (part == "..") {
            if (!named.empty()) {
                named.pop_back();
            }
        } else if (part != ".") {
            named.push_back(part);
        }
    }
    if (named.empty()) {
        return folder.substr(0, RootLength(folder));
    }
    return std::string(named.back());
}

std::string HomeFolder() {
#ifdef _WIN32
    // The environment's wide form: a user's name need not fit the ANSI code page.
    if (const wchar_t* profile = ::_wgetenv(L"USERPROFILE"); profile != nullptr && *profile != 0) {
        return Utf8FromWide(profile);
    }
#else
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        return home;
    }
    if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
        return user->pw_dir;
    }
#endif
    return WorkingDirectory();
}

#ifndef _WIN32
std::string ProgramFolder(const char* argv0) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        return program.parent_path().native();
    }
    return ExistingFolderOf(argv0).value_or(WorkingDirectory());
}
#endif

} // namespace kelbrin
