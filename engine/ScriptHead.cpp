#include "ScriptHead.h"

#include <vector>

#include "ContextTexts.h"
#include "FileIdentity.h"
#include "FileLength.h"
#include "FolderPaths.h"
#include "General_Routines.h"
#include "RuleMessages.h"
#include "RunFailure.h"
#include "ScriptFields.h"

namespace kelbrin {

namespace {

// Windows' longest path is 32,767 UTF-16 units, each at most three bytes in UTF-8; Linux's
// 4,096 bytes.
constexpr std::size_t kLongestPathBytes = 3 * 32767;

// The next field, which must be a script number; `message` is the rule broken when it is not.
std::int32_t RequiredNumber(const std::string& line, std::int32_t& position,
                            std::string (*message)(const std::string&)) {
    const std::string field = NextField(line, position);
    const auto value = ScriptNumber(field);
    if (!value) {
        Break(message(field));
    }
    return *value;
}

void ReadNameLine(ScriptHead& head, TextInputFile& script, const std::string& scriptPath,
                  const std::string& programDirectory, ExpandedFileUse use,
                  std::optional<ReplacementFile>* made, const std::string& original) {
    std::string line = script.ReadLine();
    std::int32_t position = 0;
    if (UpperCaseRowName(NextField(line, position)) != "NAME") {
        Break(RuleMessage::NameMissing());
    }

    head.OriginalName = NextField(line, position);
    head.OriginalPath = PathInFolder(programDirectory, head.OriginalName);
    if (!original.empty()) {
        head.OriginalName = PathText(original);
        head.OriginalPath = original;
    }
    // Only proves that the original exists and can be read.
    Under(ContextText::Original(head.OriginalName),
          [&] { TextInputFile(head.OriginalPath).Close(); });

    head.ExpandedName = NextField(line, position);
    // The line may be hundreds of megabytes; only its names are needed from here on.
    std::string().swap(line);
    head.ExpandedPath = PathInFolder(programDirectory, head.ExpandedName);
    Under(ContextText::Expanded(head.ExpandedName), [&] {
        // Two spellings of one file are the same name too: replacing the expanded file must
        // never replace the original.
        if (head.OriginalPath == head.ExpandedPath ||
            SameExistingFile(head.OriginalPath, head.ExpandedPath)) {
            Break(RuleMessage::SameRomNames(FileNamePart(head.ExpandedName)));
        }
        if (SameExistingFile(head.ExpandedPath, scriptPath)) {
            throw RuntimeError(ErrFileAlreadyOpen);
        }
        // A script comes from a stranger: the file it creates or replaces stays inside the
        // folder the user keeps it in (or below it), never "..\..\" somewhere else.
        if (ClimbsAboveFolder(head.ExpandedName)) {
            throw RuntimeError(ErrPathFileAccess);
        }
        if (use == ExpandedFileUse::Leave) {
            return;
        }
        // Longer than any path a system opens: refused as opening it would be, before the
        // names of the new file are made from it.
        if (head.ExpandedPath.size() > kLongestPathBytes) {
            throw RuntimeError(ErrBadFileName);
        }
        const ReplacementFile::Names names = ReplacementFile::NamesFor(head.ExpandedPath);
        // The new file's name may be taken already, by the original or the script: they are
        // never written, nor removed.
        const std::vector<std::string> inputs{head.OriginalPath, scriptPath};
        try {
            if (use == ExpandedFileUse::Prove) {
                ReplacementFile::ProveReplaceable(names, inputs);
            } else {
                made->emplace(names, inputs);
            }
        } catch (const UnfinishedNameTaken& taken) {
            // The expanded file may not even exist: the box names what is in the way.
            RunFailure failure(RuntimeError(taken.Number()),
                               ContextText::Expanded(head.ExpandedName));
            failure.FileName = PathText(taken.Name());
            throw failure; // NOLINT(misc-throw-by-value-catch-by-reference): built in steps
        }
    });
}

void ReadSizeLine(ScriptHead& head, TextInputFile& script) {
    const std::string line = script.ReadLine();
    std::int32_t position = 0;
    if (UpperCaseRowName(NextField(line, position)) != "SIZE") {
        Break(RuleMessage::SizeMissing());
    }
    head.OriginalSize = RequiredNumber(line, position, RuleMessage::OriginalSizeNotHex);
    head.FinalSize = RequiredNumber(line, position, RuleMessage::FinalSizeNotHex);
    head.ExpectedMD5 = NextField(line, position);
    head.OriginalLength = FileLength64(head.OriginalPath);
}

void ReadHeaderLine(ScriptHead& head, TextInputFile& script) {
    head.HeaderLine = script.ReadLine();
    std::int32_t position = 0;
    if (UpperCaseRowName(NextField(head.HeaderLine, position)) != "HEADER") {
        Break(RuleMessage::HeaderMissing());
    }
    head.HeaderSize = RequiredNumber(head.HeaderLine, position, RuleMessage::HeaderSizeNotHex);
    head.HeaderBytesAt = position;
}

} // namespace

ScriptHead ReadScriptHead(TextInputFile& script, const std::string& scriptPath,
                          const std::string& programDirectory, ExpandedFileUse use,
                          std::optional<ReplacementFile>* made, const std::string& original) {
    ScriptHead head;
    Under(ContextText::Script(),
          [&] { ReadNameLine(head, script, scriptPath, programDirectory, use, made, original); });
    Under(ContextText::SizeLine(), [&] { ReadSizeLine(head, script); });
    Under(ContextText::HeaderLine(), [&] { ReadHeaderLine(head, script); });
    return head;
}

OpenedScript OpenScript(const std::string& folder, const ScriptSource& source, ExpandedFileUse use,
                        std::optional<ReplacementFile>* made) {
    const std::string path = source.Path.empty() ? PathInFolder(folder, kScriptName) : source.Path;
    TextInputFile script = Under(ContextText::Script(), [&] {
        return source.Pieces ? TextInputFile::OfPieces(source.Pieces) : TextInputFile(path);
    });
    ScriptHead head = ReadScriptHead(script, path, folder, use, made, source.Original);
    return {std::move(script), std::move(head)};
}

std::optional<bool> HeaderByLength(const ScriptHead& head) {
    if (head.OriginalLength == head.OriginalSize) {
        return false;
    }
    if (head.OriginalLength == std::int64_t{head.OriginalSize} + head.HeaderSize) {
        return true;
    }
    return std::nullopt;
}

bool OriginalHasHeader(const ScriptHead& head) {
    if (const std::optional<bool> hasHeader = HeaderByLength(head)) {
        return *hasHeader;
    }
    Break(RuleMessage::OriginalWrongLength(head.OriginalSize, head.OriginalSize + head.HeaderSize));
}

} // namespace kelbrin
