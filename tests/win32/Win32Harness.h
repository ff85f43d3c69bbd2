#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

#include "AllForms.h"
#include "ControlIds.h"
#include "HostedForm.h"
#include "RecordedEvents.h"
#include "RunFolder.h"
#include "Win32Desktop.h"
#include "Win32FormHost.h"
#include "frmCheck.h"
#include "frmInfo.h"
#include "frmKelbrin.h"

namespace kelbrin::test {

struct SeenBox {
    std::wstring Title;
    std::wstring Text;
    HICON Icon = nullptr;
    std::vector<std::wstring> Buttons;
    // The caption of the button that Enter presses.
    std::wstring Default;
    HWND Owner = nullptr;
};

// Closes every message box of the window's thread as soon as it is up and notes what it said,
// so that no test waits for a person. A box holds the thread that shows it until it is closed,
// so a thread of its own watches. With a file name, the next box is also captured, over its
// owner, into that screenshot.
class BoxWatcher {
public:
    explicit BoxWatcher(DWORD windowThread);
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    std::vector<SeenBox> Boxes() const;
    void ShootNextBox(const std::wstring& file);
    // The command a question (a box with Yes and No) is answered with: IDYES or IDNO.
    void AnswerQuestionsWith(int answer);

private:
    void Watch();
    void CloseBox(HWND box);

    DWORD thread_;
    mutable std::mutex mutex_;
    std::vector<SeenBox> boxes_;
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

// A form drawn by the Win32 host, shown, its events written down.
struct FormOn {
    BoxWatcher Watcher{::GetCurrentThreadId()};
    TestDesktop Desktop;
    RecordedEvents Events;
    std::unique_ptr<FormPort> Port;

    explicit FormOn(const form::Form& form, FormPort* owner = nullptr);
    ~FormOn();
    HWND Handle() const { return static_cast<win32::Win32FormHost&>(*Port).Handle(); }
    HWND Control(form::ControlId id) const;
};

// The main window as the program shows it, its handlers at work, installed: in a program folder
// of its own with no script, nothing chosen.
struct ProgramOn {
    TempFolder Folder;
    BoxWatcher Watcher{::GetCurrentThreadId()};
    TestDesktop Desktop;
    std::optional<frmKelbrin> Form;
    HWND Window = nullptr;

    ProgramOn();
    ~ProgramOn();
    HWND Control(form::ControlId id) const;
};

// Runs `action` from the next pending-message pump: inside a run, from its first moment for
// events.
void DuringNextPump(std::function<void()> action);
// Handles what is waiting, as a run's moment for events does.
void Pump();
// Leaves no window of a test behind for the next: each test's windows live on this thread.
void ForgetClosedWindows();
// Presses `key` where the focus is, as a person would, and tells where the focus went.
HWND Press(WPARAM key);
// The shown top-level window of this thread with this title; nullptr when there is none.
HWND ShownWindow(const std::wstring& title);

// The control `id` among the windows inside `top`, at any depth.
HWND ControlIn(HWND top, form::ControlId id);
std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
std::wstring Wide(std::string_view text);

// The window of a form that ShowForm shows.
HWND HandleOf(HostedForm& on);

// The window's pixels as shown, menu bar and frame included, saved as a PNG under the build
// tree; returned for probing, with its top-left corner on the screen.
struct Screenshot {
    HBITMAP Bitmap = nullptr;
    POINT Origin{};
    ~Screenshot();
    COLORREF At(POINT screen) const;
};
std::unique_ptr<Screenshot> Shoot(HWND window, const std::wstring& file);

} // namespace kelbrin::test
