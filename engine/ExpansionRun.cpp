#include "ExpansionRun.h"

#include <span>
#include <utility>

#include "ContextTexts.h"
#include "Crc32.h"
#include "FolderPaths.h"
#include "HeaderWriter.h"
#include "MD5.h"
#include "PatchFiles.h"
#include "PatchedRomFileOutput.h"
#include "RuleMessages.h"
#include "ShowErrorBox.h"

namespace kelbrin {

ExpansionRun::ExpansionRun(HeaderChoice choice, std::string folder, RunWindow& window,
                           const Rehearsal* rehearsal, const RunExtras* extras)
    : WantHeader(choice == HeaderChoice::AddOrReplace), folder_(std::move(folder)), window_(window),
      rehearsal_(rehearsal), extras_(extras) {}

RunResult ExpansionRun::Run() noexcept {
    try {
        RunSteps();
        window_.SetStatus("Expansion Done");
        if (!patchedName_.empty()) {
            window_.SetStatus("Patched ROM written: " + patchedName_ + " (CRC32 " +
                              Crc32::Text(patchedCrc32_) + ")");
        }
        return RunResult{RunResult::Ending::Done, 0, {}, md5WarningShown_};
    } catch (...) {
        return FailureExit(CaughtFailure());
    }
}

void ExpansionRun::RunSteps() {
    // No digest from an earlier run may stay on show.
    window_.HideMD5();
    ScriptSource source;
    if (extras_ != nullptr && extras_->Original) {
        source.Original = *extras_->Original;
    }
    const OpenedScript& opened = opened_.emplace(
        rehearsal_ != nullptr ? OpenScript(folder_, rehearsal_->Script, rehearsal_->Expanded)
                              : OpenScript(folder_, source, ExpandedFileUse::Make, &expanded_));
    const ScriptHead& head = opened.Head;
    // A patch that cannot be read, or is damaged, is refused before a byte is written.
    if (rehearsal_ == nullptr && extras_ != nullptr && !extras_->Patches.empty()) {
        patches_.emplace(extras_->Patches);
    }
    const bool originalHasHeader =
        Under(ContextText::HeaderLine(), [&] { return OriginalHasHeader(head); });
    CheckMD5(head, originalHasHeader);

    // Until the directives begin, a failure after the checksum warning is reported under the
    // warning's text, the box the user has just closed.
    const std::string context =
        md5WarningShown_ ? RuleMessage::MD5Mismatch() : ContextText::HeaderLine();
    Under(context, [&] {
        ImageOutput* output =
            rehearsal_ != nullptr ? &rehearsal_->Output : &expandedOutput_.emplace(*expanded_);
        if (patches_) {
            const std::size_t header = WantHeader ? static_cast<std::size_t>(head.HeaderSize) : 0;
            output = &kept_.emplace(*output, header + static_cast<std::size_t>(head.FinalSize));
        }
        ImageWriter& image =
            rehearsal_ != nullptr
                ? image_.emplace(head, originalHasHeader, *output, rehearsal_->Layout)
                : image_.emplace(head, originalHasHeader, *output);
        if (!WantHeader) {
            window_.SetStatus("No Header");
        } else if (head.HeaderSize == 0) {
            Break(RuleMessage::NoHeaderDefined());
        } else {
            window_.SetStatus("Writing Header");
            image.WriteHeader();
        }
        image.OpenOriginal();
    });
    image_->WriteImage(opened_->Script, window_);
    image_.reset();
    opened_->Script.Close();
    if (patches_) {
        WritePatchedRom(head);
    }
    if (expanded_) {
        expandedOutput_.reset();
        Under(ContextText::Expanded(head.ExpandedName), [&] { expanded_->Commit(); });
        expanded_.reset();
    }
    if (patched_) {
        Under(ContextText::PatchedAfterExpanded(head.ExpandedName, patchedName_),
              [&] { patched_->Commit(); });
        patched_.reset();
    }
    opened_.reset();
}

void ExpansionRun::WritePatchedRom(const ScriptHead& head) {
    // Both buttons' files from this one image: its CRC32 once, the header's bytes before it.
    PageBuffer expanded = kept_->TakeBytes();
    kept_.reset();
    const std::size_t headerSize = WantHeader ? static_cast<std::size_t>(head.HeaderSize) : 0;
    Crc32 image;
    image.Update(expanded.Bytes().subspan(headerSize));
    const std::span<const std::uint8_t> written = expanded.Bytes().first(headerSize);
    const std::optional<std::vector<std::uint8_t>> header =
        WantHeader ? std::vector<std::uint8_t>(written.begin(), written.end()) : HeaderBytes(head);
    const ButtonFiles files = FilesOfButtons(header, {expanded.Size() - headerSize, image.Value()});
    const HeaderChoice pressed =
        WantHeader ? HeaderChoice::AddOrReplace : HeaderChoice::IgnoreOrRemove;
    const std::string note = patches_->RequireFit(files, pressed);
    if (!note.empty()) {
        window_.SetStatus(note);
    }
    std::vector<std::string> inputs = patches_->Paths();
    inputs.insert(inputs.end(),
                  {head.OriginalPath, head.ExpandedPath, PathInFolder(folder_, kScriptName)});
    const std::string path =
        PatchedRomPath(patches_->LastPath(), head.ExpandedPath, extras_->PatchedOutput, inputs);
    const bool besideExpanded = !extras_->PatchedOutput || path != *extras_->PatchedOutput;
    patchedName_ = besideExpanded ? PatchName(path) : path;
    // The last patch writes into the patched ROM's own unfinished file as it goes.
    PatchedRomFileOutput output(patched_, path, std::move(inputs),
                                ContextText::Patched(patchedName_));
    patchedCrc32_ = patches_->Apply(std::move(expanded), files.Of(pressed)->Crc32, window_, output);
    output.Finish();
    // Both files are whole on the disk; what remains is to give them their names.
    window_.LetEventsRun();
}

void ExpansionRun::CheckMD5(const ScriptHead& head, bool originalHasHeader) {
    if (head.ExpectedMD5.empty()) {
        return;
    }
    const std::string actual = Under(ContextText::HeaderLine(), [&] {
        if (rehearsal_ != nullptr && rehearsal_->Checksums != nullptr) {
            return rehearsal_->Checksums->Digest(head.OriginalPath, originalHasHeader,
                                                 head.HeaderSize);
        }
        MD5 digest;
        return digest.DigestFileToHexStr(head.OriginalPath, originalHasHeader, head.HeaderSize);
    });
    if (actual == head.ExpectedMD5) {
        return;
    }
    window_.ShowMD5(actual);
    ShowErrorBox(RuleMessage::MD5Mismatch(), "", RuntimeError(ErrNone), window_);
    md5WarningShown_ = true;
}

RunResult ExpansionRun::FailureExit(RunFailure failure) noexcept {
    RunResult result{RunResult::Ending::EndedByError, 0, {}, md5WarningShown_};
    try {
        // Had the bytes been written one by one, a failing write would have come first, under
        // the line that made its byte: it takes precedence over whatever was found after it.
        if (image_) {
            if (std::optional<RuntimeError> writeError = image_->CloseForFailure()) {
                std::string context =
                    image_->FailedWriteContext().value_or(std::move(failure.Context));
                failure = RunFailure(std::move(*writeError), std::move(context));
            }
        }
    } catch (...) {
        // The write error could not be taken over; the failure itself is still reported.
    }
    // The folder is as it was by the time the box tells of the failure.
    image_.reset();
    kept_.reset();
    expandedOutput_.reset();
    expanded_.reset();
    patched_.reset();
    result.ErrorNumber = failure.Error.Number();
    result.BoxText = failureBox_.Show(failure, window_);
    try {
        window_.SetStatus("Ended due to Error");
    } catch (...) {
    }
    image_.reset();
    opened_.reset();
    return result;
}

} // namespace kelbrin
