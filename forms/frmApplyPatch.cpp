#include "frmApplyPatch.h"

#include <optional>
#include <utility>

#include "Crc32.h"
#include "FailureBox.h"
#include "FileHandle.h"
#include "FolderPatches.h"
#include "FolderPaths.h"
#include "PatchedRomFile.h"
#include "RunFailure.h"
#include "RunWindow.h"

namespace kelbrin {

using namespace form::frmApplyPatch;

namespace {

const std::string kTitle = "Apply Patch";

std::string_view WithoutBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";
#else
constexpr std::string_view kSeparators = "/";
#endif

std::string WithoutAccessKey(std::string_view caption) {
    std::string text(caption);
    std::erase(text, '&');
    return text;
}

// The last part of a path: the file's name.
std::string FileNameOf(const std::string& path) {
    return path.substr(path.find_last_of(kSeparators) + 1); // the whole path without a separator
}

// The box's status line and its boxes, for the failure exit the command line has too.
class ApplyPatchWindow final : public RunWindow {
public:
    ApplyPatchWindow(FormPort& port, Desktop& desktop) : port_(port), desktop_(desktop) {}
    void SetStatus(const std::string& text) override { port_.Announce(lblStatus, text); }
    void ShowMD5(const std::string& /*digest*/) override {}
    void HideMD5() override {}
    void LetEventsRun() override { desktop_.LetEventsRun(); }
    void ShowMessageBox(const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override {
        desktop_.ShowMessageBox(port_, message, title, icon);
    }

private:
    FormPort& port_;
    Desktop& desktop_;
};

} // namespace

frmApplyPatch::frmApplyPatch(Desktop& desktop, std::string startFolder, FormPort& owner,
                             const std::string& patch)
    : desktop_(desktop), startFolder_(std::move(startFolder)),
      port_(desktop.OpenForm(form::ApplyPatchForm(), *this, &owner)) {
    port_->SetText(txtPatch, patch);
    port_->TakeDrops(true);
}

std::string frmApplyPatch::PathIn(form::ControlId box) const {
    const std::string text = port_->Text(box);
    std::string_view path = WithoutBlanks(text);
    // Windows' "Copy as path" puts the path in quotes.
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    return std::string(path);
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
    ApplyPatchWindow window(*port_, desktop_);
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
