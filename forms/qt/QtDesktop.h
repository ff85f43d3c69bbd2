#pragma once

#include "Desktop.h"

namespace kelbrin {

// The services of Qt Widgets that the forms use: windows drawn by QtFormHost, the folder and
// file dialogs, message boxes and questions, the clipboard, the user's settings
// (~/.config/Kelbrin/Kelbrin.conf on Linux) and the event loop.
class QtDesktop : public Desktop {
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
    void KeepNoSettings() override { keepNoSettings_ = true; }
    void LetEventsRun() override;
    void EndProcess() override;

private:
    bool keepNoSettings_ = false;
};

} // namespace kelbrin
