#include "frmHowTo.h"

namespace kelbrin {

frmHowTo::frmHowTo(Desktop& desktop) : port_(desktop.OpenForm(form::HowToForm(), *this, nullptr)) {
    Form_Load();
}

void frmHowTo::Form_Load() {
    optPart_Click(0);
}

void frmHowTo::optPart_Click(std::int16_t Index) {
    for (std::int16_t i = 0; i < 2; ++i) {
        port_->SetVisible(form::HelpPage(i), i == Index);
        port_->SetVisible(form::HelpStrip(i), i == Index);
    }
}

void frmHowTo::cmdOK_Click() {
    port_->Close();
}

void frmHowTo::Click(form::ControlId control) {
    for (std::int16_t i = 0; i < 2; ++i) {
        if (control == form::HelpOption(i)) {
            optPart_Click(i);
        }
    }
    if (control == form::ControlId::cmdOK) {
        cmdOK_Click();
    }
}

} // namespace kelbrin
