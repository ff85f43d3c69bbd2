#pragma once

#include <string>

#include "FormWindow.h"
#include "frmInfo.h"

namespace kelbrin {

// The box of the original's identity on Win32: InfoForm() drawn over its owner, which it keeps
// disabled while it is open; it hands its buttons to frmInfo's handlers.
class Win32InfoWindow : public win32::FormWindow, public InfoWindowPort {
public:
    Win32InfoWindow(std::string report, HWND owner);

    // Shows the box and returns once it has been closed.
    void ShowModal();

    void SetText(form::ControlId control, const std::string& text) override;
    void CopyToClipboard(const std::string& text) override;
    void CloseWindow() override;

private:
    void OnCommand(int id) override;

    frmInfo handlers_;
    HWND owner_;
};

} // namespace kelbrin
