#pragma once

#include <memory>
#include <string>

#include "Desktop.h"
#include "FormEvents.h"
#include "FormPort.h"
#include "InfoForm.h"

namespace kelbrin {

// The box that File, ROM Information shows: what can be told about the original (RomInformation),
// and a button that copies it, for a patch's read-me or a question in a forum. Its window is
// InfoForm(), over the main window.
class frmInfo final : public FormEvents {
public:
    frmInfo(Desktop& desktop, std::string report, FormPort& owner);
    frmInfo(const frmInfo&) = delete;
    frmInfo& operator=(const frmInfo&) = delete;

    // Shows the box and returns once it has been closed.
    void ShowModal() { port_->ShowModal(); }

    void cmdCopy_Click() { desktop_.CopyToClipboard(report_); }
    void cmdClose_Click() { port_->Close(); }
    void Click(form::ControlId control) override;

private:
    Desktop& desktop_;
    const std::string report_;
    std::unique_ptr<FormPort> port_;
};

} // namespace kelbrin
