#include "frmKelbrin.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "Expand.h"
#include "FileHandle.h"
#include "FileLength.h"
#include "FolderNames.h"
#include "FolderPatches.h"
#include "FolderPaths.h"
#include "OriginalIdentity.h"
#include "OriginalSearch.h"
#include "PacedRunWindow.h"
#include "PatchFit.h"
#include "RomInformation.h"
#include "ScriptHead.h"
#include "TypedText.h"
#include "UnfinishedFiles.h"
#include "frmApplyPatch.h"
#include "frmCheck.h"
#include "frmInfo.h"
#include "frmMakePatch.h"
#include "frmMakeScript.h"

namespace kelbrin {

using namespace form::frmKelbrin;

namespace {

bool HoldsScript(const std::string& folder) {
    return !folder.empty() && FileLength64(PathInFolder(folder, kScriptName)) >= 0;
}

// The control array's index as the run takes it: 0 asks for the header, any other for none.
HeaderChoice HeaderOf(std::int16_t Index) {
    return Index == 0 ? HeaderChoice::AddOrReplace : HeaderChoice::IgnoreOrRemove;
}

// The patch line's second line: which button writes the ROM the patch was made for, in a few
// words; the run's box says the rest.
std::string FitLine(const PatchFitting& fit) {
    for (const HeaderChoice button : {HeaderChoice::AddOrReplace, HeaderChoice::IgnoreOrRemove}) {
        if ((button == HeaderChoice::AddOrReplace ? fit.AddOrReplace : fit.IgnoreOrRemove).Fit ==
            ButtonFit::Fits) {
            return "Fits: " + std::string(ButtonCaption(button));
        }
    }
    const ButtonFit fits[] = {fit.AddOrReplace.Fit, fit.IgnoreOrRemove.Fit};
    if (std::ranges::find(fits, ButtonFit::AlreadyPatched) != std::end(fits)) {
        return "The expanded ROM is patched already";
    }
    if (std::ranges::find(fits, ButtonFit::CannotTell) != std::end(fits)) {
        return "No checksum in the patch: its author says which button";
    }
    if (std::ranges::find(fits, ButtonFit::DoesNotFit) != std::end(fits)) {
        return "Fits neither button: made for another ROM";
    }
    return {};
}

} // namespace

frmKelbrin::frmKelbrin(Desktop& desktop, const std::string& programDirectory,
                       std::optional<std::string> startPath)
    : desktop_(desktop), programDirectory_(FolderPath(programDirectory)),
      portable_(HoldsScript(programDirectory_)), startPath_(std::move(startPath)),
      port_(desktop.OpenForm(form::KelbrinForm(), *this, nullptr)) {}

// The help window goes before the main window, as Exit closes them.
frmKelbrin::~frmKelbrin() = default;

void frmKelbrin::Show() {
    port_->Show();
    Form_Load();
}

void frmKelbrin::Form_Load() {
    ChoosePatch({});
    port_->TakeDrops(true);
    if (portable_) {
        desktop_.KeepNoSettings();
    }
    if (startPath_) {
        ShowFolder();
        TakeFolderOf(*startPath_, false);
    } else if (portable_) {
        UseFolder(programDirectory_, false);
    } else if (const std::optional<std::string> remembered = desktop_.RememberedFolder()) {
        // Gone since, or not a folder: as if none had been kept.
        UseFolder(ExistingFolderOf(*remembered).value_or(""), false);
    } else {
        ShowFolder();
    }
}

RunExtras frmKelbrin::Extras(const std::optional<std::string>& original) const {
    RunExtras extras;
    if (!patch_.empty()) {
        extras.Patches = {patch_};
    }
    extras.Original = original;
    return extras;
}

RunResult frmKelbrin::Expand(std::int16_t Index, const std::optional<std::string>& original) {
    PacedRunWindow window(*port_, desktop_);
    const RunExtras extras = Extras(original);
    if (!extras.Any()) {
        return kelbrin::Expand(HeaderOf(Index), folder_, window);
    }
    return kelbrin::Expand(HeaderOf(Index), folder_, window, extras);
}

std::optional<std::string> frmKelbrin::OriginalUnderAnotherName() {
    if (!lastRun_ || lastRun_->ErrorNumber != ErrFileNotFound) {
        return std::nullopt;
    }
    const std::vector<std::string> names = OriginalsUnderOtherNames(folder_);
    if (names.size() != 1) {
        return std::nullopt;
    }
    const bool use = desktop_.AskYesNo(
        *port_,
        "'" + names.front() +
            "' in this folder fits the script: it may be the original under another name.\r\n\r\n"
            "Expand it for this run? It is only read, and keeps its name.",
        "Kelbrin");
    return use ? std::optional<std::string>(JoinedPath(folder_, names.front())) : std::nullopt;
}

void frmKelbrin::cmdExpand_Click(std::int16_t Index) {
    // The controls are locked, but a click queued before that could still arrive.
    if (running_) {
        return;
    }
    if (!HaveFolder()) {
        return;
    }
    running_ = true;
    EnableExpandControls(false);
    EnableFolderChoice(false);
    lastRun_ = Expand(Index);
    // The box has said that the original is missing; a file that fits the script may be it.
    if (const std::optional<std::string> original = OriginalUnderAnotherName()) {
        lastRun_ = Expand(Index, original);
    }
    EnableFolderChoice(true);
    EnableExpandControls(true);
    running_ = false;
    // The button lost the focus when it was locked; a keyboard user carries on from it.
    port_->SetFocus(cmdExpand(Index));
}

void frmKelbrin::mnuFile_Expand_Click(std::int16_t Index) {
    cmdExpand_Click(Index);
}

void frmKelbrin::EnableExpandControls(bool Enable) {
    for (std::int16_t i = 0; i < 2; ++i) {
        port_->SetEnabled(mnuFile_Expand(i), Enable);
        port_->SetEnabled(cmdExpand(i), Enable);
    }
}

void frmKelbrin::EnableFolderChoice(bool enable) {
    port_->SetEnabled(mnuFile_Folder, enable);
    port_->SetEnabled(mnuFile_Info, enable);
    port_->SetEnabled(mnuFile_ApplyPatch, enable);
    port_->SetEnabled(mnuFile_Check, enable);
    port_->SetEnabled(mnuFile_MakeScript, enable);
    port_->SetEnabled(mnuFile_MakePatch, enable);
    port_->SetEnabled(cmdPatch, enable);
    port_->SetEnabled(cmdNoPatch, enable && !patch_.empty());
    port_->TakeDrops(enable);
}

void frmKelbrin::mnuFile_Folder_Click() {
    if (running_) {
        return;
    }
    if (const std::optional<std::string> chosen = desktop_.ChooseFolder(*port_, DialogStart())) {
        TakeFolderOf(*chosen, true);
    }
}

std::string frmKelbrin::DialogStart() {
    if (!folder_.empty()) {
        return folder_;
    }
    // Not the program's folder: an installed copy's is no place for a game (/usr/bin).
    if (!portable_) {
        if (const std::optional<std::string> remembered = desktop_.RememberedFolder()) {
            if (std::optional<std::string> folder = ExistingFolderOf(*remembered)) {
                return *std::move(folder);
            }
        }
    }
    return HomeFolder();
}

bool frmKelbrin::HaveFolder() {
    // A press where there is no script asks for a folder rather than failing on the script it
    // cannot find.
    if (!HoldsScript(folder_)) {
        mnuFile_Folder_Click();
    }
    return HoldsScript(folder_);
}

void frmKelbrin::mnuFile_Info_Click() {
    if (running_ || !HaveFolder()) {
        return;
    }
    // A length that fits neither size is no failure of the look: the box's verdict says it in
    // a player's words, over the digests that tell which ROM it is.
    std::optional<OriginalIdentity> identity;
    {
        PacedRunWindow window(*port_, desktop_);
        identity = IdentifyOriginal(folder_, window, WrongLength::LeaveToReport).Identity;
    }
    if (identity) {
        frmInfo(desktop_, RomInformation(*identity), *port_).ShowModal();
    }
}

void frmKelbrin::mnuFile_ApplyPatch_Click() {
    if (running_) {
        return;
    }
    frmApplyPatch(desktop_, folder_.empty() ? programDirectory_ : folder_, *port_, patch_)
        .ShowModal();
}

void frmKelbrin::mnuFile_Check_Click() {
    if (running_ || !HaveFolder()) {
        return;
    }
    frmCheck(desktop_, folder_, *port_).ShowModal();
}

void frmKelbrin::mnuFile_MakeScript_Click() {
    if (running_) {
        return;
    }
    frmMakeScript maker(desktop_, folder_.empty() ? programDirectory_ : folder_, *port_,
                        makeScriptFields_);
    maker.ShowModal();
    if (maker.ScriptFolder()) {
        frmCheck(desktop_, *maker.ScriptFolder(), *port_).ShowModal();
    }
}

void frmKelbrin::mnuFile_MakePatch_Click() {
    if (running_) {
        return;
    }
    frmMakePatch(desktop_, folder_.empty() ? programDirectory_ : folder_, *port_).ShowModal();
}

void frmKelbrin::Form_DragDrop(const std::string& path) {
    if (running_) {
        return;
    }
    if (!IsExistingFolder(path) && ExistingFileKey(path) && IsPatchFile(path)) {
        // A patch from elsewhere (a download folder) leaves the game's folder as it is.
        const std::optional<std::string> folder = ExistingFolderOf(path);
        if (folder && HoldsScript(*folder)) {
            UseFolder(*folder, true);
        }
        ChoosePatch(path);
        return;
    }
    TakeFolderOf(path, true);
}

void frmKelbrin::cmdPatch_Click() {
    if (running_) {
        return;
    }
    const std::string start = !patch_.empty() ? FolderOfFile(patch_) : DialogStart();
    if (std::optional<std::string> chosen =
            desktop_.ChooseFile(*port_, "Choose the patch to apply after expanding", start)) {
        ChoosePatch(*std::move(chosen));
    }
}

void frmKelbrin::cmdNoPatch_Click() {
    if (!running_) {
        ChoosePatch("");
    }
}

void frmKelbrin::FindPatch() {
    const std::vector<std::string> patches =
        folder_.empty() ? std::vector<std::string>() : PatchesInFolder(folder_);
    patchesFound_ = patches.size();
    if (patches.size() <= 1) {
        ChoosePatch(patches.empty() ? std::string() : patches.front());
        return;
    }
    // Of several, the one made for a ROM that a button writes, when only one is.
    std::vector<std::string> fitting;
    for (const std::string& patch : patches) {
        const PatchFitting fit = FitPatch(folder_, Extras({}), patch);
        if (fit.AddOrReplace.Fit == ButtonFit::Fits || fit.IgnoreOrRemove.Fit == ButtonFit::Fits) {
            fitting.push_back(patch);
        }
    }
    ChoosePatch(fitting.size() == 1 ? fitting.front() : std::string());
}

void frmKelbrin::ShowFit() {
    std::string line;
    if (!patch_.empty() && HoldsScript(folder_)) {
        const PatchFitting fit = FitPatch(folder_, Extras({}), patch_);
        line = FitLine(fit);
    }
    port_->SetCaption(lblFits, line);
}

void frmKelbrin::ChoosePatch(std::string patch) {
    patch_ = std::move(patch);
    std::string shown = "Patch: none";
    if (!patch_.empty()) {
        shown = "Patch: " + PathText(FileNameOf(patch_));
    } else if (patchesFound_ > 1) {
        shown += " (" + std::to_string(patchesFound_) + " here)";
    }
    port_->SetCaption(lblPatch, shown);
    port_->SetPathTip(lblPatch, patch_);
    port_->SetEnabled(cmdNoPatch, !patch_.empty());
    ShowFit();
}

void frmKelbrin::TakeFolderOf(const std::string& path, bool remember) {
    if (const std::optional<std::string> folder = ExistingFolderOf(path)) {
        UseFolder(*folder, remember);
    } else {
        // Said in a box rather than taken for its parent.
        desktop_.ShowMessageBox(*port_, "Folder or file not found:\r\n" + PathText(path), "Kelbrin",
                                MessageBoxIcon::Stop);
    }
}

void frmKelbrin::UseFolder(const std::string& folder, bool remember) {
    // The MD5 row tells of a run in the folder the buttons acted on before.
    if (folder != folder_) {
        port_->SetVisible(lblMD5, false);
        port_->SetVisible(txtMD5, false);
    }
    folder_ = folder;
    FindPatch();
    // A portable copy writes nothing outside its folder, and a folder without a script is
    // nothing to come back to.
    if (remember && !portable_ && HoldsScript(folder_)) {
        desktop_.RememberFolder(folder_);
    }
    ShowFolder();
}

void frmKelbrin::ShowFolder() {
    port_->SetTitleName(folder_.empty() || folder_ == programDirectory_ ? std::string()
                                                                        : FolderName(folder_));
    port_->SetPathTip(lblStatus, folder_);
    if (folder_.empty()) {
        SetStatus("Choose the folder with Kelbrin.txt");
    } else if (!HoldsScript(folder_)) {
        SetStatus("No Kelbrin.txt in this folder");
    } else {
        SetStatus("");
    }
}

void frmKelbrin::SetStatus(const std::string& text) {
    port_->SetCaption(lblStatus, text);
}

void frmKelbrin::mnuFile_Exit_Click() {
    if (running_) {
        LeaveDuringRun();
        return;
    }
    if (howTo_) {
        howTo_->Close();
    }
    port_->Close();
}

void frmKelbrin::mnuHelp_HowTo_Click() {
    if (!howTo_ || !howTo_->IsOpen()) {
        howTo_ = std::make_unique<frmHowTo>(desktop_);
    }
    howTo_->Show();
}

void frmKelbrin::mnuHelp_About_Click() {
    desktop_.ShowMessageBox(*port_,
                            form::AboutText(port_->Caption(lblTitle0), port_->Caption(lblTitle1)),
                            std::string(form::kAboutTitle), MessageBoxIcon::None);
}

bool frmKelbrin::QueryClose() {
    if (running_) {
        LeaveDuringRun();
    }
    return true;
}

void frmKelbrin::LeaveDuringRun() {
    // The run is abandoned where it stands, and its unfinished file with it: the folder is as it
    // was before the run.
    RemoveUnfinishedFiles();
    desktop_.EndProcess();
}

void frmKelbrin::Click(form::ControlId control) {
    for (std::int16_t i = 0; i < 2; ++i) {
        if (control == cmdExpand(i)) {
            cmdExpand_Click(i);
        }
    }
    if (control == cmdPatch) {
        cmdPatch_Click();
    } else if (control == cmdNoPatch) {
        cmdNoPatch_Click();
    }
}

void frmKelbrin::Choose(form::MenuId item) {
    for (std::int16_t i = 0; i < 2; ++i) {
        if (item == mnuFile_Expand(i)) {
            mnuFile_Expand_Click(i);
        }
    }
    switch (item.As<MenuName>()) {
    case mnuFile_Folder: mnuFile_Folder_Click(); break;
    case mnuFile_Info: mnuFile_Info_Click(); break;
    case mnuFile_ApplyPatch: mnuFile_ApplyPatch_Click(); break;
    case mnuFile_Check: mnuFile_Check_Click(); break;
    case mnuFile_MakeScript: mnuFile_MakeScript_Click(); break;
    case mnuFile_MakePatch: mnuFile_MakePatch_Click(); break;
    case mnuFile_Exit: mnuFile_Exit_Click(); break;
    case mnuHelp_HowTo: mnuHelp_HowTo_Click(); break;
    case mnuHelp_About: mnuHelp_About_Click(); break;
    default: break;
    }
}

} // namespace kelbrin
