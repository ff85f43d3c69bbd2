#include "engine/Expand.h"

#include <exception>
#include <new>
#include <optional>

#include "common/FileIdentity.h"
#include "common/NativePath.h"
#include "common/General_Routines.h"
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

std::int32_t RequireNumber(const std::string& field, std::string (*message)(const std::string&)) {
    const auto value = ScriptNumber(field);
    if (!value) {
        Break(message(field));
    }
    return *value;
}

void ReadNameLine(ExpansionRun& run, const std::string& programDirectory) {
    run.ContextText = "Can't open '" + kScriptName + "' file";
    run.ScriptPath = programDirectory + "\\" + kScriptName;
    run.Script.emplace(run.ScriptPath);
    const std::string line = run.Script->ReadLine();
    std::int32_t position = 0;
    if (UpperCaseRowName(NextField(line, position)) != "NAME") {
        Break(RuleMessage::NameMissing());
    }

    run.OriginalPath = programDirectory + "\\" + NextField(line, position);
    run.ContextText = "Can't open Original ROM file: '" + FileNamePart(run.OriginalPath) + "'";
    // Only proves that the original exists and can be read.
    TextInputFile(run.OriginalPath).Close();

    const std::string expandedName = NextField(line, position);
    run.ExpandedPath = programDirectory + "\\" + expandedName;
    run.ContextText = "Can't save to Expanded ROM file: '" + FileNamePart(run.ExpandedPath) + "'";
    // Two spellings of one file are the same name too: emptying the expanded file below
    // must never empty the original.
    if (run.OriginalPath == run.ExpandedPath ||
        SameExistingFile(run.OriginalPath, run.ExpandedPath)) {
        Break(RuleMessage::SameRomNames(FileNamePart(run.ExpandedPath)));
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

    run.Original.emplace(run.OriginalPath);
    RunDirectives(run);

    run.Expanded->Close();
    run.Original->Close();
    run.Script->Close();
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
    } catch (const BrokenRule& rule) {
        return {RuntimeError(ErrNone), rule.Message};
    } catch (const std::bad_alloc&) {
        return {RuntimeError(ErrOutOfMemory), std::nullopt};
    } catch (...) {
        return {RuntimeError(ErrInternal), std::nullopt};
    }
}

// The run's single failure exit.
void FailureExit(ExpansionRun& run, std::exception_ptr thrown) {
    Failure failure = FailureOf(thrown);
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
        run.ContextText = *failure.RuleMessage;
    }
    ShowErrorBox(run.ContextText, "", failure.Error, run.Window);
    run.Window.SetStatus("Ended due to Error");
    run.Script.reset();
    run.Original.reset();
    run.Expanded.reset();
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
