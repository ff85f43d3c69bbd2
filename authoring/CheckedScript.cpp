#include "CheckedScript.h"

#include <exception>

#include "BinaryWriter.h"
#include "ComparingOutput.h"
#include "Expand.h"
#include "FolderPaths.h"
#include "MakeScript.h"
#include "Refusal.h"
#include "ReplacementFile.h"
#include "ScriptHead.h"
#include "ScriptLines.h"
#include "UnseenWindow.h"

#ifdef _WIN32
#include "WideText.h"
#endif

namespace kelbrin {

namespace {

// A header and an image of at most FFFFFFF bytes each: the largest file a script can describe.
constexpr std::uint64_t kLargestScriptedPart = 0xFFFFFFF;

// The name a NAME line gives a file: its path's last part, as a run reads names. On Windows
// that is the ANSI code page, in which the file layer's UTF-8 path may have no spelling.
std::string ScriptNameOf(const std::string& path) {
#ifdef _WIN32
    const std::size_t at = path.find_last_of("\\/:");
#else
    const std::size_t at = path.find_last_of('/');
#endif
    std::string name = at == std::string::npos ? path : path.substr(at + 1);
#ifdef _WIN32
    const std::optional<std::string> ansi = AnsiFromUtf8(name);
    if (!ansi) {
        Refuse("the name '" + name +
               "' has characters that a script, written in the ANSI code page, cannot hold");
    }
    return *ansi;
#else
    return name;
#endif
}

// The rehearsal reads the text it proves in pieces of about this size, each line whole.
constexpr std::size_t kPieceBytes = 64 * 1024;

// What a failure to open a file says first.
std::string Reading(const char* which, const std::string& path) {
    return std::string("cannot read the ") + which + " '" + path + "'";
}

} // namespace

std::string DefaultScriptPath(const std::string& originalPath) {
    return PathInFolder(FolderOfFile(originalPath), kScriptName);
}

CheckedScript::CheckedScript(const ScriptRequest& request, const std::string& scriptPath,
                             ScriptFile file)
    : inputs_{request.OriginalPath, request.ExpandedPath},
      original_(WithContext(Reading("original", request.OriginalPath),
                            [&] {
                                return WholeFile(request.OriginalPath,
                                                 request.OriginalHeader + kLargestScriptedPart);
                            })),
      expanded_(WithContext(Reading("expanded file", request.ExpandedPath), [&] {
          return WholeFile(request.ExpandedPath, request.ExpandedHeader + kLargestScriptedPart);
      })) {
    plan_ = MakeScript({ScriptNameOf(request.OriginalPath), ScriptNameOf(request.ExpandedPath),
                        original_.Bytes(), expanded_.Bytes(), request.OriginalHeader,
                        request.ExpandedHeader});
    const bool proved =
        file == ScriptFile::None
            ? Proves(request, scriptPath, {})
            : WithContext("cannot write the script '" + scriptPath + "'", [&] {
                  // Made only now that both files are read: nothing is written before.
                  ReplacementFile written(ReplacementFile::NamesFor(scriptPath), inputs_);
                  BinaryWriter writer(written.File());
                  std::exception_ptr failedWrite;
                  const bool rebuilds = Proves(request, scriptPath, [&](std::string_view text) {
                      try {
                          writer.Write(
                              {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
                      } catch (const RuntimeError&) {
                          failedWrite = std::current_exception();
                          throw;
                      }
                  });
                  // The rehearsal reports a failed write as its own failure: it comes first.
                  if (failedWrite) {
                      std::rethrow_exception(failedWrite);
                  }
                  if (rebuilds) {
                      writer.Close();
                      written.FlushToDisk();
                      written.Commit(file == ScriptFile::NewOrReplacing);
                  }
                  return rebuilds;
              });
    if (!proved) {
        throw RuntimeError(ErrInternal, "the script made does not rebuild '" +
                                            request.ExpandedPath +
                                            "' exactly, so it was not written");
    }
}

bool CheckedScript::Proves(const ScriptRequest& request, const std::string& scriptPath,
                           const std::function<void(std::string_view)>& copy) {
    ScriptLines lines(plan_, ExpandedImage());
    bool more = true;
    const auto nextPiece = [&](std::string& piece) {
        while (more && piece.size() < kPieceBytes) {
            more = lines.AppendNext(piece);
            if (more) {
                piece += kScriptLineEnd;
            }
        }
        if (copy && !piece.empty()) {
            copy(piece);
        }
    };
    // The script is run as a player's run would run it, beside the original, with the button
    // its header calls for; its image is held against the expanded file instead of written.
    const std::string folder = FolderOfFile(request.OriginalPath);
    ChecksumMemo checksums;
    // The maker digested the same image with the same MD5 class already.
    checksums.Remember(PathInFolder(folder, plan_.OriginalName), request.OriginalHeader != 0,
                       static_cast<std::int32_t>(plan_.HeaderSize), plan_.OriginalMD5);
    ComparingOutput against(expanded_.Bytes());
    UnseenWindow window;
    // The expanded file is made in players' folders, not here, where the author's own may lie
    // beside the original, even read-only: the proof leaves it alone.
    const RunResult ending = Rehearse(
        plan_.AddsHeader ? HeaderChoice::AddOrReplace : HeaderChoice::IgnoreOrRemove, folder,
        window,
        {against, &layout_, {scriptPath, nextPiece, {}}, &checksums, ExpandedFileUse::Leave});
    // A run that ends done has read the text to its end.
    return ending.Done() && !ending.MD5WarningShown && against.Matched() && !more;
}

std::span<const std::uint8_t> CheckedScript::ExpandedImage() const {
    return expanded_.Bytes().subspan(plan_.AddsHeader ? plan_.HeaderSize : 0);
}

void CheckedScript::ForEachLine(const std::function<void(std::string_view)>& line) const {
    ForEachScriptLine(plan_, ExpandedImage(), line);
}

} // namespace kelbrin
