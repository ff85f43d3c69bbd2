#pragma once

#include <QWidget>
#include <map>

#include "frmHowTo.h"

namespace kelbrin {

// The help window on Qt Widgets: it draws HowToForm(), hands the option buttons and OK to
// frmHowTo's handlers, and is the port they act on. A top-level window with no owner; closing it
// destroys it. Its widgets are named as the form names its controls.
class QtHowToWindow : public QWidget, public HowToWindowPort {
public:
    QtHowToWindow();

    // HowToWindowPort
    void SetVisible(form::ControlId control, bool visible) override;
    void CloseWindow() override;

private:
    frmHowTo form_;
    std::map<form::ControlId, QWidget*> controls_;
};

} // namespace kelbrin
