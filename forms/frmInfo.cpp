#include "frmInfo.h"

#include <utility>

namespace kelbrin {

using namespace form::frmInfo;

frmInfo::frmInfo(Desktop& desktop, std::string report, FormPort& owner)
    : desktop_(desktop), report_(std::move(report)),
      port_(desktop.OpenForm(form::InfoForm(), *this, &owner)) {
    port_->SetText(txtInfo, report_);
}

void frmInfo::Click(form::ControlId control) {
    if (control == cmdCopy) {
        cmdCopy_Click();
    } else if (control == cmdClose) {
        cmdClose_Click();
    }
}

} // namespace kelbrin
