#include "PacedRunWindow.h"

#include "KelbrinForm.h"

namespace kelbrin {

using namespace form::frmKelbrin;

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
    port_.Announce(lblStatus, status_);
    statusShown_ = true;
    statusAnnounced_ = true;
}

void PacedRunWindow::ShowStatus() {
    if (!statusShown_) {
        statusShown_ = true;
        port_.SetCaption(lblStatus, status_);
    }
}

void PacedRunWindow::ShowMD5(const std::string& digest) {
    port_.SetText(txtMD5, digest);
    port_.SetVisible(txtMD5, true);
    port_.SetVisible(lblMD5, true);
}

void PacedRunWindow::HideMD5() {
    port_.SetVisible(lblMD5, false);
    port_.SetVisible(txtMD5, false);
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
