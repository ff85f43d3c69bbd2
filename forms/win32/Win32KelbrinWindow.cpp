#include "Win32KelbrinWindow.h"

#include <commctrl.h>
#include <utility>
#include <vector>

#include "AnsiText.h"
#include "ControlIds.h"
#include "EventPump.h"
#include "FolderChoice.h"
#include "MessageBoxes.h"
#include "Win32InfoWindow.h"

namespace kelbrin {

namespace {

using win32::ChildId;
using win32::CommandId;

constexpr auto kScreenRefresh = std::chrono::milliseconds(16);

HMENU CreateMenuBar(const std::vector<form::Menu>& menus) {
    HMENU bar = ::CreateMenu();
    for (const form::Menu& menu : menus) {
        HMENU popup = ::CreatePopupMenu();
        for (const form::MenuItem& item : menu.Items) {
            if (item.Caption == "-") {
                ::AppendMenuW(popup, MF_SEPARATOR, static_cast<UINT_PTR>(CommandId(item.Id)),
                              nullptr);
                continue;
            }
            std::wstring caption = win32::Widen(item.Caption);
            if (item.CtrlKey != 0) {
                caption += std::wstring(L"\tCtrl+") + static_cast<wchar_t>(item.CtrlKey);
            }
            ::AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(CommandId(item.Id)),
                          caption.c_str());
        }
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                      win32::Widen(menu.Caption).c_str());
    }
    return bar;
}

HACCEL CreateAccelerators(const std::vector<form::Menu>& menus) {
    std::vector<ACCEL> keys;
    for (const form::Menu& menu : menus) {
        for (const form::MenuItem& item : menu.Items) {
            if (item.CtrlKey != 0) {
                keys.push_back({FVIRTKEY | FCONTROL, static_cast<WORD>(item.CtrlKey),
                                static_cast<WORD>(CommandId(item.Id))});
            }
        }
    }
    return ::CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

} // namespace

Win32KelbrinWindow::Win32KelbrinWindow(std::string programDirectory,
                                       std::optional<std::string> startPath)
    : FormWindow(form::KelbrinForm()), EndProcess([] { ::ExitProcess(0); }),
      handlers_(*this, std::move(programDirectory), std::move(startPath)) {
    accelerators_ = CreateAccelerators(Description().Menus);
    Create(CreateMenuBar(Description().Menus));
    ::DragAcceptFiles(Handle(), TRUE);
    // A static control tells the tooltip of the mouse only when it notifies its parent.
    HWND status = ControlHandle(form::ControlId::lblStatus);
    ::SetWindowLongPtrW(status, GWL_STYLE, ::GetWindowLongPtrW(status, GWL_STYLE) | SS_NOTIFY);
    folderTip_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0,
                                   0, Handle(), nullptr, nullptr, nullptr);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(status);
    tool.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(folderTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    handlers_.Form_Load();
    ShowStatusNow();
}

Win32KelbrinWindow::~Win32KelbrinWindow() {
    ::DestroyAcceleratorTable(accelerators_);
}

void Win32KelbrinWindow::SetStatus(const std::string& text) {
    status_ = text;
    statusPending_ = true;
}

void Win32KelbrinWindow::ShowStatusNow() {
    statusPending_ = false;
    ::SetWindowTextW(ControlHandle(form::ControlId::lblStatus), win32::Widen(status_).c_str());
}

void Win32KelbrinWindow::ShowMD5(const std::string& digest) {
    ::SetWindowTextW(ControlHandle(form::ControlId::txtMD5), win32::Widen(digest).c_str());
    ::ShowWindow(ControlHandle(form::ControlId::txtMD5), SW_SHOW);
    ::ShowWindow(ControlHandle(form::ControlId::lblMD5), SW_SHOW);
}

void Win32KelbrinWindow::HideMD5() {
    ::ShowWindow(ControlHandle(form::ControlId::lblMD5), SW_HIDE);
    ::ShowWindow(ControlHandle(form::ControlId::txtMD5), SW_HIDE);
}

void Win32KelbrinWindow::LetEventsRun() {
    // Asking the system for waiting messages is a call into it (under Wine a round trip to its
    // server), and painting the status line is more: once per directive line, both would cost
    // several times the run. Nobody can tell events handled within a screen refresh from
    // events handled at once.
    const auto now = std::chrono::steady_clock::now();
    if (now - lastEvents_ < kScreenRefresh) {
        return;
    }
    lastEvents_ = now;
    if (statusPending_) {
        ShowStatusNow();
    }
    win32::PumpPendingMessages();
}

