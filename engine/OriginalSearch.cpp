#include "OriginalSearch.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "FileHandle.h"
#include "FolderPaths.h"
#include "General_Routines.h"
#include "MD5.h"
#include "ScriptFields.h"
#include "ScriptHead.h"

namespace kelbrin {

namespace {

// A UTF-8 path as the file system library takes it on every system.
std::filesystem::path Utf8Path(const std::string& path) {
    return std::u8string(path.begin(), path.end());
}

// What the search needs of the script's three fixed lines; nothing when they break a rule.
struct WantedOriginal {
    std::string Path;
    std::string ExpandedPath;
    std::int64_t Size = 0;
    std::int64_t HeaderSize = 0;
    std::string MD5;
};

std::optional<WantedOriginal> ReadWanted(const std::string& folder) {
    TextInputFile script(PathInFolder(folder, kScriptName));
    const std::string name = script.ReadLine();
    const std::string size = script.ReadLine();
    const std::string header = script.ReadLine();
    std::int32_t at = 0;
    WantedOriginal wanted;
    if (UpperCaseRowName(NextField(name, at)) != "NAME") {
        return std::nullopt;
    }
    wanted.Path = PathInFolder(folder, NextField(name, at));
    wanted.ExpandedPath = PathInFolder(folder, NextField(name, at));
    at = 0;
    if (UpperCaseRowName(NextField(size, at)) != "SIZE") {
        return std::nullopt;
    }
    const std::optional<std::int32_t> originalSize = ScriptNumber(NextField(size, at));
    NextField(size, at); // the expanded size
    wanted.MD5 = NextField(size, at);
    at = 0;
    if (!originalSize || UpperCaseRowName(NextField(header, at)) != "HEADER") {
        return std::nullopt;
    }
    wanted.Size = *originalSize;
    wanted.HeaderSize = ScriptNumber(NextField(header, at)).value_or(0);
    return wanted;
}

} // namespace

std::vector<std::string> OriginalsUnderOtherNames(const std::string& folder) {
    std::vector<std::string> found;
    try {
        const std::optional<WantedOriginal> wanted = ReadWanted(folder);
        if (!wanted || ExistingFileKey(wanted->Path)) {
            return found;
        }
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(Utf8Path(folder), error)) {
            std::error_code fileError;
            if (!entry.is_regular_file(fileError)) {
                continue;
            }
            const auto length = static_cast<std::int64_t>(entry.file_size(fileError));
            const bool image = length == wanted->Size;
            const bool withHeader =
                wanted->HeaderSize != 0 && length == wanted->Size + wanted->HeaderSize;
            const std::u8string spelled = entry.path().filename().u8string();
            const std::string name(spelled.begin(), spelled.end());
            const std::string path = PathInFolder(folder, name);
            if (fileError || !(image || withHeader) || name == kScriptName ||
                path == wanted->ExpandedPath) {
                continue;
            }
            if (!wanted->MD5.empty()) {
                MD5 digest;
                if (digest.DigestFileToHexStr(path, withHeader,
                                              static_cast<std::int32_t>(wanted->HeaderSize)) !=
                    wanted->MD5) {
                    continue;
                }
            }
            found.push_back(name);
        }
    } catch (...) {
        // A script or a file that cannot be read suggests nothing: the run's box has told why.
        return {};
    }
    std::ranges::sort(found);
    return found;
}

} // namespace kelbrin
