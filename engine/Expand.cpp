#include "engine/Expand.h"

#include <charconv>
#include <exception>
#include <new>
#include <optional>

#include "common/FileIdentity.h"
#include "common/General_Routines.h"
#include "common/NativePath.h"
#include "engine/BrokenRule.h"
#include "engine/DirectiveEngine.h"
#include "engine/ExpansionRun.h"
#include "engine/HeaderWriter.h"
#include "engine/RuleMessages.h"
#include "engine/ScriptFields.h"
#include "md5/MD5.h"

namespace kelbrin {

namespace {

const std::string kScriptName = "Kelbrin.txt";

std::string ExpandedFileContext(const std::string& expandedName) {
    return "Can't save to Expanded ROM file: '" + FileNamePart(expandedName) + "'";
}

std::int32_t RequireNumber(const std::string& field, std::string (*message)(const std::string&)) {
    const auto value = ScriptNumber(field);
    if (!value) {
        Break(message(field));
    }
    return *value;
}

void ReadNameLine(ExpansionRun& run, const std::string& programDirectory) {
    run.ContextText = "Can't open '" + kScriptName + "' file";
    run.ScriptPath = PathInFolder(programDirectory, kScriptName);
    run.Script.emplace(run.ScriptPath);
    const std::string line = run.Script->ReadLine();
    std::int32_t position = 0;
    if (UpperCaseRowName(NextField(line, position)) != "NAME") {
        Break(RuleMessage::NameMissing());
    }

    // Messages name a file by the last part of its name in the script.
    const std::string originalName = NextField(line, position);
    run.OriginalPath = PathInFolder(programDirectory, originalName);
    run.ContextText = "Can't open Original ROM file: '" + FileNamePart(originalName) + "'";
    // Only proves that the original exists and can be read.
    TextInputFile(run.OriginalPath).Close();

    const std::string expandedName = NextField(line, position);
    run.ExpandedPath = PathInFolder(programDirectory, expandedName);
    run.ExpandedName = expandedName;
    run.ContextText = ExpandedFileContext(expandedName);
    // Two spellings of one file are the same name too: emptying the expanded file below
    // must never empty the original.
    if (run.OriginalPath == run.ExpandedPath ||
        SameExistingFile(run.OriginalPath, run.ExpandedPath)) {
        Break(RuleMessage::SameRomNames(FileNamePart(expandedName)));
    }
    if (SameExistingFile(run.ExpandedPath, run.ScriptPath)) {
        throw RuntimeError(ErrFileAlreadyOpen);
    }
    // A script comes from a stranger: the file it creates or empties stays inside the folder
    // the user keeps it in (or below it), never "..\..\" somewhere else.
    if (ClimbsAboveFolder(expandedName)) {
        throw RuntimeError(ErrPathFileAccess);
    }
    // Creates the expanded file, or empties it.
    BinaryWriter(run.ExpandedPath, WriteMode::Truncate).Close();
}

std::int64_t ReadSizeLine(ExpansionRun& run) {
    run.ContextText = "Issue with SIZE line";
    const std::string line = run.Script->ReadLine();
    std::int32_t position = 0;
    if (UpperCaseRowName(NextField(line, position)) != "SIZE") {
        Break(RuleMessage::SizeMissing());
    }
    run.OriginalSize = RequireNumber(NextField(line, position), RuleMessage::OriginalSizeNotHex);
    run.FinalSize = RequireNumber(NextField(line, position), RuleMessage::FinalSizeNotHex);
    run.ExpectedMD5 = NextField(line, position);
    return FileLength64(run.OriginalPath);
}

void DetectHeader(ExpansionRun& run, std::int64_t originalLength) {
    const std::int32_t withHeader = run.OriginalSize + run.HeaderSize;
    // The plain size is tested first, so a header size of 0 means no header.
    if (originalLength == run.OriginalSize) {
        run.OriginalHasHeader = false;
    } else if (originalLength == withHeader) {
        run.OriginalHasHeader = true;
    } else {
        Break(RuleMessage::OriginalWrongLength(run.OriginalSize, withHeader));
    }
}

// Digests the original without its header when the script gives a checksum. A mismatch
// shows the digest and a warning, and the run goes on.
void CheckMD5(ExpansionRun& run) {
    if (run.ExpectedMD5.empty()) {
        return;
    }
    MD5 digest;
    const std::string actual =
        digest.DigestFileToHexStr(run.OriginalPath, run.OriginalHasHeader, run.HeaderSize);
    if (actual == run.ExpectedMD5) {
        return;
    }
    run.Window.ShowMD5(actual);
    run.ContextText = RuleMessage::MD5Mismatch();
    ShowErrorBox(run.ContextText, "", RuntimeError(ErrNone), run.Window);
}

void RunSteps(ExpansionRun& run, const std::string& programDirectory) {
    ReadNameLine(run, programDirectory);
    const std::int64_t originalLength = ReadSizeLine(run);

    run.ContextText = "Issue with HEADER line";
    const std::string headerLine = run.Script->ReadLine();
    std::int32_t position = 0;
    if (UpperCaseRowName(NextField(headerLine, position)) != "HEADER") {
        Break(RuleMessage::HeaderMissing());
    }
    run.HeaderSize = RequireNumber(NextField(headerLine, position), RuleMessage::HeaderSizeNotHex);
    DetectHeader(run, originalLength);
    CheckMD5(run);

    // The file is empty since it was opened for output. Truncating it again would cost a
    // forced write-back on close on some file systems (ext4 treats truncate-and-rewrite as a
    // file replacement).
    run.Expanded.emplace(run.ExpandedPath, WriteMode::Keep);
    if (run.WantHeader) {
        if (run.HeaderSize == 0) {
            Break(RuleMessage::NoHeaderDefined());
        }
        run.Window.SetStatus("Writing Header");
        WriteHeader(run, headerLine, position);
        run.Expanded->Flush();
    } else {
        run.Window.SetStatus("No Header");
    }

    // The length that header detection saw is the one the image is copied from.
    run.Original.emplace(run.OriginalPath, originalLength);
    RunDirectives(run);

    const std::optional<FileKey> written = run.Expanded->Key();
    run.Expanded->Close();
    run.Original->Close();
    run.Script->Close();
    // Bytes written to a file that was removed or replaced under the run are in no file the
    // user can find: the name must still lead to the file that was written.
    if (written && ExistingFileKey(run.ExpandedPath) != written) {
        run.ContextText = ExpandedFileContext(run.ExpandedName);
        throw RuntimeError(ErrFileNotFound);
    }
    run.Window.SetStatus("Expansion Done");
}

// What a failure shows in the error box: its error (0 for a broken rule) and, for a broken
// rule, the rule's message in place of the context of the moment.
struct Failure {
    RuntimeError Error;
    std::optional<std::string> RuleMessage;
};

Failure FailureOf(std::exception_ptr thrown) {
    try {
        std::rethrow_exception(thrown);
    } catch (const RuntimeError& error) {
        return {error, std::nullopt};
    } catch (BrokenRule& rule) {
        // A message may quote a script line of hundreds of megabytes: it moves, never copied.
        return {RuntimeError(ErrNone), std::move(rule.Message)};
    } catch (const std::bad_alloc&) {
        return {RuntimeError(ErrOutOfMemory), std::nullopt};
    } catch (...) {
        return {RuntimeError(ErrInternal), std::nullopt};
    }
}

// The box when the whole message does not fit in the memory left: the error line and the start
// of the context, built in the room the run set aside for it, so it needs no memory at all.
void ShowShortenedErrorBox(ExpansionRun& run, const RuntimeError& error) {
    constexpr std::size_t kContextShown = 2000;
    std::string& box = run.ShortenedBox;
    box.clear();
    char number[16];
    const auto [end, ignored] = std::to_chars(number, number + sizeof number, error.Number());
    box.append("Error #").append(number, end).append(" -> ");
    box.append(error.Description(), 0, 100).append("\r\n\r\n");
    box.append(run.ContextText, 0, kContextShown);
    if (run.ContextText.size() > kContextShown) {
        box.append(" ...");
    }
    run.Window.ShowMessageBox(box, "Error", MessageBoxIcon::Stop);
}

// The run's single failure exit. Nothing escapes it: the run always returns to its caller.
void FailureExit(ExpansionRun& run, std::exception_ptr thrown) noexcept {
    try {
        Failure failure = FailureOf(thrown);
        thrown = nullptr;
        // Bytes written before the failure must be in the file when the box appears. Had they
        // been written one by one, a failing write would have come first, under the context
        // of the moment: it takes precedence over whatever was found after it.
        if (run.Expanded && run.Expanded->IsOpen()) {
            try {
                run.Expanded->Flush();
            } catch (const RuntimeError& writeError) {
                failure = {writeError, std::nullopt};
            }
            run.Expanded->Abandon();
        }
        if (failure.RuleMessage) {
            run.ContextText = std::move(*failure.RuleMessage);
        }
        try {
            ShowErrorBox(run.ContextText, "", failure.Error, run.Window);
        } catch (const std::bad_alloc&) {
            ShowShortenedErrorBox(run, failure.Error);
        }
    } catch (...) {
        // Even the shortened box failed; the status below still tells how the run ended.
    }
    run.Script.reset();
    run.Original.reset();
    run.Expanded.reset();
    try {
        run.Window.SetStatus("Ended due to Error");
    } catch (...) {
    }
}

} // namespace

void Expand(std::int16_t Index, const std::string& programDirectory, RunWindow& window) {
    ExpansionRun run(window);
    run.WantHeader = Index == 0;
    window.HideMD5();
    try {
        RunSteps(run, programDirectory);
    } catch (...) {
        FailureExit(run, std::current_exception());
    }
}

} // namespace kelbrin
