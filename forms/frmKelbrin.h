#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "FormDescription.h"
#include "RunResult.h"
#include "RunWindow.h"

namespace kelbrin {

// What the main window's handlers need of a toolkit's window, besides what a run needs of it.
class KelbrinWindowPort : public RunWindow {
public:
    virtual void SetEnabled(form::ControlId control, bool enabled) = 0;
    virtual void SetEnabled(form::MenuId item, bool enabled) = 0;
    virtual void GiveFocus(form::ControlId control) = 0;
    // The caption a control shows now.
    virtual std::string Caption(form::ControlId control) const = 0;
    // A modal box with the title "About Kelbrin", a single OK button and no icon.
    virtual void ShowAboutBox(const std::string& text) = 0;
    // Shows the one help window: creates it on its first page, or brings it forward unchanged.
    virtual void ShowHowToWindow() = 0;
    // Closes every window of the program, which then ends.
    virtual void Quit() = 0;
    // Ends the process where it stands, for leaving during a run.
    virtual void EndProgram() = 0;
    // A run has ended: a window that held back painting while it ran shows everything now.
    virtual void RunEnded() {}

    // The system's folder dialog, opening at `start`; nothing when the user cancels it.
    virtual std::optional<std::string> ChooseFolder(const std::string& start) = 0;
    // Lets the user see which folder the buttons act on: its whole path as the status line's
    // tooltip and `name` in the window's title ("Kelbrin – name"). Both are empty while there
    // is none; the name is also empty for the program's own folder.
    virtual void ShowFolder(const std::string& path, const std::string& name) = 0;
    // The box of frmInfo over the window, showing `report`; returns once it is closed.
    virtual void ShowInfoWindow(const std::string& report) = 0;
    // The folder chosen last time, from the user's settings, and keeping a new one there.
    virtual std::optional<std::string> RememberedFolder() = 0;
    virtual void RememberFolder(const std::string& folder) = 0;
    // A portable copy writes nothing outside its folder: nor may the toolkit keep its own
    // settings (a dialog's history) for it.
    virtual void KeepNoSettings() = 0;
};

// The main window's behaviour, the same under every toolkit: which folder the buttons act on,
// which run a button or menu item starts, the four expand controls locked while it runs, Exit,
// Help and About. The toolkit's window draws KelbrinForm() and calls these handlers.
class frmKelbrin {
public:
    // `programDirectory` is the folder that holds the program, as the system names it. The
    // buttons act on `startPath` when it is given (a folder, or a file in it, as the system
    // names it): a person who names a folder means it, also to a portable copy. Without one
    // they act on the program's folder when it holds a Kelbrin.txt (a portable copy, which
    // keeps no settings), else on the folder chosen last time, else on none until the user
    // chooses one. A start path that names nothing is reported, and chooses nothing.
    frmKelbrin(KelbrinWindowPort& window, const std::string& programDirectory,
               std::optional<std::string> startPath = std::nullopt);

    // Called once the window is up: shows the folder, or asks for one.
    void Form_Load();

    // One expansion run: 0 adds or replaces the header, any other index leaves it out.
    RunResult Expand(std::int16_t Index);

    void cmdExpand_Click(std::int16_t Index);
    void mnuFile_Expand_Click(std::int16_t Index);
    void mnuFile_Folder_Click();
    // What can be told about the original: its header and digests, in a box; a script or an
    // original that fails a check is reported as a run reports it. It writes nothing.
    void mnuFile_Info_Click();
    void mnuFile_Exit_Click();
    void mnuHelp_HowTo_Click();
    void mnuHelp_About_Click();
    // A folder, or any file in one, dropped on the window: the buttons act on that folder. A
    // name that names nothing (one the toolkit could not hand on unchanged) is refused with a
    // box, and so is any drop during a run.
    void Form_DragDrop(const std::string& path);
    // The window's close box: during a run it ends the program as Exit does. Returns whether
    // the window may close.
    bool QueryClose();

    bool IsRunning() const noexcept { return running_; }
    // How the last run ended, if there was one.
    const std::optional<RunResult>& LastRun() const noexcept { return lastRun_; }
    // The folder the buttons act on; empty while there is none.
    const std::string& Folder() const noexcept { return folder_; }

private:
    void EnableExpandControls(bool Enable);
    // The two File menu items that change or read the folder: a run keeps its folder to its end.
    void EnableFolderItems(bool enable);
    // A folder with a script for the buttons; asks for one when there is none. False when the
    // user gave none.
    bool HaveFolder();
    // The folder that a person named by `path`; a name that names nothing is reported instead.
    void TakeFolderOf(const std::string& path, bool remember);
    void UseFolder(const std::string& folder, bool remember);
    void ShowFolder();

    KelbrinWindowPort& window_;
    const std::string programDirectory_;
    // The program's own folder holds a script: it is the folder, and nothing is remembered.
    const bool portable_;
    std::optional<std::string> startPath_;
    std::string folder_;
    bool running_ = false;
    std::optional<RunResult> lastRun_;
};

} // namespace kelbrin
