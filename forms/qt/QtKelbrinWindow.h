#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "frmKelbrin.h"

class QAction;

namespace kelbrin {

class QtHowToWindow;

// The main window on Qt Widgets: it draws KelbrinForm(), hands every click to frmKelbrin's
// handlers, and is the port those handlers and the run act on. Its widgets are named as the
// form names its controls ("cmdExpand(0)", "mnuFile_Exit"), which is how tests find them.
class QtKelbrinWindow : public QMainWindow, public KelbrinWindowPort {
public:
    // `programDirectory` is the folder that holds the program and `startPath` the folder or file
    // given on the command line, as the system names them (see frmKelbrin).
    explicit QtKelbrinWindow(std::string programDirectory,
                             std::optional<std::string> startPath = std::nullopt);
    ~QtKelbrinWindow() override;

    // The window's handlers, as a click would call them.
    frmKelbrin& Form() noexcept { return form_; }
    // The open help window, if any.
    QtHowToWindow* HowToWindow() const;

    // Ends the process at once: Exit, or closing the window, while a run is under way. Tests
    // replace it.
    std::function<void()> EndProcess;

    // KelbrinWindowPort
    void SetEnabled(form::ControlId control, bool enabled) override;
    void SetEnabled(form::MenuId item, bool enabled) override;
    void GiveFocus(form::ControlId control) override;
    std::string Caption(form::ControlId control) const override;
    void ShowAboutBox(const std::string& text) override;
    void ShowHowToWindow() override;
    void Quit() override;
    void EndProgram() override;
    void RunEnded() override;
    std::optional<std::string> ChooseFolder(const std::string& start) override;
    void ShowFolder(const std::string& path, const std::string& name) override;
    void ShowInfoWindow(const std::string& report) override;
    std::optional<std::string> RememberedFolder() override;
    void RememberFolder(const std::string& folder) override;
    void KeepNoSettings() override { keepNoSettings_ = true; }
    // RunWindow
    void SetStatus(const std::string& text) override;
    void ShowMD5(const std::string& digest) override;
    void HideMD5() override;
    void LetEventsRun() override;
    void ShowMessageBox(const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateMenus();
    template <typename Widget> Widget* Control(form::ControlId id) const;

    frmKelbrin form_;
    std::map<form::ControlId, QWidget*> controls_;
    std::map<form::MenuId, QAction*> items_;
    QElapsedTimer statusPainted_;
    QPointer<QtHowToWindow> howTo_;
    bool keepNoSettings_ = false;
};

} // namespace kelbrin
