#pragma once

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>
// DROPFILES, after windows.h.
#include <shlobj.h>

#include "AllForms.h"
#include "AnsiText.h"
#include "ControlIds.h"
#include "EventPump.h"
#include "HostedForm.h"
#include "RunFolder.h"
#include "WideText.h"
#include "Win32Desktop.h"
#include "Win32FormHost.h"
#include "frmInfo.h"
#include "frmKelbrin.h"

namespace kelbrin::test {

using win32::Widen;
using win32::WindowText;

// Closes every message box of a window's thread as soon as it is up and notes what it saw, so
// that no test waits for a person. A box holds the thread that shows it until it is closed, so a
// thread of its own watches. A question is answered with IDYES or IDNO as told; the next box is
// shot, over its owner, into the file named.
class BoxWatcher {
public:
    explicit BoxWatcher(HWND window);
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;
    void Answer(int command);
    void ShootNext(const std::wstring& file);
    std::vector<SeenMessageBox> Take();

private:
    void Close(HWND box);
    HWND window_;
    std::mutex mutex_;
    std::vector<SeenMessageBox> boxes_;
    std::vector<HWND> closed_;
    std::wstring shootNext_;
    int answer_ = IDNO;
    std::atomic<bool> stop_{false};
    std::thread watcher_;
};

// The desktop's services, but the folder dialog answers as a test says and nothing is kept
// from last time.
struct TestDesktop : win32::Win32Desktop {
    std::optional<std::string> FolderToChoose;
    std::optional<std::string> ChooseFolder(FormPort&, const std::string&) override {
        return FolderToChoose;
    }
    std::optional<std::string> RememberedFolder() override { return std::nullopt; }
    void RememberFolder(const std::string&) override {}
};

// Runs `action` from the next pending-message pump: inside a run, from its first moment for
// events.
void DuringNextPump(std::function<void()> action);
// Handles what is waiting, as a run's moment for events does.
inline void Pump() {
    win32::PumpPendingMessages();
}
// Leaves no window of a test behind for the next: each test's windows live on this thread.
void ForgetClosedWindows();
// Presses `key` where the focus is, as a person would.
void Press(WPARAM key);
// The shown top-level window of this thread with this title; nullptr when there is none.
HWND ShownWindow(const std::wstring& title);
// The control `id` among the windows inside `top`, at any depth.
HWND ControlIn(HWND top, form::ControlId id);
std::wstring ClassOf(HWND window);
// The controls of the version that the manifest names, once for the test program.
void UseCommonControls();

// The window's pixels as shown, menu bar and frame included, saved as a PNG under the build
// tree; returned for probing, with its top-left corner on the screen.
struct Screenshot {
    POINT Origin{};
    LONG Width = 0;
    // Row by row from the top.
    std::vector<COLORREF> Pixels;
    COLORREF At(POINT screen) const {
        return Pixels.at(
            static_cast<std::size_t>((screen.y - Origin.y) * Width + screen.x - Origin.x));
    }
};
std::unique_ptr<Screenshot> Shoot(HWND window, const std::wstring& file);

// A form drawn by the Win32 host, shown, its events written down; the conformance suite's
// driver: the messages a person's clicks and keys send, and what the system's controls show.
class FormOn final : public HostedForm {
public:
    explicit FormOn(const form::Form& form, FormPort* owner = nullptr);
    ~FormOn() override;
    FormOn(const FormOn&) = delete;
    FormOn& operator=(const FormOn&) = delete;

    TestDesktop Desktop;
    HWND Handle() const { return static_cast<win32::Win32FormHost&>(*Port).Handle(); }
    HWND Control(form::ControlId id) const { return ControlIn(Handle(), id); }

