#pragma once

#include <string>

namespace kelbrin {

enum class MessageBoxIcon { None, Stop };

// All that an expansion run sees of its window: the status line, the MD5 row, modal message
// boxes with a single OK button, and a moment for pending window events. The run reads nothing
// back. The window shows real controls and dialogs; the command line prints; tests record.
class RunWindow {
public:
    virtual ~RunWindow() = default;
    virtual void SetStatus(const std::string& text) = 0;
    // Puts the digest into the MD5 box and shows the box with its label.
    virtual void ShowMD5(const std::string& digest) = 0;
    virtual void HideMD5() = 0;
    virtual void LetEventsRun() = 0;
    // Returns once the box has been dismissed.
    virtual void ShowMessageBox(const std::string& message, const std::string& title,
                                MessageBoxIcon icon) = 0;
};

} // namespace kelbrin
