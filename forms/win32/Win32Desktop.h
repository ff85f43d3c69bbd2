#pragma once

#include "Desktop.h"

namespace kelbrin::win32 {

// The services of Windows that the forms use: windows drawn by Win32FormHost, the shell's
// folder and file dialogs, message boxes and questions, the clipboard, the user's settings (under
// HKEY_CURRENT_USER\Software\Kelbrin) and the message queue.
class Win32Desktop : public Desktop {
public:
    std::unique_ptr<FormPort> OpenForm(const form::Form& description, FormEvents& events,
                                       FormPort* owner) override;
    std::optional<std::string> ChooseFolder(FormPort& owner, const std::string& start) override;
    std::optional<std::string> ChooseFile(FormPort& owner, const std::string& title,
                                          const std::string& start) override;
    void ShowMessageBox(FormPort& owner, const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override;
    bool AskYesNo(FormPort& owner, const std::string& question, const std::string& title) override;
    void CopyToClipboard(const std::string& text) override;
    std::optional<std::string> RememberedFolder() override;
    void RememberFolder(const std::string& folder) override;
    // The system's folder dialog keeps no settings of the program's.
    void KeepNoSettings() override {}
    void LetEventsRun() override;
    void EndProcess() override;
};

} // namespace kelbrin::win32
