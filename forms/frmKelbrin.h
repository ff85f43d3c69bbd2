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
};

// The main window's behaviour, the same under every toolkit: which run a button or menu item
// starts, the four expand controls locked while it runs, Exit, Help and About. The toolkit's
// window draws KelbrinForm() and calls these handlers.
class frmKelbrin {
public:
    // `programDirectory` is where a run finds Kelbrin.txt and the ROM files, as the system
    // names it.
    frmKelbrin(KelbrinWindowPort& window, std::string programDirectory);

    // One expansion run: 0 adds or replaces the header, any other index leaves it out.
    RunResult Expand(std::int16_t Index);

    void cmdExpand_Click(std::int16_t Index);
    void mnuFile_Expand_Click(std::int16_t Index);
    void mnuFile_Exit_Click();
    void mnuHelp_HowTo_Click();
    void mnuHelp_About_Click();
    // The window's close box: during a run it ends the program as Exit does. Returns whether
    // the window may close.
    bool QueryClose();

    bool IsRunning() const noexcept { return running_; }
    // How the last run ended, if there was one.
    const std::optional<RunResult>& LastRun() const noexcept { return lastRun_; }
    const std::string& ProgramDirectory() const noexcept { return programDirectory_; }

private:
    void EnableExpandControls(bool Enable);

    KelbrinWindowPort& window_;
    std::string programDirectory_;
    bool running_ = false;
    std::optional<RunResult> lastRun_;
};

} // namespace kelbrin