void Win32KelbrinWindow::ShowMessageBox(const std::string& message, const std::string& title,
                                        MessageBoxIcon icon) {
    if (statusPending_) {
        ShowStatusNow();
    }
    win32::ShowMessageBox(Handle(), message, title, icon);
}

void Win32KelbrinWindow::SetEnabled(form::ControlId control, bool enabled) {
    ::EnableWindow(ControlHandle(control), enabled ? TRUE : FALSE);
}

void Win32KelbrinWindow::SetEnabled(form::MenuId item, bool enabled) {
    ::EnableMenuItem(::GetMenu(Handle()), static_cast<UINT>(CommandId(item)),
                     MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32KelbrinWindow::GiveFocus(form::ControlId control) {
    ::SetFocus(ControlHandle(control));
}

std::string Win32KelbrinWindow::Caption(form::ControlId control) const {
    if (control == form::ControlId::lblStatus) {
        return status_;
    }
    return win32::Narrow(win32::WindowText(ControlHandle(control)));
}

void Win32KelbrinWindow::ShowAboutBox(const std::string& text) {
    win32::ShowMessageBox(Handle(), text, std::string(form::kAboutTitle), MessageBoxIcon::None);
}

void Win32KelbrinWindow::ShowHowToWindow() {
    if (howTo_ && howTo_->IsOpen()) {
        HWND help = howTo_->Handle();
        if (::IsIconic(help)) {
            ::ShowWindow(help, SW_RESTORE);
        }
        ::SetForegroundWindow(help);
        return;
    }
    howTo_ = std::make_unique<Win32HowToWindow>();
}

void Win32KelbrinWindow::Quit() {
    if (howTo_) {
        howTo_->Close();
    }
    Close();
}

void Win32KelbrinWindow::EndProgram() {
    EndProcess();
}

void Win32KelbrinWindow::RunEnded() {
    // The run's last status may still wait for its screen refresh.
    if (statusPending_) {
        ShowStatusNow();
    }
}

std::optional<std::string> Win32KelbrinWindow::ChooseFolder(const std::string& start) {
    return win32::ChooseFolderDialog(Handle(), start);
}

void Win32KelbrinWindow::ShowFolder(const std::string& folder, const std::string& name) {
    std::wstring title = win32::Widen(Description().Caption);
    if (!name.empty()) {
        title += L" \u2013 " + win32::Widen(name);
    }
    ::SetWindowTextW(Handle(), title.c_str());
    std::wstring path = win32::Widen(folder);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(ControlHandle(form::ControlId::lblStatus));
    tool.lpszText = path.data();
    ::SendMessageW(folderTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32KelbrinWindow::ShowInfoWindow(const std::string& report) {
    Win32InfoWindow(report, Handle()).ShowModal();
}

std::optional<std::string> Win32KelbrinWindow::RememberedFolder() {
    return win32::RememberedFolder();
}

void Win32KelbrinWindow::RememberFolder(const std::string& folder) {
    win32::RememberFolder(folder);
}

void Win32KelbrinWindow::OnDropFiles(HDROP drop) {
    handlers_.Form_DragDrop(win32::DroppedFile(drop));
    ShowStatusNow();
}

bool Win32KelbrinWindow::TranslateOwnKeys(MSG& message) {
    return ::TranslateAcceleratorW(Handle(), accelerators_, &message) != 0 ||
           FormWindow::TranslateOwnKeys(message);
}

void Win32KelbrinWindow::OnCommand(int id) {
    for (std::int16_t i = 0; i < 2; ++i) {
        if (id == ChildId(form::ExpandButton(i)) || id == CommandId(form::ExpandMenuItem(i))) {
            // A run lets events through from its first line on.
            lastEvents_ = {};
            if (id == ChildId(form::ExpandButton(i))) {
                handlers_.cmdExpand_Click(i);
            } else {
                handlers_.mnuFile_Expand_Click(i);
            }
            return;
        }
    }
    switch (id) {
    case CommandId(form::MenuId::mnuFile_Folder):
        handlers_.mnuFile_Folder_Click();
        ShowStatusNow();
        break;
    case CommandId(form::MenuId::mnuFile_Info): handlers_.mnuFile_Info_Click(); break;
    case CommandId(form::MenuId::mnuFile_Exit): handlers_.mnuFile_Exit_Click(); break;
    case CommandId(form::MenuId::mnuHelp_HowTo): handlers_.mnuHelp_HowTo_Click(); break;
    case CommandId(form::MenuId::mnuHelp_About): handlers_.mnuHelp_About_Click(); break;
    default: break;
    }
}

bool Win32KelbrinWindow::OnClose() {
    return handlers_.QueryClose();
}

} // namespace kelbrin
