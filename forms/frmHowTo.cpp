#include "frmHowTo.h"

namespace kelbrin {

using namespace form::frmHowTo;

frmHowTo::frmHowTo(Desktop& desktop) : port_(desktop.OpenForm(form::HowToForm(), *this, nullptr)) {
    Form_Load();
}

void frmHowTo::Form_Load() {
    optPart_Click(0);
}

void frmHowTo::optPart_Click(std::int16_t Index) {
    for (std::int16_t i = 0; i < kPages; ++i) {
        port_->SetVisible(txtHowTo(i), i == Index);
        port_->SetVisible(Shape(i), i == Index);
    }
}

void frmHowTo::cmdOK_Click() {
    port_->Close();
}

void frmHowTo::Click(form::ControlId control) {
    for (std::int16_t i = 0; i < kPages; ++i) {
        if (control == optPart(i)) {
            optPart_Click(i);
        }
    }
    if (control == cmdOK) {
        cmdOK_Click();
    }
}

} // namespace kelbrin
