#pragma once

#include <string>

#include "FormDescription.h"

namespace kelbrin {

// What the box of the original's identity needs of a toolkit's window.
class InfoWindowPort {
public:
    virtual ~InfoWindowPort() = default;
    // Puts the text (8-bit, lines ending in LF) into the text box.
    virtual void SetText(form::ControlId control, const std::string& text) = 0;
    virtual void CopyToClipboard(const std::string& text) = 0;
    virtual void CloseWindow() = 0;
};

// The box that File, ROM Information shows: what can be told about the original (RomInformation),
// and a button that copies it, for a patch's read-me or a question in a forum. The toolkit's window
// draws InfoForm() modally and calls these handlers.
class frmInfo {
public:
    frmInfo(InfoWindowPort& window, std::string report)
        : window_(window), report_(std::move(report)) {}

    void Form_Load() { window_.SetText(form::ControlId::txtInfo, report_); }
    void cmdCopy_Click() { window_.CopyToClipboard(report_); }
    void cmdClose_Click() { window_.CloseWindow(); }

private:
    InfoWindowPort& window_;
    std::string report_;
};

} // namespace kelbrin
