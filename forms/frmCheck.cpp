#include "frmCheck.h"

#include <utility>

#include "LayoutDrawing.h"
#include "ScriptCheck.h"

namespace kelbrin {

frmCheck::frmCheck(Desktop& desktop, std::string folder, FormPort& owner)
    : folder_(std::move(folder)), port_(desktop.OpenForm(form::CheckForm(), *this, &owner)) {
    Form_Load();
}

void frmCheck::Form_Load() {
    const ScriptCheck check = CheckScript(folder_);
    port_->SetText(form::ControlId::txtCheck, CheckReport(check));
    port_->SetText(form::ControlId::txtLayout,
                   LayoutReport(check) + LayoutSummary(check.WithoutHeader) + "\n");
    const form::Control& picture = form::ControlOf(form::ControlId::picLayout);
    port_->SetDrawing(
        form::ControlId::picLayout,
        form::DrawLayout(check.WithoutHeader, picture.At.Width, picture.At.Height, *picture.Fore));
}

void frmCheck::Click(form::ControlId control) {
    if (control == form::ControlId::cmdCheckAgain) {
        cmdCheckAgain_Click();
    } else if (control == form::ControlId::cmdCheckClose) {
        cmdCheckClose_Click();
    }
}

} // namespace kelbrin
