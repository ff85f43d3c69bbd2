#include "frmKelbrin.h"

#include <utility>

#include "Expand.h"
#include "FileLength.h"
#include "FolderNames.h"
#include "FolderPaths.h"
#include "OriginalIdentity.h"
#include "ScriptHead.h"

namespace kelbrin {

namespace {

bool HoldsScript(const std::string& folder) {
    return !folder.empty() && FileLength64(PathInFolder(folder, kScriptName)) >= 0;
}

// A path a person named that names nothing: said in a box rather than taken for its parent.
void ReportMissing(KelbrinWindowPort& window, const std::string& path) {
    window.ShowMessageBox("Folder or file not found:\r\n" + path, "Kelbrin", MessageBoxIcon::Stop);
}

} // namespace

frmKelbrin::frmKelbrin(KelbrinWindowPort& window, const std::string& programDirectory,
                       std::optional<std::string> startPath)
    : window_(window), programDirectory_(FolderPath(programDirectory)),
      portable_(HoldsScript(programDirectory_)), startPath_(std::move(startPath)) {}

void frmKelbrin::Form_Load() {
    if (portable_) {
        window_.KeepNoSettings();
    }
    if (startPath_) {
        ShowFolder();
        TakeFolderOf(*startPath_, false);
    } else if (portable_) {
        UseFolder(programDirectory_, false);
    } else if (const std::optional<std::string> remembered = window_.RememberedFolder()) {
        // Gone since, or not a folder: as if none had been kept.
        UseFolder(ExistingFolderOf(*remembered).value_or(""), false);
    } else {
        ShowFolder();
    }
}

RunResult frmKelbrin::Expand(std::int16_t Index) {
    // The control array's index as the run takes it: 0 asks for the header, any other for none.
    return kelbrin::Expand(Index == 0 ? HeaderChoice::Add : HeaderChoice::Remove, folder_, window_);
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
    EnableFolderItems(false);
    lastRun_ = Expand(Index);
    window_.RunEnded();
    EnableFolderItems(true);
    EnableExpandControls(true);
    running_ = false;
    // The button lost the focus when it was locked; a keyboard user carries on from it.
    window_.GiveFocus(form::ExpandButton(Index));
}

void frmKelbrin::mnuFile_Expand_Click(std::int16_t Index) {
    cmdExpand_Click(Index);
}

void frmKelbrin::EnableExpandControls(bool Enable) {
    for (std::int16_t i = 0; i < 2; ++i) {
        window_.SetEnabled(form::ExpandMenuItem(i), Enable);
        window_.SetEnabled(form::ExpandButton(i), Enable);
    }
}

void frmKelbrin::EnableFolderItems(bool enable) {
    window_.SetEnabled(form::MenuId::mnuFile_Folder, enable);
    window_.SetEnabled(form::MenuId::mnuFile_Info, enable);
}

void frmKelbrin::mnuFile_Folder_Click() {
    if (running_) {
        return;
    }
    if (const std::optional<std::string> chosen =
            window_.ChooseFolder(folder_.empty() ? programDirectory_ : folder_)) {
        TakeFolderOf(*chosen, true);
    }
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
    const IdentityResult result = IdentifyOriginal(folder_, window_);
    if (result.Identity) {
        window_.ShowInfoWindow(IdentityReport(*result.Identity));
    }
}

void frmKelbrin::Form_DragDrop(const std::string& path) {
    if (!running_) {
        TakeFolderOf(path, true);
    }
}

void frmKelbrin::TakeFolderOf(const std::string& path, bool remember) {
    if (const std::optional<std::string> folder = ExistingFolderOf(path)) {
        UseFolder(*folder, remember);
    } else {
        ReportMissing(window_, path);
    }
}

void frmKelbrin::UseFolder(const std::string& folder, bool remember) {
    // The MD5 row tells of a run in the folder the buttons acted on before.
    if (folder != folder_) {
        window_.HideMD5();
    }
    folder_ = folder;
    // A portable copy writes nothing outside its folder, and a folder without a script is
    // nothing to come back to.
    if (remember && !portable_ && HoldsScript(folder_)) {
        window_.RememberFolder(folder_);
    }
    ShowFolder();
}

void frmKelbrin::ShowFolder() {
    window_.ShowFolder(folder_, folder_.empty() || folder_ == programDirectory_
                                    ? std::string()
                                    : FolderName(folder_));
    if (folder_.empty()) {
        window_.SetStatus("Choose the folder with Kelbrin.txt");
    } else if (!HoldsScript(folder_)) {
        window_.SetStatus("No Kelbrin.txt in this folder");
    } else {
        window_.SetStatus("");
    }
}

void frmKelbrin::mnuFile_Exit_Click() {
    if (running_) {
        // The run is abandoned where it stands. It lets events through only between directive
        // lines, when every byte it wrote has reached the file.
        window_.EndProgram();
        return;
    }
    window_.Quit();
}

void frmKelbrin::mnuHelp_HowTo_Click() {
    window_.ShowHowToWindow();
}

void frmKelbrin::mnuHelp_About_Click() {
    window_.ShowAboutBox(form::AboutText(window_.Caption(form::ControlId::lblTitle0),
                                         window_.Caption(form::ControlId::lblTitle1)));
}

bool frmKelbrin::QueryClose() {
    if (running_) {
        window_.EndProgram();
    }
    return true;
}

} // namespace kelbrin
