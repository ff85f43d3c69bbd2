#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "FormDescription.h"
#include "FormEvents.h"
#include "FormPort.h"
#include "RunWindow.h"

namespace kelbrin {

// What the forms need of a toolkit besides the controls of their windows: windows for their
// descriptions, the folder and file dialogs, message boxes and questions, the clipboard, the
// user's settings, the event pump and the end of the process. One object per toolkit; the handlers
// reach the system only through it and through their ports.
class Desktop {
public:
    virtual ~Desktop() = default;

    // A window drawn from `description`, not shown yet, that reports to `events`. With an
    // `owner` it stays in front of that window (a box that ShowModal shows); without one it is
    // a top-level window of its own. The process ends when the last window has been closed.
    virtual std::unique_ptr<FormPort> OpenForm(const form::Form& description, FormEvents& events,
                                               FormPort* owner) = 0;
    // The system's folder dialog over `owner`, opening at `start`; the folder chosen, as the
    // system names it; nothing when the user cancels it.
    virtual std::optional<std::string> ChooseFolder(FormPort& owner, const std::string& start) = 0;
    // The system's dialog for opening a file over `owner`, titled `title`, opening in the
    // folder `start`; the existing file chosen, as the system names it; nothing when the user
    // cancels it.
    virtual std::optional<std::string> ChooseFile(FormPort& owner, const std::string& title,
                                                  const std::string& start) = 0;
    // A modal box over `owner` with a single OK button and the stop icon or none; returns once
    // it has been closed. It shows at most form::kLongestBoxText characters of the message.
    virtual void ShowMessageBox(FormPort& owner, const std::string& message,
                                const std::string& title, MessageBoxIcon icon) = 0;
    // A modal question over `owner` with the buttons Yes and No, No the default, so that Enter
    // alone never agrees to what cannot be undone; whether the user answered Yes.
    virtual bool AskYesNo(FormPort& owner, const std::string& question,
                          const std::string& title) = 0;
    // Text lines end in LF.
    virtual void CopyToClipboard(const std::string& text) = 0;
    // The folder chosen last time, from the user's settings, and keeping one for next time.
    virtual std::optional<std::string> RememberedFolder() = 0;
    virtual void RememberFolder(const std::string& folder) = 0;
    // For a portable copy, which writes nothing outside its folder: the toolkit keeps none of
    // its own settings either (a dialog's history).
    virtual void KeepNoSettings() = 0;
    // Handles the window events that are waiting, and returns without waiting for more.
    virtual void LetEventsRun() = 0;
    // Ends the process where it stands.
    virtual void EndProcess() = 0;
    // The clock that paces a run's window.
    virtual std::chrono::steady_clock::time_point Now() const {
        return std::chrono::steady_clock::now();
    }
};

} // namespace kelbrin
