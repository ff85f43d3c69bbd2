#include "ExpansionRun.h"

#include <utility>

#include "ContextTexts.h"
#include "FolderPaths.h"
#include "MD5.h"
#include "RuleMessages.h"
#include "ShowErrorBox.h"

namespace kelbrin {

ExpansionRun::ExpansionRun(HeaderChoice choice, std::string folder, RunWindow& window,
                           const Rehearsal* rehearsal)
    : WantHeader(choice == HeaderChoice::AddOrReplace), folder_(std::move(folder)), window_(window),
      rehearsal_(rehearsal) {}

RunResult ExpansionRun::Run() noexcept {
    try {
        RunSteps();
        window_.SetStatus("Expansion Done");
        return RunResult{RunResult::Ending::Done, 0, {}, md5WarningShown_};
    } catch (...) {
        return FailureExit(CaughtFailure());
    }
}

void ExpansionRun::RunSteps() {
    // No digest from an earlier run may stay on show.
    window_.HideMD5();
    const OpenedScript& opened = opened_.emplace(
        rehearsal_ != nullptr ? OpenScript(folder_, rehearsal_->Script, rehearsal_->Expanded)
                              : OpenScript(folder_, {}, ExpandedFileUse::Make, &expanded_));
    const ScriptHead& head = opened.Head;
    const bool originalHasHeader =
        Under(ContextText::HeaderLine(), [&] { return OriginalHasHeader(head); });
    CheckMD5(head, originalHasHeader);

    // Until the directives begin, a failure after the checksum warning is reported under the
    // warning's text, the box the user has just closed.
    const std::string context =
        md5WarningShown_ ? RuleMessage::MD5Mismatch() : ContextText::HeaderLine();
    Under(context, [&] {
        ImageWriter& image =
            rehearsal_ != nullptr
                ? image_.emplace(head, originalHasHeader, rehearsal_->Output, rehearsal_->Layout)
                : image_.emplace(head, originalHasHeader, expandedOutput_.emplace(*expanded_));
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
    if (expanded_) {
        expandedOutput_.reset();
        Under(ContextText::Expanded(head.ExpandedName), [&] { expanded_->Commit(); });
        expanded_.reset();
    }
    opened_.reset();
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
    expandedOutput_.reset();
    expanded_.reset();
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
