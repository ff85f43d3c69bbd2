#include "frmInfo.h"

#include <utility>

namespace kelbrin {

frmInfo::frmInfo(Desktop& desktop, std::string report, FormPort& owner)
    : desktop_(desktop), report_(std::move(report)),
      port_(desktop.OpenForm(form::InfoForm(), *this, &owner)) {
    port_->SetText(form::ControlId::txtInfo, report_);
}

void frmInfo::Click(form::ControlId control) {
    if (control == form::ControlId::cmdCopy) {
        cmdCopy_Click();
    } else if (control == form::ControlId::cmdClose) {
        cmdClose_Click();
    }
}

} // namespace kelbrin
