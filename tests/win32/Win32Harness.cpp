#include "Win32Harness.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <commctrl.h>
#include <objidl.h>
// DROPFILES, after windows.h.
#include <shlobj.h>
#include <utility>
// GDI+ writes the PNG files; its headers use min and max unqualified.
using std::max;
using std::min;
#include <gdiplus.h>

#include "AnsiText.h"
#include "EventPump.h"
#include "WideText.h"

namespace kelbrin::test {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

namespace {

// The actions for the next pump, run by a message-only window that every pump of the thread
// serves.
std::vector<std::function<void()>> pumpActions;

LRESULT CALLBACK RunPumpActions(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_APP) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    for (auto& action : std::exchange(pumpActions, {})) {
        action();
    }
    return 0;
}

// The windows' pixels as they lie on the screen, each from its own surface (the null driver
// composes no screen), in one picture covering them all.
HBITMAP Capture(std::initializer_list<HWND> windows, RECT& all) {
    all = RECT{};
    for (HWND window : windows) {
        RECT place;
        ::GetWindowRect(window, &place);
        ::UnionRect(&all, &all, &place);
    }
    HDC screen = ::GetDC(nullptr);
    HDC canvas = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, all.right - all.left, all.bottom - all.top);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ previous = ::SelectObject(canvas, bitmap);
    for (HWND window : windows) {
        RECT place;
        ::GetWindowRect(window, &place);
        HDC source = ::GetWindowDC(window);
        ::BitBlt(canvas, place.left - all.left, place.top - all.top, place.right - place.left,
                 place.bottom - place.top, source, 0, 0, SRCCOPY);
        ::ReleaseDC(window, source);
    }
    ::SelectObject(canvas, previous);
    ::DeleteDC(canvas);
    return bitmap;
}

void SavePng(HBITMAP bitmap, const std::wstring& file) {
    ::CreateDirectoryW(L"screenshots", nullptr);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    {
        Gdiplus::Bitmap image(bitmap, nullptr);
        const CLSID png{
            0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
        image.Save((L"screenshots\\" + file).c_str(), &png, nullptr);
    }
    Gdiplus::GdiplusShutdown(token);
}

SeenBox Read(HWND box) {
    const auto defaultId = ::SendMessageW(box, DM_GETDEFID, 0, 0);
    int defaultButton = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : 0;
    SeenBox seen{TextOf(box), TextOf(::GetDlgItem(box, 0xFFFF)), nullptr, {},
                 {},          ::GetWindow(box, GW_OWNER)};
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) {
            continue;
        }
        const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
        if (ClassOf(child) == L"Button") {
            seen.Buttons.push_back(TextOf(child));
            if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                defaultButton = ::GetDlgCtrlID(child);
            }
        } else if (ClassOf(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
            seen.Icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
        }
    }
    seen.Default = TextOf(::GetDlgItem(box, defaultButton));
    return seen;
}

// The controls of the version that the manifest names, once for the test program.
void UseCommonControls() {
    static const bool loaded = [] {
        const INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
        return ::InitCommonControlsEx(&init) != FALSE;
    }();
    (void)loaded;
}

} // namespace

