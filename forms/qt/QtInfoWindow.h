#pragma once

#include <QDialog>
#include <map>
#include <string>

#include "frmInfo.h"

namespace kelbrin {

// The box of the original's identity on Qt Widgets: it draws InfoForm() as a modal dialog over
// its parent and hands its buttons to frmInfo's handlers. Its widgets are named as the form
// names its controls.
class QtInfoWindow : public QDialog, public InfoWindowPort {
public:
    QtInfoWindow(std::string report, QWidget* parent);

    // InfoWindowPort
    void SetText(form::ControlId control, const std::string& text) override;
    void CopyToClipboard(const std::string& text) override;
    void CloseWindow() override;

private:
    frmInfo form_;
    std::map<form::ControlId, QWidget*> controls_;
};

} // namespace kelbrin
