#pragma once

#include <string>

#include "Desktop.h"
#include "FormPort.h"
#include "RunWindow.h"

namespace kelbrin {

// A box's status line and the boxes over it, for the failure exit the command line has too.
class BoxRunWindow final : public RunWindow {
public:
    BoxRunWindow(FormPort& port, Desktop& desktop, form::ControlId statusLine)
        : port_(port), desktop_(desktop), statusLine_(statusLine) {}
    void SetStatus(const std::string& text) override { port_.Announce(statusLine_, text); }
    void ShowMD5(const std::string& /*digest*/) override {}
    void HideMD5() override {}
    void LetEventsRun() override { desktop_.LetEventsRun(); }
    void ShowMessageBox(const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override {
        desktop_.ShowMessageBox(port_, message, title, icon);
    }

private:
    FormPort& port_;
    Desktop& desktop_;
    form::ControlId statusLine_;
};

} // namespace kelbrin
