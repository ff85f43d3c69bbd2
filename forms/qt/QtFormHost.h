#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <string>

#include "FormEvents.h"
#include "FormPort.h"

class QAction;
class QMainWindow;

namespace kelbrin {

class WindowEvents;

// Any form on Qt Widgets: its window drawn from the description (a main window with a menu bar
// when it has menus, a dialog over its owner when it has one, else a window of its own), each
// push button, option button and menu item handed to the form's events, and the port its
// handlers act on. Widgets are named as the form names its controls ("cmdExpand(0)",
// "mnuFile_Exit"), which is how tests find them.
class QtFormHost final : public FormPort {
public:
    QtFormHost(const form::Form& description, FormEvents& events, QtFormHost* owner);
    ~QtFormHost() override;
    QtFormHost(const QtFormHost&) = delete;
    QtFormHost& operator=(const QtFormHost&) = delete;

    QWidget& Window() const { return *window_; }
    // The widget the controls lie on, in the form's size.
    QWidget& Client() const { return *client_; }

    void SetCaption(form::ControlId control, const std::string& caption) override;
    void Announce(form::ControlId control, const std::string& caption) override;
    std::string Caption(form::ControlId control) const override;
    void SetText(form::ControlId control, const std::string& text) override;
    std::string Text(form::ControlId control) const override;
    void SetEnabled(form::ControlId control, bool enabled) override;
    void SetEnabled(form::MenuId item, bool enabled) override;
    void SetVisible(form::ControlId control, bool visible) override;
    void SetFocus(form::ControlId control) override;
    void SetPicture(form::ControlId control, form::Picture picture) override;
    void SetDrawing(form::ControlId control, const form::Drawing& drawing) override;
    void SetTitleName(const std::string& name) override;
    void SetPathTip(form::ControlId control, const std::string& path) override;
    void TakeDrops(bool take) override;
    void Show() override;
    void ShowModal() override;
    void Close() override;
    bool IsOpen() const override;

private:
    void CreateMenus(QMainWindow& window);
    void ConnectControls();

    const form::Form& description_;
    FormEvents& events_;
    QPointer<QWidget> window_;
    // A child of the window.
    QWidget* client_;
    std::map<form::ControlId, QWidget*> controls_;
    std::map<form::MenuId, QAction*> items_;
    // A child of the window.
    WindowEvents* windowEvents_ = nullptr;
};

} // namespace kelbrin