    kelbrin::Desktop& TheDesktop() override { return Desktop; }
    void Click(form::ControlId control) override {
        ::SendMessageW(Control(control), BM_CLICK, 0, 0);
    }
    void Choose(form::MenuId item) override {
        ::SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(Command(item), 0), 0);
    }
    // As the keyboard gives it: the key comes while Ctrl is down.
    void PressCtrl(char key) override {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        const BYTE control = std::exchange(keys[VK_CONTROL], 0x80);
        ::SetKeyboardState(keys);
        ::PostMessageW(Handle(), WM_KEYDOWN, static_cast<WPARAM>(key), 0);
        Pump();
        keys[VK_CONTROL] = control;
        ::SetKeyboardState(keys);
    }
    void PressTab() override { Press(VK_TAB); }
    void PressDown() override { Press(VK_DOWN); }
    void FocusOn(form::ControlId control) override { ::SetFocus(Control(control)); }
    void CloseBox() override { ::SendMessageW(Handle(), WM_CLOSE, 0, 0); }
    // The way Explorer drops, on a window that takes drops: a DROPFILES block with the names in
    // UTF-16.
    bool Drop(const std::string& path) override {
        if ((::GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) == 0) {
            return false;
        }
        const std::wstring name = WideFromUtf8(path);
        HGLOBAL block =
            ::GlobalAlloc(GHND, sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t));
        auto* drop = static_cast<DROPFILES*>(::GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        name.copy(reinterpret_cast<wchar_t*>(drop + 1), name.size());
        ::GlobalUnlock(block);
        ::SendMessageW(Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
        return true;
    }

    ControlState StateOf(form::ControlId control) override;
    WindowState State() override;
    form::Font DefaultFont() override { return {"MS Shell Dlg 2", 8}; }
    bool IsEnabled(form::MenuId item) override {
        return (::GetMenuState(::GetMenu(Handle()), Command(item), MF_BYCOMMAND) & MF_GRAYED) == 0;
    }
    Heard HearDuring(form::ControlId control, const std::function<void()>& act) override;
    void AnswerQuestions(bool yes) override { watcher_->Answer(yes ? IDYES : IDNO); }
    // Over its window, as a person sees it.
    void ShowMessageBox(const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override {
        watcher_->ShootNext(L"message-box.png");
        Desktop.ShowMessageBox(*Port, message, title, icon);
    }
    std::vector<SeenMessageBox> TakeBoxes() override { return watcher_->Take(); }
    SeenModal ShowModal(FormPort& modal, const form::Form& form, form::ControlId button) override {
        SeenModal seen;
        DuringNextPump([&] {
            if (const HWND shown = ShownWindow(Widen(form.Caption))) {
                seen = {true, ::GetWindow(shown, GW_OWNER) == Handle(), !Enabled()};
                ::SendMessageW(ControlIn(shown, button), BM_CLICK, 0, 0);
            }
        });
        modal.ShowModal();
        seen.OwnerFreedAfter = Enabled();
        return seen;
    }
    std::string Clipboard() override;
    std::string_view LineEnd() override { return "\r\n"; }

    void Shoot(const std::string& file) override {
        shot_ = test::Shoot(Handle(), WideFromUtf8(file));
    }
    form::Colour ShotAt(Point at) override {
        POINT screen{at.X, at.Y};
        ::ClientToScreen(Handle(), &screen);
        return Colour(shot_->At(screen));
    }
    std::vector<form::Colour> ShotInside(form::ControlId control) override;
    std::optional<form::ControlId> TopAt(Point at) override;
    std::optional<Point> PointOnTop(form::ControlId control) override;
    form::Colour PictureAt(form::ControlId control, Point at) override;

private:
    static form::Colour Colour(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }
    bool Enabled() const { return ::IsWindowEnabled(Handle()) != FALSE; }
    // The control that `window` is; nothing: none of the form's.
    std::optional<form::ControlId> IdOf(HWND window) const;
    // The command of the menu item at the item's place in its form's menus.
    UINT Command(form::MenuId item) const;
    std::unique_ptr<BoxWatcher> watcher_;
    std::unique_ptr<Screenshot> shot_;
};

} // namespace kelbrin::test
