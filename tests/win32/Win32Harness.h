#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

#include "ControlIds.h"
#include "RunFolder.h"
#include "Win32KelbrinWindow.h"

namespace kelbrin::test {

struct SeenBox {
    std::wstring Title;
    std::wstring Text;
    HICON Icon = nullptr;
    std::vector<std::wstring> Buttons;
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

private:
    void Watch();
    void CloseBox(HWND box);

    DWORD thread_;
    mutable std::mutex mutex_;
    std::vector<SeenBox> boxes_;
    std::vector<HWND> closed_;
    std::wstring shootNext_;
    std::atomic<bool> stop_{false};
    std::thread watcher_;
};

// A shown main window on its own program folder. Exit and closing during a run only count here;
// the real ones end the process.
struct MainWindowOn {
    TempFolder Folder;
    BoxWatcher Watcher{::GetCurrentThreadId()};
    int EndCalls = 0;
    std::unique_ptr<Win32KelbrinWindow> Window;

    MainWindowOn();
    ~MainWindowOn();
    // A headered original, and a script that expands it to 8 bytes at line 4; `more` follows.
    void Script(const std::string& sizeLine = kSizeLine, const std::vector<std::string>& more = {});

    HWND Control(form::ControlId id) const;
    void Click(form::ControlId id) const;
    void Choose(form::MenuId item) const;
    // The open help window, if any; there must not be two.
    HWND HelpWindow() const;
    HWND OpenHelp() const;
};

// Runs `action` from the next pending-message pump: inside a run, from its first moment for
// events.
void DuringNextPump(std::function<void()> action);
// Handles what is waiting, as a run's moment for events does.
void Pump();

// The control `id` among the windows inside `top`, at any depth.
HWND ControlIn(HWND top, form::ControlId id);
std::wstring TextOf(HWND window);
std::wstring Wide(std::string_view text);
// The control's place in its parent's client area.
RECT PlaceOf(HWND control);
// A picture control's bitmap size.
SIZE PictureSize(HWND picture);

// The description's places at 96 dots per inch, the window's classes, captions, fonts and tab
// stops: `window` shows each control of `form` as described (and as it starts, when `atStart`)
// on a screen of `dpi` dots per inch.
void ExpectLaidOutAsDescribed(HWND window, const form::Form& form, bool atStart, int dpi = 96);

// Breaks the run at line 5, after it has let events through once.
inline const std::vector<std::string> kBrokenLine5{"FIL\t4\t0"};
inline const std::wstring kBrokenLine5Box =
    L"Error #0 -> \r\n\r\nCopy, Fill, or Replace missing on start of line 5: \r\nFIL";

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
