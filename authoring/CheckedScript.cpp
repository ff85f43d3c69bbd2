#include "CheckedScript.h"

#include "BinaryWriter.h"
#include "FolderPaths.h"
#include "MakeScript.h"
#include "PublishFile.h"
#include "Refusal.h"
#include "ScriptHead.h"
#include "ScriptLines.h"
#include "ScriptReplay.h"
#include "WholeFile.h"

namespace kelbrin {

namespace {

// A header and an image of at most FFFFFFF bytes each: the largest file a script can describe.
constexpr std::uint64_t kLargestNumber = 0xFFFFFFF;

// The name a NAME line gives a file: its path's last part.
std::string FileNameOf(const std::string& path) {
#ifdef _WIN32
    const std::size_t at = path.find_last_of("\\/:");
#else
    const std::size_t at = path.find_last_of('/');
#endif
    return at == std::string::npos ? path : path.substr(at + 1);
}

// What a failure to open a file says first.
std::string Reading(const char* which, const std::string& path) {
    return std::string("cannot read the ") + which + " '" + path + "'";
}

} // namespace

std::string DefaultScriptPath(const std::string& originalPath) {
    return PathInFolder(FolderOf(originalPath), kScriptName);
}

CheckedScript::CheckedScript(const ScriptRequest& request)
    : original_(WithContext(Reading("original", request.OriginalPath),
                            [&] {
                                return WholeFile(request.OriginalPath,
                                                 request.OriginalHeader + kLargestNumber);
                            })),
      expanded_(WithContext(Reading("expanded file", request.ExpandedPath), [&] {
          return WholeFile(request.ExpandedPath, request.ExpandedHeader + kLargestNumber);
      })) {
    plan_ = MakeScript({FileNameOf(request.OriginalPath), FileNameOf(request.ExpandedPath),
                        original_.Bytes(), expanded_.Bytes(), request.OriginalHeader,
                        request.ExpandedHeader});
    if (!RebuildsExactly(plan_, original_.Bytes(), expanded_.Bytes())) {
        throw RuntimeError(ErrInternal, "the script made does not rebuild '" +
                                            request.ExpandedPath +
                                            "' exactly, so it was not written");
    }
}

void CheckedScript::ForEachLine(const std::function<void(std::string_view)>& line) const {
    const auto image = expanded_.Bytes().subspan(plan_.AddsHeader ? plan_.HeaderSize : 0);
    ForEachScriptLine(plan_, image, line);
}

void CheckedScript::WriteFile(const std::string& path, bool replaceExisting) const {
    const std::string unfinished = UnfinishedName(path);
    WithContext("cannot write the script '" + path + "'", [&] {
        try {
            BinaryWriter writer(unfinished, WriteMode::Truncate);
            ForEachLine([&writer](std::string_view line) {
                writer.Write({reinterpret_cast<const std::uint8_t*>(line.data()), line.size()});
                writer.Write({reinterpret_cast<const std::uint8_t*>(kScriptLineEnd.data()),
                              kScriptLineEnd.size()});
            });
            writer.Close();
            PublishFile(unfinished, path, replaceExisting);
        } catch (...) {
            RemoveUnfinished(unfinished);
            throw;
        }
    });
}

} // namespace kelbrin
