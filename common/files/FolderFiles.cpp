#include "FolderFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include "WideText.h"
#endif

namespace kelbrin {

namespace {

// The system's own spelling of the folder: on Windows std::filesystem would read a narrow
// string in the ANSI code page, and our paths are UTF-8.
std::filesystem::path NativeFolder(const std::string& folder) {
#ifdef _WIN32
    return std::filesystem::path(WideFromUtf8(folder));
#else
    return std::filesystem::path(folder);
#endif
}

std::string NameOf(const std::filesystem::path& file) {
#ifdef _WIN32
    return Utf8FromWide(file.filename().native());
#else
    return file.filename().native();
#endif
}

// The folder's path and the file's name as one path; a root ends in its separator already.
std::string FileInFolder(const std::string& folder, const std::string& name) {
#ifdef _WIN32
    constexpr char kSeparator = '\\';
#else
    constexpr char kSeparator = '/';
#endif
    const bool separated = !folder.empty() && (folder.back() == '/' || folder.back() == kSeparator);
    return separated ? folder + name : folder + kSeparator + name;
}

} // namespace

std::vector<std::string> FilesInFolder(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(NativeFolder(folder), error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::error_code typeError;
        // Through a symbolic link, as opening the file would go.
        if (entries->is_regular_file(typeError)) {
            names.push_back(NameOf(entries->path()));
        }
    }
    std::ranges::sort(names);
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names) {
        paths.push_back(FileInFolder(folder, name));
    }
    return paths;
}

} // namespace kelbrin