void ForgetClosedWindows() {
    // An action that no run reached must not reach the next test's window.
    pumpActions.clear();
    Pump();
    // The last window closed asks the thread to quit; the next test's windows live on it.
    MSG quit;
    while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

BoxWatcher::BoxWatcher(DWORD windowThread) : thread_(windowThread), watcher_([this] { Watch(); }) {}

BoxWatcher::~BoxWatcher() {
    stop_ = true;
    watcher_.join();
}

std::vector<SeenBox> BoxWatcher::Boxes() const {
    const std::lock_guard lock(mutex_);
    return boxes_;
}

void BoxWatcher::ShootNextBox(const std::wstring& file) {
    const std::lock_guard lock(mutex_);
    shootNext_ = file;
}

void BoxWatcher::AnswerQuestionsWith(int answer) {
    const std::lock_guard lock(mutex_);
    answer_ = answer;
}

void BoxWatcher::Watch() {
    while (!stop_) {
        ::EnumThreadWindows(
            thread_,
            [](HWND window, LPARAM self) {
                if (ClassOf(window) == L"#32770" && ::IsWindowVisible(window)) {
                    reinterpret_cast<BoxWatcher*>(self)->CloseBox(window);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(this));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void BoxWatcher::CloseBox(HWND box) {
    const std::lock_guard lock(mutex_);
    if (std::ranges::find(closed_, box) != closed_.end()) {
        return;
    }
    boxes_.push_back(Read(box));
    if (!shootNext_.empty()) {
        // Over its owner, as a person sees it.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        RECT all;
        HBITMAP shot = Capture({::GetWindow(box, GW_OWNER), box}, all);
        SavePng(shot, shootNext_);
        ::DeleteObject(shot);
        shootNext_.clear();
    }
    closed_.push_back(box);
    const int command = ::GetDlgItem(box, IDYES) != nullptr ? answer_ : IDOK;
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

FormOn::FormOn(const form::Form& form, FormPort* owner) {
    UseCommonControls();
    Events.Form = &form;
    Port = Desktop.OpenForm(form, Events, owner);
    Port->Show();
    Pump();
}

FormOn::~FormOn() {
    Port.reset();
    ForgetClosedWindows();
}

HWND FormOn::Control(form::ControlId id) const {
    return ControlIn(Handle(), id);
}

ProgramOn::ProgramOn() {
    UseCommonControls();
    Form.emplace(Desktop, Folder.Path());
    Form->Show();
    Pump();
    Window = ShownWindow(Wide(form::KelbrinForm().Caption));
}

HWND ProgramOn::Control(form::ControlId id) const {
    return ControlIn(Window, id);
}

ProgramOn::~ProgramOn() {
    Form.reset();
    ForgetClosedWindows();
}

HWND ShownWindow(const std::wstring& title) {
    struct Search {
        const std::wstring* Title;
        HWND Found;
    } search{&title, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM data) {
            auto& s = *reinterpret_cast<Search*>(data);
            if (::IsWindowVisible(window) && TextOf(window) == *s.Title) {
                s.Found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

void DuringNextPump(std::function<void()> action) {
    static const HWND hook = [] {
        WNDCLASSW hookClass{};
        hookClass.lpfnWndProc = RunPumpActions;
        hookClass.hInstance = ::GetModuleHandleW(nullptr);
        hookClass.lpszClassName = L"KelbrinTestPumpHook";
        ::RegisterClassW(&hookClass);
        return ::CreateWindowExW(0, hookClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, hookClass.hInstance, nullptr);
    }();
    pumpActions.push_back(std::move(action));
    ::PostMessageW(hook, WM_APP, 0, 0);
}

void Pump() {
    win32::PumpPendingMessages();
}

HWND Press(WPARAM key) {
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 0);
    Pump();
    return ::GetFocus();
}

HWND ControlIn(HWND top, form::ControlId id) {
    struct Search {
        int Id;
        HWND Found;
    } search{win32::ChildId(id), nullptr};
    ::EnumChildWindows(
        top,
        [](HWND child, LPARAM data) {
            auto& s = *reinterpret_cast<Search*>(data);
            if (::GetDlgCtrlID(child) == s.Id) {
                s.Found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::wstring TextOf(HWND window) {
    return win32::WindowText(window);
}

std::wstring Wide(std::string_view text) {
    return win32::Widen(text);
}

namespace {

// A picture control's bitmap size.
SIZE PictureSize(HWND picture) {
    BITMAP bitmap{};
    ::GetObjectW(reinterpret_cast<HBITMAP>(::SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                 sizeof bitmap, &bitmap);
    return SIZE{bitmap.bmWidth, bitmap.bmHeight};
}

std::wstring ResolvedFace(HFONT font) {
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    ::SelectObject(dc, previous);
    ::ReleaseDC(nullptr, dc);
    return face;
}

} // namespace

Screenshot::~Screenshot() {
    ::DeleteObject(Bitmap);
}

COLORREF Screenshot::At(POINT screen) const {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, Bitmap);
    const COLORREF colour = ::GetPixel(dc, screen.x - Origin.x, screen.y - Origin.y);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    return colour;
}

std::unique_ptr<Screenshot> Shoot(HWND window, const std::wstring& file) {
    // As on a screen: whatever waits to be painted is painted first.
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    auto shot = std::make_unique<Screenshot>();
    RECT onScreen;
    shot->Bitmap = Capture({window}, onScreen);
    shot->Origin = {onScreen.left, onScreen.top};
    SavePng(shot->Bitmap, file);
    return shot;
}

namespace {

// Lines ending in CR LF, as a box shows them, end in LF.
std::string Lines(const std::wstring& text) {
    std::string lines = Utf8FromWide(text);
    std::erase(lines, '\r');
    return lines;
}

// The conformance suite's driver: the messages a person's clicks and keys send, and what the
// system's controls show.
class Win32HostedForm final : public HostedForm {
public:
    explicit Win32HostedForm(const form::Form& form) : form_(form), on_(form) {}
    const form::Form& Form() override { return form_; }
    RecordedEvents& Events() override { return on_.Events; }
    FormPort& Port() override { return *on_.Port; }
    kelbrin::Desktop& TheDesktop() override { return on_.Desktop; }

    void Click(form::ControlId control) override {
        ::SendMessageW(on_.Control(control), BM_CLICK, 0, 0);
    }
    void Choose(form::MenuId item) override {
        ::SendMessageW(on_.Handle(), WM_COMMAND, MAKEWPARAM(Command(item), 0), 0);
    }
    // As the keyboard gives it: the key comes while Ctrl is down.
    void PressCtrl(char key) override {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        const BYTE control = keys[VK_CONTROL];
        keys[VK_CONTROL] = 0x80;
        ::SetKeyboardState(keys);
        ::PostMessageW(on_.Handle(), WM_KEYDOWN, static_cast<WPARAM>(key), 0);
        Pump();
        keys[VK_CONTROL] = control;
        ::SetKeyboardState(keys);
    }
    void PressTab() override { Press(VK_TAB); }
    void PressDown() override { Press(VK_DOWN); }
    void FocusOn(form::ControlId control) override { ::SetFocus(on_.Control(control)); }
    std::optional<form::ControlId> Focus() override { return IdOf(::GetFocus()); }
    void CloseBox() override { ::SendMessageW(on_.Handle(), WM_CLOSE, 0, 0); }
    // The way Explorer drops, on a window that takes drops: a DROPFILES block with the names in
    // UTF-16.
    bool Drop(const std::string& path) override {
        if ((::GetWindowLongPtrW(on_.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) == 0) {
            return false;
        }
        const std::wstring name = WideFromUtf8(path);
        const std::size_t bytes = sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t);
        HGLOBAL block = ::GlobalAlloc(GHND, bytes);
        auto* drop = static_cast<DROPFILES*>(::GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        name.copy(reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES)),
                  name.size());
        ::GlobalUnlock(block);
        ::SendMessageW(on_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
        return true;
    }

    // A multi-line box's lines as it breaks them, so that an LF alone shows as a line break.
    std::string Shown(form::ControlId control) override {
        const HWND window = on_.Control(control);
        if ((::GetWindowLongPtrW(window, GWL_STYLE) & ES_MULTILINE) == 0 ||
            form::ControlOf(form_, control).Kind != form::ControlKind::TextBox) {
            return Utf8FromWide(TextOf(window));
        }
        std::string shown;
        const auto count = ::SendMessageW(window, EM_GETLINECOUNT, 0, 0);
        for (LRESULT line = 0; line < count; ++line) {
            std::wstring text(1024, L'\0');
            text[0] = static_cast<wchar_t>(text.size());
            text.resize(static_cast<std::size_t>(
                ::SendMessageW(window, EM_GETLINE, static_cast<WPARAM>(line),
                               reinterpret_cast<LPARAM>(text.data()))));
            if (line != 0) {
                shown += '\n';
            }
            shown += Utf8FromWide(text);
        }
        return shown;
    }
    bool IsVisible(form::ControlId control) override {
        return ::IsWindowVisible(on_.Control(control)) != FALSE;
    }
    bool IsEnabled(form::ControlId control) override {
        return ::IsWindowEnabled(on_.Control(control)) != FALSE;
    }
    bool IsEnabled(form::MenuId item) override {
        return (::GetMenuState(::GetMenu(on_.Handle()), Command(item), MF_BYCOMMAND) & MF_GRAYED) ==
               0;
    }
    std::string Title() override { return Utf8FromWide(TextOf(on_.Handle())); }
    std::pair<int, int> PictureSize(form::ControlId control) override {
        const SIZE size = test::PictureSize(on_.Control(control));
        return {size.cx, size.cy};
    }
    std::pair<int, int> ClientSize() override {
        RECT client;
        ::GetClientRect(on_.Handle(), &client);
        return {client.right, client.bottom};
    }
    bool HasOwner() override { return ::GetWindow(on_.Handle(), GW_OWNER) != nullptr; }
    PixelBox Place(form::ControlId control) override {
        const HWND window = on_.Control(control);
        RECT place;
        ::GetWindowRect(window, &place);
        ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&place), 2);
        return {place.left, place.top, place.right - place.left, place.bottom - place.top};
    }
    std::optional<form::ControlId> ParentOf(form::ControlId control) override {
        return IdOf(::GetParent(on_.Control(control)));
    }
    ShownFont FontOf(form::ControlId control, int dpi) override {
        const auto font =
            reinterpret_cast<HFONT>(::SendMessageW(on_.Control(control), WM_GETFONT, 0, 0));
        LOGFONTW asked{};
        ::GetObjectW(font, sizeof asked, &asked);
        return {Utf8FromWide(asked.lfFaceName), -asked.lfHeight * 72.0 / dpi,
                asked.lfWeight >= FW_BOLD, Utf8FromWide(ResolvedFace(font))};
    }
    form::Font DefaultFont() override { return {"MS Shell Dlg 2", 8}; }
    form::TextAlign Alignment(form::ControlId label) override {
        switch (::GetWindowLongPtrW(on_.Control(label), GWL_STYLE) & SS_TYPEMASK) {
        case SS_LEFT: return form::TextAlign::Left;
        case SS_RIGHT: return form::TextAlign::Right;
        default: return form::TextAlign::Centre;
        }
    }
    bool IsChecked(form::ControlId option) override {
        return ::SendMessageW(on_.Control(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    bool IsEditable(form::ControlId textBox) override {
        return (::GetWindowLongPtrW(on_.Control(textBox), GWL_STYLE) & ES_READONLY) == 0;
    }
    // A screen reader names a text box by the label just before it in the stacking order.
    std::optional<form::ControlId> LabelOf(form::ControlId control) override {
        const std::optional<form::ControlId> before =
            IdOf(::GetWindow(on_.Control(control), GW_HWNDPREV));
        return before && form::ControlOf(form_, *before).Kind == form::ControlKind::Label
                   ? before
                   : std::nullopt;
    }
    // The status line is a polite live region, and an announcement raises its change. (Wine has
    // no annotation service to make it one, and no screen reader to say it; the event is what
    // the program does.)
    Heard HearDuring(form::ControlId control, const std::function<void()>& act) override {
        static std::vector<std::pair<DWORD, HWND>> events;
        events.clear();
        HWINEVENTHOOK hook = ::SetWinEventHook(
            EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
            [](HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
                if (object == OBJID_CLIENT) {
                    events.emplace_back(event, window);
                }
            },
            ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        act();
        Pump();
        ::UnhookWinEvent(hook);
        const HWND window = on_.Control(control);
        const auto raised = [window](DWORD event) {
            return std::ranges::find(events, std::pair{event, window}) != events.end();
        };
        // A label is named by its text.
        const std::string name = Utf8FromWide(TextOf(window));
        return {raised(EVENT_OBJECT_NAMECHANGE),
                raised(EVENT_OBJECT_LIVEREGIONCHANGED) ? std::vector{name}
                                                       : std::vector<std::string>{},
                name};
    }
    std::vector<std::string> MenuBar() override { return Items(::GetMenu(on_.Handle())); }
    std::vector<std::string> MenuItems(std::size_t menu) override {
        return Items(::GetSubMenu(::GetMenu(on_.Handle()), static_cast<int>(menu)));
    }
    SeenMessageBox ShowMessageBox(const std::string& message, const std::string& title,
                                  MessageBoxIcon icon) override {
        // Over its window, as a person sees it.
        on_.Watcher.ShootNextBox(L"message-box.png");
        const std::size_t before = on_.Watcher.Boxes().size();
        on_.Desktop.ShowMessageBox(*on_.Port, message, title, icon);
        return LastBox(before);
    }
    std::pair<bool, SeenMessageBox> Ask(const std::string& question, const std::string& title,
                                        bool yes) override {
        on_.Watcher.AnswerQuestionsWith(yes ? IDYES : IDNO);
        const std::size_t before = on_.Watcher.Boxes().size();
        const bool answer = on_.Desktop.AskYesNo(*on_.Port, question, title);
        return {answer, LastBox(before)};
    }
    SeenModal ShowModal(FormPort& modal, const form::Form& form, form::ControlId button) override {
        SeenModal seen;
        DuringNextPump([&] {
            const HWND shown = ShownWindow(Wide(form.Caption));
            if (shown != nullptr) {
                seen = {true, ::GetWindow(shown, GW_OWNER) == on_.Handle(),
                        ::IsWindowEnabled(on_.Handle()) == FALSE};
                ::SendMessageW(ControlIn(shown, button), BM_CLICK, 0, 0);
            }
        });
        modal.ShowModal();
        seen.OwnerFreedAfter = ::IsWindowEnabled(on_.Handle()) != FALSE;
        return seen;
    }
    std::string Clipboard() override {
        std::string text;
        if (::OpenClipboard(on_.Handle())) {
            if (const auto* copied =
                    static_cast<const wchar_t*>(::GetClipboardData(CF_UNICODETEXT))) {
                text = Utf8FromWide(copied);
            }
            ::CloseClipboard();
        }
        return text;
    }
    std::string_view LineEnd() override { return "\r\n"; }

    void Shoot(const std::string& file) override {
        shot_ = test::Shoot(on_.Handle(), WideFromUtf8(file));
    }
    form::Colour ShotAt(Point at) override {
        POINT screen{at.X, at.Y};
        ::ClientToScreen(on_.Handle(), &screen);
        return Colour(shot_->At(screen));
    }
    std::optional<form::ControlId> TopAt(Point at) override {
        // From the window down to the innermost of its controls there.
        HWND top = on_.Handle();
        POINT inTop{at.X, at.Y};
        for (HWND child = ::ChildWindowFromPointEx(top, inTop, CWP_SKIPINVISIBLE);
             child != nullptr && child != top;
             child = ::ChildWindowFromPointEx(top, inTop, CWP_SKIPINVISIBLE)) {
            ::MapWindowPoints(top, child, &inTop, 1);
            top = child;
        }
        return IdOf(top);
    }
    std::optional<Point> PointOnTop(form::ControlId control) override {
        const HWND window = on_.Control(control);
        RECT client;
        ::GetClientRect(window, &client);
        for (const LONG x : {client.right - 4, client.left + 3}) {
            POINT at{x, client.bottom / 2};
            ::MapWindowPoints(window, on_.Handle(), &at, 1);
            if (TopAt({at.x, at.y}) == control) {
                return Point{at.x, at.y};
            }
        }
        return std::nullopt;
    }
    form::Colour PictureAt(form::ControlId control, Point at) override {
        const HWND picture = on_.Control(control);
        POINT inPicture{at.X, at.Y};
        ::MapWindowPoints(on_.Handle(), picture, &inPicture, 1);
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ previous = ::SelectObject(
            dc, reinterpret_cast<HBITMAP>(::SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)));
        const COLORREF colour = ::GetPixel(dc, inPicture.x, inPicture.y);
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
        return Colour(colour);
    }

    HWND Handle() const { return on_.Handle(); }

private:
    // The control that `window` is; nothing: none of the form's.
    std::optional<form::ControlId> IdOf(HWND window) const {
        for (const form::Control& c : form_.Controls) {
            if (on_.Control(c.Id) == window) {
                return c.Id;
            }
        }
        return std::nullopt;
    }
    // The one box shown after `before` boxes.
    SeenMessageBox LastBox(std::size_t before) const {
        const std::vector<SeenBox> boxes = on_.Watcher.Boxes();
        if (boxes.size() != before + 1) {
            return {};
        }
        const SeenBox& box = boxes.back();
        const auto icon = [&box](int id) {
            return box.Icon == ::LoadIconW(nullptr, MAKEINTRESOURCEW(id));
        };
        const auto caption = [](std::wstring text) {
            std::erase(text, L'&');
            return Utf8FromWide(text);
        };
        SeenMessageBox seen{Utf8FromWide(box.Title),
                            Lines(box.Text),
                            icon(32513)   ? "stop"
                            : icon(32514) ? "question"
                                          : "",
                            {},
                            caption(box.Default),
                            box.Owner == on_.Handle()};
        for (const std::wstring& button : box.Buttons) {
            seen.Buttons.push_back(caption(button));
        }
        return seen;
    }
    static form::Colour Colour(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }
    // The command of the menu item at the item's place in its form's menus.
    UINT Command(form::MenuId item) const {
        const std::vector<form::Menu>& menus = form_.Menus;
        for (std::size_t m = 0; m < menus.size(); ++m) {
            for (std::size_t i = 0; i < menus[m].Items.size(); ++i) {
                if (menus[m].Items[i].Id == item) {
                    return ::GetMenuItemID(
                        ::GetSubMenu(::GetMenu(on_.Handle()), static_cast<int>(m)),
                        static_cast<int>(i));
                }
            }
        }
        return 0;
    }
    // Captions in order, "-" for a separator, a Ctrl key after a tab.
    static std::vector<std::string> Items(HMENU menu) {
        std::vector<std::string> items;
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            wchar_t text[128] = {};
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = 128;
            ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
            items.push_back((info.fType & MFT_SEPARATOR) != 0 ? "-" : Utf8FromWide(text));
        }
        return items;
    }
    const form::Form& form_;
    FormOn on_;
    std::unique_ptr<Screenshot> shot_;
};

} // namespace

std::unique_ptr<HostedForm> ShowForm(const form::Form& form) {
    return std::make_unique<Win32HostedForm>(form);
}

HWND HandleOf(HostedForm& on) {
    return static_cast<Win32HostedForm&>(on).Handle();
}

} // namespace kelbrin::test
