#pragma once

#include "FormWindow.h"
#include "frmHowTo.h"

namespace kelbrin {

// The help window on Win32: two fixed pages chosen by two option buttons, and OK. A top-level
// window with no owner, shown as soon as it is made; closing it destroys it.
class Win32HowToWindow : public win32::FormWindow, public HowToWindowPort {
public:
    Win32HowToWindow();

    void SetVisible(form::ControlId control, bool visible) override;
    void CloseWindow() override;

private:
    void OnCommand(int id) override;

    frmHowTo handlers_;
};

} // namespace kelbrin
