#include "frmApplyPatch.h"

#include <optional>
#include <utility>

#include "BoxRunWindow.h"
#include "Crc32.h"
#include "FailureBox.h"
#include "FileHandle.h"
#include "FolderPatches.h"
#include "FolderPaths.h"
#include "PatchedRomFile.h"
#include "RunFailure.h"
#include "TypedText.h"

namespace kelbrin {

using namespace form::frmApplyPatch;

namespace {

const std::string kTitle = "Apply Patch";

std::string WithoutAccessKey(std::string_view caption) {
    std::string text(caption);
    std::erase(text, '&');
    return text;
}

} // namespace

frmApplyPatch::frmApplyPatch(Desktop& desktop, std::string startFolder, FormPort& owner,
                             const std::string& patch)
    : desktop_(desktop), startFolder_(std::move(startFolder)),
      port_(desktop.OpenForm(form::ApplyPatchForm(), *this, &owner)) {
    port_->SetText(txtPatch, patch);
    port_->TakeDrops(true);
}

std::string frmApplyPatch::PathIn(form::ControlId box) const {
    return TypedPath(port_->Text(box));
}

std::string frmApplyPatch::DefaultOutput() const {
    const std::string patch = PathIn(txtPatch);
    const std::string rom = PathIn(txtRom);
    return patch.empty() || rom.empty() ? std::string() : DefaultPatchedPath(patch, rom);
}

void frmApplyPatch::Take(form::ControlId box, const std::string& path) {
    const std::string output = PathIn(txtOutput);
    const bool followed = output.empty() || output == shownDefault_;
    port_->SetText(box, path);
    if (followed) {
        shownDefault_ = DefaultOutput();
        port_->SetText(txtOutput, shownDefault_);
    }
}

void frmApplyPatch::cmdPatch_Click() {
    const std::string patch = PathIn(txtPatch);
    if (const std::optional<std::string> chosen = desktop_.ChooseFile(
            *port_, "Choose the patch", patch.empty() ? startFolder_ : FolderOfFile(patch))) {
        Take(txtPatch, *chosen);
    }
}

void frmApplyPatch::cmdRom_Click() {
    const std::string rom = PathIn(txtRom);
    const std::string patch = PathIn(txtPatch);
    // The ROM often lies beside the patch.
    const std::string start = !rom.empty()     ? FolderOfFile(rom)
                              : !patch.empty() ? FolderOfFile(patch)
                                               : startFolder_;
    if (const std::optional<std::string> chosen =
            desktop_.ChooseFile(*port_, "Choose the ROM to patch", start)) {
        Take(txtRom, *chosen);
    }
}

void frmApplyPatch::cmdOutput_Click() {
    std::string output = PathIn(txtOutput);
    if (output.empty()) {
        output = DefaultOutput();
    }
    // The name stays; only its folder is chosen.
    const std::string name = FileNameOf(output);
    if (name.empty()) {
        Complain("Choose the patch and the ROM first: the patched ROM is named after them.");
        return;
    }
    const std::optional<std::string> folder = desktop_.ChooseFolder(*port_, FolderOfFile(output));
    if (!folder) {
        return;
    }
    port_->SetText(txtOutput, JoinedPath(*folder, name));
}

void frmApplyPatch::cmdApply_Click() {
    const std::string patch = PathIn(txtPatch);
    const std::string rom = PathIn(txtRom);
    if (patch.empty() || rom.empty()) {
        Complain(patch.empty() ? "Choose the patch first." : "Choose the ROM to patch first.");
        port_->SetFocus(patch.empty() ? txtPatch : txtRom);
        return;
    }
    std::string output = PathIn(txtOutput);
    // A default shown for the files chosen before still follows the names typed since.
    if (output.empty() || output == shownDefault_) {
        output = DefaultOutput();
        shownDefault_ = output;
        port_->SetText(txtOutput, output);
    }
    BoxRunWindow window(*port_, desktop_, lblStatus);
    window.SetStatus("Patching...");
    try {
        const PatchedRom written =
            WritePatchedRom({.Patch = patch,
                             .Rom = rom,
                             .Output = output,
                             .ReplaceExisting = replace_,
                             .HowToReplace = "choose \"" + WithoutAccessKey(form::kReplaceCaption) +
                                             "\" to replace it"});
        window.SetStatus("Patched ROM written: " + PathText(written.Path) + " (CRC32 " +
                         Crc32::Text(written.Crc32) + ")");
    } catch (const RunFailure& failure) {
        FailureBox().Show(failure, window);
        window.SetStatus("Ended due to Error");
    }
}

void frmApplyPatch::Form_DragDrop(const std::string& path) {
    if (IsExistingFolder(path) || !ExistingFileKey(path)) {
        Complain("Drop a patch or a ROM file here; this is none:\r\n" + PathText(path));
        return;
    }
    Take(IsPatchFile(path) ? txtPatch : txtRom, path);
}

void frmApplyPatch::Complain(const std::string& message) {
    desktop_.ShowMessageBox(*port_, message, kTitle, MessageBoxIcon::Stop);
}

void frmApplyPatch::Click(form::ControlId control) {
    switch (control.As<ControlName>()) {
    case cmdPatch: cmdPatch_Click(); break;
    case cmdRom: cmdRom_Click(); break;
    case cmdOutput: cmdOutput_Click(); break;
    case optKeep: optKeep_Click(); break;
    case optReplace: optReplace_Click(); break;
    case cmdApply: cmdApply_Click(); break;
    case cmdClose: cmdClose_Click(); break;
    default: break;
    }
}

} // namespace kelbrin
