#include "PacedRunWindow.h"

namespace kelbrin {

PacedRunWindow::~PacedRunWindow() {
    if (begun_ && !statusAnnounced_) {
        AnnounceStatus();
    }
}

void PacedRunWindow::SetStatus(const std::string& text) {
    status_ = text;
    statusShown_ = false;
    statusAnnounced_ = false;
    if (!begun_) {
        begun_ = true;
        AnnounceStatus();
    }
}

void PacedRunWindow::AnnounceStatus() {
    port_.Announce(form::ControlId::lblStatus, status_);
    statusShown_ = true;
    statusAnnounced_ = true;
}

void PacedRunWindow::ShowStatus() {
    if (!statusShown_) {
        statusShown_ = true;
        port_.SetCaption(form::ControlId::lblStatus, status_);
    }
}

void PacedRunWindow::ShowMD5(const std::string& digest) {
    port_.SetText(form::ControlId::txtMD5, digest);
    port_.SetVisible(form::ControlId::txtMD5, true);
    port_.SetVisible(form::ControlId::lblMD5, true);
}

void PacedRunWindow::HideMD5() {
    port_.SetVisible(form::ControlId::lblMD5, false);
    port_.SetVisible(form::ControlId::txtMD5, false);
}

void PacedRunWindow::LetEventsRun() {
    const auto now = desktop_.Now();
    if (lastEvents_ && now - *lastEvents_ < kScreenRefresh) {
        return;
    }
    lastEvents_ = now;
    ShowStatus();
    desktop_.LetEventsRun();
}

void PacedRunWindow::ShowMessageBox(const std::string& message, const std::string& title,
                                    MessageBoxIcon icon) {
    ShowStatus();
    desktop_.ShowMessageBox(port_, message, title, icon);
}

} // namespace kelbrin
