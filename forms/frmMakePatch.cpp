#include "frmMakePatch.h"

#include <optional>
#include <utility>

#include "BoxRunWindow.h"
#include "FailureBox.h"
#include "FileHandle.h"
#include "FolderPaths.h"
#include "PacedRunWindow.h"
#include "RunFailure.h"
#include "TypedText.h"
#include "WrittenPatch.h"

namespace kelbrin {

using namespace form::frmMakePatch;

namespace {

const std::string kTitle = "Make Patch";

} // namespace

frmMakePatch::frmMakePatch(Desktop& desktop, std::string startFolder, FormPort& owner)
    : desktop_(desktop), startFolder_(std::move(startFolder)),
      port_(desktop.OpenForm(form::MakePatchForm(), *this, &owner)) {
    port_->TakeDrops(true);
}

std::string frmMakePatch::PathIn(form::ControlId box) const {
    return TypedPath(port_->Text(box));
}

std::string frmMakePatch::DefaultOutput() const {
    const std::string target = PathIn(txtTarget);
    return target.empty() ? std::string() : DefaultPatchPath(target, format_);
}

void frmMakePatch::FollowDefault(const std::string& before) {
    const std::string output = PathIn(txtOutput);
    if (output.empty() || output == before) {
        shownDefault_ = DefaultOutput();
        port_->SetText(txtOutput, shownDefault_);
    }
}

void frmMakePatch::Take(form::ControlId box, const std::string& path) {
    port_->SetText(box, path);
    FollowDefault(shownDefault_);
}

void frmMakePatch::cmdSource_Click() {
    const std::string source = PathIn(txtSource);
    if (const std::optional<std::string> chosen =
            desktop_.ChooseFile(*port_, "Choose the expanded ROM",
                                source.empty() ? startFolder_ : FolderOfFile(source))) {
        Take(txtSource, *chosen);
    }
}

void frmMakePatch::cmdTarget_Click() {
    const std::string target = PathIn(txtTarget);
    const std::string source = PathIn(txtSource);
    // The hacked ROM often lies beside the expanded one.
    const std::string start = !target.empty()   ? FolderOfFile(target)
                              : !source.empty() ? FolderOfFile(source)
                                                : startFolder_;
    if (const std::optional<std::string> chosen =
            desktop_.ChooseFile(*port_, "Choose the hacked ROM", start)) {
        Take(txtTarget, *chosen);
    }
}

void frmMakePatch::cmdOutput_Click() {
    std::string output = PathIn(txtOutput);
    if (output.empty()) {
        output = DefaultOutput();
    }
    // The name stays; only its folder is chosen.
    const std::string name = FileNameOf(output);
    if (name.empty()) {
        Complain("Choose the hacked ROM first: the patch is named after it.");
        return;
    }
    if (const std::optional<std::string> folder =
            desktop_.ChooseFolder(*port_, FolderOfFile(output))) {
        port_->SetText(txtOutput, JoinedPath(*folder, name));
    }
}

void frmMakePatch::optFormat_Click(PatchFormat format) {
    // The default shown is the one of the format chosen before.
    const std::string before = shownDefault_;
    format_ = format;
    port_->SetEnabled(txtMetadata, format == PatchFormat::Bps);
    FollowDefault(before);
}

void frmMakePatch::Lock(bool locked) {
    making_ = locked;
    for (const ControlName control : {txtSource, cmdSource, txtTarget, cmdTarget, optBps, optIps,
                                      optUps, txtOutput, cmdOutput, cmdMake, cmdClose}) {
        port_->SetEnabled(control, !locked);
    }
    port_->SetEnabled(txtMetadata, !locked && format_ == PatchFormat::Bps);
}

void frmMakePatch::ShowProgress(std::uint64_t done, std::uint64_t size) {
    const std::chrono::steady_clock::time_point now = desktop_.Now();
    // The check that follows the making takes a while of its own: it is always said.
    if (done < size && now - lastShown_ < kScreenRefresh) {
        return;
    }
    lastShown_ = now;
    port_->SetCaption(
        lblStatus, done >= size ? std::string("Checking the patch...")
                                : "Making the patch: " + std::to_string(done * 100 / size) + "%");
    desktop_.LetEventsRun();
}

void frmMakePatch::cmdMake_Click() {
    const std::string source = PathIn(txtSource);
    const std::string target = PathIn(txtTarget);
    if (source.empty() || target.empty()) {
        Complain(source.empty() ? "Choose the expanded ROM first."
                                : "Choose the hacked ROM first.");
        port_->SetFocus(source.empty() ? txtSource : txtTarget);
        return;
    }
    // A default shown for the files chosen before still follows the names typed since.
    FollowDefault(shownDefault_);
    const std::string output = PathIn(txtOutput);
    BoxRunWindow window(*port_, desktop_, lblStatus);
    window.SetStatus("Making the patch...");
    Lock(true);
    lastShown_ = desktop_.Now();
    desktop_.LetEventsRun();
    bool declined = false;
    try {
        const std::uint64_t size = WritePatch(
            {.Source = source,
             .Target = target,
             .Format = format_,
             .Metadata = format_ == PatchFormat::Bps ? port_->Text(txtMetadata) : std::string(),
             .Output = output,
             .MayReplace =
                 [&] {
                     declined = !desktop_.AskYesNo(*port_,
                                                   PathText(output) +
                                                       " exists already.\r\n\r\nReplace it "
                                                       "with the patch made from these two ROMs?",
                                                   kTitle);
                     return !declined;
                 },
             .HowToReplace = "answer Yes to replace it",
             .Progress = [this](std::uint64_t done,
                                std::uint64_t all) { ShowProgress(done, all); }});
        Lock(false);
        window.SetStatus("Patch written: " + PathText(output) + " (" + std::to_string(size) +
                         " bytes)");
    } catch (const RunFailure& failure) {
        Lock(false);
        // The author kept the file there: nothing went wrong.
        if (declined) {
            window.SetStatus("Nothing written: " + PathText(output) + " is kept.");
            return;
        }
        FailureBox().Show(failure, window);
        window.SetStatus("Ended due to Error");
    }
}

void frmMakePatch::Form_DragDrop(const std::string& path) {
    if (IsExistingFolder(path) || !ExistingFileKey(path)) {
        Complain("Drop a ROM file here; this is none:\r\n" + PathText(path));
        return;
    }
    Take(PathIn(txtSource).empty() ? txtSource : txtTarget, path);
}

void frmMakePatch::DragDrop(const std::string& path) {
    if (!making_) {
        Form_DragDrop(path);
    }
}

void frmMakePatch::Complain(const std::string& message) {
    desktop_.ShowMessageBox(*port_, message, kTitle, MessageBoxIcon::Stop);
}

void frmMakePatch::Click(form::ControlId control) {
    if (making_) {
        return;
    }
    switch (control.As<ControlName>()) {
    case cmdSource: cmdSource_Click(); break;
    case cmdTarget: cmdTarget_Click(); break;
    case cmdOutput: cmdOutput_Click(); break;
    case optBps: optFormat_Click(PatchFormat::Bps); break;
    case optIps: optFormat_Click(PatchFormat::Ips); break;
    case optUps: optFormat_Click(PatchFormat::Ups); break;
    case cmdMake: cmdMake_Click(); break;
    case cmdClose: cmdClose_Click(); break;
    default: break;
    }
}

} // namespace kelbrin
