#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "FormWindow.h"
#include "Win32HowToWindow.h"
#include "frmKelbrin.h"

namespace kelbrin {

// The main window on Win32: two buttons and two File menu items start an expansion run, the
// status line and the MD5 row follow it, and the Help menu opens the help window and the About
// box. What it does is frmKelbrin's; this class only draws and reports.
class Win32KelbrinWindow : public win32::FormWindow, public KelbrinWindowPort {
public:
    // `programDirectory` is the folder that holds the program and `startPath` the folder or file
    // given on the command line, in the ANSI code page (see frmKelbrin).
    explicit Win32KelbrinWindow(std::string programDirectory,
                                std::optional<std::string> startPath = std::nullopt);
    ~Win32KelbrinWindow() override;

    // How the last run ended, if there was one.
    const std::optional<RunResult>& LastRun() const noexcept { return handlers_.LastRun(); }
    // The window's handlers, as a click or a drop would call them.
    frmKelbrin& Form() noexcept { return handlers_; }

    // Ends the process at once: Exit, or closing the window, while a run is under way. Tests
    // replace it.
    std::function<void()> EndProcess;

    void SetStatus(const std::string& text) override;
    void ShowMD5(const std::string& digest) override;
    void HideMD5() override;
    void LetEventsRun() override;
    void ShowMessageBox(const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override;

    void SetEnabled(form::ControlId control, bool enabled) override;
    void SetEnabled(form::MenuId item, bool enabled) override;
    void GiveFocus(form::ControlId control) override;
    std::string Caption(form::ControlId control) const override;
    void ShowAboutBox(const std::string& text) override;
    void ShowHowToWindow() override;
    void Quit() override;
    void EndProgram() override;
    void RunEnded() override;
    std::optional<std::string> ChooseFolder(const std::string& start) override;
    void ShowFolder(const std::string& path, const std::string& name) override;
    void ShowInfoWindow(const std::string& report) override;
    std::optional<std::string> RememberedFolder() override;
    void RememberFolder(const std::string& folder) override;
    // The system's folder dialog keeps no settings of the program's.
    void KeepNoSettings() override {}

private:
    bool TranslateOwnKeys(MSG& message) override;
    void OnCommand(int id) override;
    bool OnClose() override;
    void OnDropFiles(HDROP drop) override;
    void ShowStatusNow();

    frmKelbrin handlers_;
    HACCEL accelerators_ = nullptr;
    // Shows the folder the buttons act on over the status line.
    HWND folderTip_ = nullptr;
    std::unique_ptr<Win32HowToWindow> howTo_;
    // The status line's text is always this; during a run the control shows it at most once a
    // screen refresh, when the run lets events through.
    std::string status_;
    bool statusPending_ = false;
    std::chrono::steady_clock::time_point lastEvents_{};
};

} // namespace kelbrin
