#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Desktop.h"
#include "FormEvents.h"
#include "FormPort.h"
#include "KelbrinForm.h"
#include "RunExtras.h"
#include "RunResult.h"
#include "frmHowTo.h"
#include "frmMakeScript.h"

namespace kelbrin {

// The main window's behaviour, the same under every toolkit: which folder the buttons act on,
// which run a button or menu item starts, the controls locked while it runs, Exit, Help and
// About. Its window is KelbrinForm() drawn by the desktop's toolkit.
class frmKelbrin final : public FormEvents {
public:
    // `programDirectory` is the folder that holds the program, as the system names it. The
    // buttons act on `startPath` when it is given (a folder, or a file in it, as the system
    // names it): a person who names a folder means it, also to a portable copy. Without one
    // they act on the program's folder when it holds a Kelbrin.txt (a portable copy, which
    // keeps no settings), else on the folder chosen last time, else on none until the user
    // chooses one. A start path that names nothing is reported, and chooses nothing.
    frmKelbrin(Desktop& desktop, const std::string& programDirectory,
               std::optional<std::string> startPath = std::nullopt);
    ~frmKelbrin() override;
    frmKelbrin(const frmKelbrin&) = delete;
    frmKelbrin& operator=(const frmKelbrin&) = delete;

    // Shows the window, then the folder the buttons act on, or asks for one.
    void Show();

    // One expansion run: 0 adds or replaces the header, any other index leaves it out.
    RunResult Expand(std::int16_t Index, const std::optional<std::string>& original = {});

    void cmdExpand_Click(std::int16_t Index);
    void mnuFile_Expand_Click(std::int16_t Index);
    void mnuFile_Folder_Click();
    // What can be told about the original, in a box: whether it is the ROM the patch expects,
    // its header and digests, also when its length fits neither size. A script or an original
    // that fails any other check is reported as a run reports it. It writes nothing.
    void mnuFile_Info_Click();
    // A patch applied to any ROM, one that needs no expansion too, in a box (frmApplyPatch)
    // that starts with the patch the buttons would apply.
    void mnuFile_ApplyPatch_Click();
    // For a patch author: the check of the script the buttons would run, in a box (frmCheck).
    // Like ROM Information it asks for a folder when there is none, and writes nothing.
    void mnuFile_Check_Click();
    // For a patch author: a script made from two files, in a box (frmMakeScript), and then the
    // check of the script written.
    void mnuFile_MakeScript_Click();
    // For a patch author: a patch made from the expanded ROM to a hacked one, in a box
    // (frmMakePatch).
    void mnuFile_MakePatch_Click();
    // The patch the buttons apply after expanding: one chosen in the file dialog, or none.
    void cmdPatch_Click();
    void cmdNoPatch_Click();
    void mnuFile_Exit_Click();
    void mnuHelp_HowTo_Click();
    void mnuHelp_About_Click();
    // A folder, or any file in one, dropped on the window: the buttons act on that folder. A
    // patch file dropped is the patch they apply, and its folder theirs only when it holds a
    // script. A name that names nothing (one the toolkit could not hand on unchanged) is
    // refused with a box, and so is any drop during a run.
    void Form_DragDrop(const std::string& path);
    // The window's close box: during a run it ends the program as Exit does.
    bool QueryClose() override;

    // The window's buttons and menu items, by id.
    void Click(form::ControlId control) override;
    void Choose(form::MenuId item) override;
    void DragDrop(const std::string& path) override { Form_DragDrop(path); }

    // How the last run ended, if there was one.
    const std::optional<RunResult>& LastRun() const noexcept { return lastRun_; }
    // The folder the buttons act on; empty while there is none.
    const std::string& Folder() const noexcept { return folder_; }
    // The patch the buttons apply after expanding; empty for none.
    const std::string& Patch() const noexcept { return patch_; }

private:
    void Form_Load();
    // Exit or the close box while a run writes: the program ends at once.
    void LeaveDuringRun();
    void EnableExpandControls(bool Enable);
    // The File menu items that change or read the folder or open a box of their own, and
    // drops: a run keeps its folder to its end, and the window its one task.
    void EnableFolderChoice(bool enable);
    // A folder with a script for the buttons; asks for one when there is none. False when the
    // user gave none.
    bool HaveFolder();
    // Where the folder dialog opens: the folder the buttons act on, else the one remembered,
    // else the user's home.
    std::string DialogStart();
    // The folder that a person named by `path`; a name that names nothing is reported instead.
    void TakeFolderOf(const std::string& path, bool remember);
    void UseFolder(const std::string& folder, bool remember);
    void ShowFolder();
    // The patch of a folder the buttons have just taken: the only one it holds; none when it
    // holds several, until the player picks one.
    void FindPatch();
    void ChoosePatch(std::string patch);
    // Says under the patch line which button's ROM the chosen patch was made for.
    void ShowFit();
    RunExtras Extras(const std::optional<std::string>& original) const;
    // After a run that found no original: a file of the folder that fits the script, when the
    // player agrees to expand it this once.
    std::optional<std::string> OriginalUnderAnotherName();
    void SetStatus(const std::string& text);

    Desktop& desktop_;
    const std::string programDirectory_;
    // The program's own folder holds a script: it is the folder, and nothing is remembered.
    const bool portable_;
    const std::optional<std::string> startPath_;
    std::unique_ptr<FormPort> port_;
    std::unique_ptr<frmHowTo> howTo_;
    std::string folder_;
    std::string patch_;
    // How many patch files the folder held when the buttons took it.
    std::size_t patchesFound_ = 0;
    bool running_ = false;
    std::optional<RunResult> lastRun_;
    // The Make Script box's files and header sizes, from one showing to the next.
    MakeScriptFields makeScriptFields_;
};

} // namespace kelbrin
