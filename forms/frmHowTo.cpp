#include "frmHowTo.h"

namespace kelbrin {

void frmHowTo::Form_Load() {
    optPart_Click(0);
}

void frmHowTo::optPart_Click(std::int16_t Index) {
    for (std::int16_t i = 0; i < 2; ++i) {
        window_.SetVisible(form::HelpPage(i), i == Index);
        window_.SetVisible(form::HelpStrip(i), i == Index);
    }
}

void frmHowTo::cmdOK_Click() {
    window_.CloseWindow();
}

} // namespace kelbrin
