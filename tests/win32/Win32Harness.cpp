#include "Win32Harness.h"

#include <array>
#include <chrono>
#include <commctrl.h>
#include <objidl.h>
#include <utility>
// GDI+ writes the PNG files; its headers use min and max unqualified.
using std::max; // NOLINT(misc-unused-using-decls): used by <gdiplus.h>
using std::min; // NOLINT(misc-unused-using-decls)
#include <gdiplus.h>

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

// The colour of a pixel of a bitmap.
COLORREF PixelOf(HBITMAP bitmap, POINT at) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    const COLORREF colour = ::GetPixel(dc, at.x, at.y);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    return colour;
}

HBITMAP PictureOf(HWND picture) {
    return reinterpret_cast<HBITMAP>(::SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

// A window's text without `dropped`: a caption's access keys, or the CR of the CR LF that
// ends a box's lines.
std::string TextWithout(HWND window, char dropped) {
    std::string text = Utf8FromWide(WindowText(window));
    std::erase(text, dropped);
    return text;
}

SeenMessageBox Read(HWND box, HWND window) {
    const auto defaultId = ::SendMessageW(box, DM_GETDEFID, 0, 0);
    int defaultButton = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : 0;
    SeenMessageBox seen{TextWithout(box, '\r'),
                        TextWithout(::GetDlgItem(box, 0xFFFF), '\r'),
                        {},
                        {},
                        {},
                        ::GetWindow(box, GW_OWNER) == window};
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
        if (!::IsWindowVisible(child)) {
            continue;
        }
        if (ClassOf(child) == L"Button") {
            seen.Buttons.push_back(TextWithout(child, '&'));
            if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                defaultButton = ::GetDlgCtrlID(child);
            }
        } else if (ClassOf(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
            const auto icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
            seen.Icon = icon == ::LoadIconW(nullptr, MAKEINTRESOURCEW(32513))   ? "stop"
                        : icon == ::LoadIconW(nullptr, MAKEINTRESOURCEW(32514)) ? "question"
                                                                                : "";
        }
    }
    seen.Default = TextWithout(::GetDlgItem(box, defaultButton), '&');
    return seen;
}

} // namespace

BoxWatcher::BoxWatcher(HWND window)
    : window_(window), watcher_([this] {
          while (!stop_) {
              ::EnumThreadWindows(
                  ::GetWindowThreadProcessId(window_, nullptr),
                  [](HWND shown, LPARAM self) {
                      if (ClassOf(shown) == L"#32770" && ::IsWindowVisible(shown)) {
                          reinterpret_cast<BoxWatcher*>(self)->Close(shown);
                      }
                      return TRUE;
                  },
                  reinterpret_cast<LPARAM>(this));
              std::this_thread::sleep_for(std::chrono::milliseconds(5));
          }
      }) {}

BoxWatcher::~BoxWatcher() {
    stop_ = true;
    watcher_.join();
}

void BoxWatcher::Answer(int command) {
    const std::lock_guard lock(mutex_);
    answer_ = command;
}

void BoxWatcher::ShootNext(const std::wstring& file) {
    const std::lock_guard lock(mutex_);
    shootNext_ = file;
}

std::vector<SeenMessageBox> BoxWatcher::Take() {
    const std::lock_guard lock(mutex_);
    return std::exchange(boxes_, {});
}

void BoxWatcher::Close(HWND box) {
    const std::lock_guard lock(mutex_);
    if (std::ranges::find(closed_, box) != closed_.end()) {
        return;
    }
    boxes_.push_back(Read(box, window_));
    if (!shootNext_.empty()) {
        // Over its owner, as a person sees it.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        RECT all;
        HBITMAP shot = Capture({::GetWindow(box, GW_OWNER), box}, all);
        SavePng(shot, std::exchange(shootNext_, {}));
        ::DeleteObject(shot);
    }
    closed_.push_back(box);
    const int command = ::GetDlgItem(box, IDYES) != nullptr ? answer_ : IDOK;
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

void ForgetClosedWindows() {
    // An action that no run reached must not reach the next test's window.
    pumpActions.clear();
    Pump();
    // The last window closed asks the thread to quit; the next test's windows live on it.
    MSG quit;
    while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
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

void Press(WPARAM key) {
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 0);
    Pump();
}

HWND ShownWindow(const std::wstring& title) {
    std::pair<const std::wstring*, HWND> search{&title, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM data) {
            auto& [wanted, found] = *reinterpret_cast<decltype(search)*>(data);
            if (::IsWindowVisible(window) && WindowText(window) == *wanted) {
                found = window;
            }
            return found == nullptr ? TRUE : FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND ControlIn(HWND top, form::ControlId id) {
    std::pair<int, HWND> search{win32::ChildId(id), nullptr};
    ::EnumChildWindows(
        top,
        [](HWND child, LPARAM data) {
            auto& [wanted, found] = *reinterpret_cast<decltype(search)*>(data);
            if (::GetDlgCtrlID(child) == wanted) {
                found = child;
            }
            return found == nullptr ? TRUE : FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::unique_ptr<Screenshot> Shoot(HWND window, const std::wstring& file) {
    // As on a screen: whatever waits to be painted is painted first.
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    auto shot = std::make_unique<Screenshot>();
    RECT onScreen;
    HBITMAP bitmap = Capture({window}, onScreen);
    SavePng(bitmap, file);
    shot->Origin = {onScreen.left, onScreen.top};
    shot->Width = onScreen.right - onScreen.left;
    const LONG height = onScreen.bottom - onScreen.top;
    BITMAPINFO format{};
    format.bmiHeader = {
        sizeof(BITMAPINFOHEADER), shot->Width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<RGBQUAD> bits(static_cast<std::size_t>(shot->Width * height));
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), bits.data(), &format, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(bitmap);
    for (const RGBQUAD& pixel : bits) {
        shot->Pixels.push_back(RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue));
    }
    return shot;
}

// High contrast, white text on black, is the dark theme Windows offers.
struct DarkTheme::Saved {
    static constexpr std::array<int, 5> kElements{COLOR_WINDOWTEXT, COLOR_BTNTEXT, COLOR_WINDOW,
                                                  COLOR_BTNFACE, COLOR_GRAYTEXT};
    std::vector<COLORREF> Colours;
};

DarkTheme::DarkTheme() : saved_(std::make_unique<Saved>()) {
    for (const int element : Saved::kElements) {
        saved_->Colours.push_back(::GetSysColor(element));
    }
    const std::vector<COLORREF> contrast{RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0),
                                         RGB(0, 0, 0), RGB(0, 255, 0)};
    ::SetSysColors(static_cast<int>(Saved::kElements.size()), Saved::kElements.data(),
                   contrast.data());
}

DarkTheme::~DarkTheme() {
    ::SetSysColors(static_cast<int>(Saved::kElements.size()), Saved::kElements.data(),
                   saved_->Colours.data());
}

void UseCommonControls() {
    static const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    static const bool loaded = ::InitCommonControlsEx(&controls) != FALSE;
    (void)loaded;
}

FormOn::FormOn(const form::Form& form, FormPort* owner) {
    UseCommonControls();
    Events.Form = &form;
    Port = Desktop.OpenForm(form, Events, owner);
    Port->Show();
    watcher_ = std::make_unique<BoxWatcher>(Handle());
    Pump();
}

FormOn::~FormOn() {
    watcher_.reset();
    Port.reset();
    ForgetClosedWindows();
}

// A multi-line box's text is its lines as it breaks them, so that an LF alone shows as a line
// break.
ControlState FormOn::StateOf(form::ControlId control) {
    const HWND window = Control(control);
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    const form::ControlKind kind = form::ControlOf(Form(), control).Kind;
    RECT place;
    ::GetWindowRect(window, &place);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    LOGFONTW asked{};
    ::GetObjectW(font, sizeof asked, &asked);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    ::SelectObject(dc, previous);
    ::ReleaseDC(nullptr, dc);
    BITMAP image{};
    ::GetObjectW(PictureOf(window), sizeof image, &image);
    // A screen reader names a text box by the label just before it in the stacking order.
    const std::optional<form::ControlId> before = IdOf(::GetWindow(window, GW_HWNDPREV));
    ControlState state{Utf8FromWide(WindowText(window)),
                       ::IsWindowVisible(window) != FALSE,
                       ::IsWindowEnabled(window) != FALSE,
                       {place.left, place.top, place.right - place.left, place.bottom - place.top},
                       IdOf(::GetParent(window)),
                       Utf8FromWide(asked.lfFaceName),
                       static_cast<double>(-asked.lfHeight),
                       asked.lfWeight >= FW_BOLD,
                       Utf8FromWide(face),
                       (style & SS_TYPEMASK) == SS_LEFT    ? form::TextAlign::Left
                       : (style & SS_TYPEMASK) == SS_RIGHT ? form::TextAlign::Right
                                                           : form::TextAlign::Centre,
                       ::SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED,
                       (style & ES_READONLY) == 0,
                       before && form::ControlOf(Form(), *before).Kind == form::ControlKind::Label
                           ? before
                           : std::nullopt,
                       {image.bmWidth, image.bmHeight}};
    if ((style & ES_MULTILINE) != 0 && kind == form::ControlKind::TextBox) {
        state.Text.clear();
        const auto count = ::SendMessageW(window, EM_GETLINECOUNT, 0, 0);
        for (LRESULT line = 0; line < count; ++line) {
            std::wstring text(1024, L'\0');
            text[0] = static_cast<wchar_t>(text.size());
            text.resize(static_cast<std::size_t>(
                ::SendMessageW(window, EM_GETLINE, static_cast<WPARAM>(line),
                               reinterpret_cast<LPARAM>(text.data()))));
            state.Text += (line != 0 ? "\n" : "") + Utf8FromWide(text);
        }
    }
    return state;
}

WindowState FormOn::State() {
    RECT client;
    ::GetClientRect(Handle(), &client);
    WindowState state{Utf8FromWide(WindowText(Handle())),
                      {client.right, client.bottom},
                      ::GetWindow(Handle(), GW_OWNER) != nullptr,
                      IdOf(::GetFocus())};
    // Captions in order, "-" for a separator, a Ctrl key after a tab.
    const auto items = [](HMENU menu) {
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
    };
    state.MenuBar = items(::GetMenu(Handle()));
    for (std::size_t m = 0; m < Form().Menus.size(); ++m) {
        state.Menus.push_back(items(::GetSubMenu(::GetMenu(Handle()), static_cast<int>(m))));
    }
    return state;
}

// The status line is a polite live region, and an announcement raises its change. (Wine has
// no annotation service to make it one, and no screen reader to say it; the event is what
// the program does.)
Heard FormOn::HearDuring(form::ControlId control, const std::function<void()>& act) {
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
    const HWND window = Control(control);
    const auto raised = [window](DWORD event) {
        return std::ranges::find(events, std::pair{event, window}) != events.end();
    };
    // A label is named by its text.
    const std::string name = Utf8FromWide(WindowText(window));
    return {raised(EVENT_OBJECT_NAMECHANGE),
            raised(EVENT_OBJECT_LIVEREGIONCHANGED) ? std::vector{name} : std::vector<std::string>{},
            name};
}

std::string FormOn::Clipboard() {
    std::string text;
    if (::OpenClipboard(Handle())) {
        if (const auto* copied = static_cast<const wchar_t*>(::GetClipboardData(CF_UNICODETEXT))) {
            text = Utf8FromWide(copied);
        }
        ::CloseClipboard();
    }
    return text;
}

// Inside a control's client area, which leaves out a text box's border and scroll bars.
std::vector<form::Colour> FormOn::ShotInside(form::ControlId control) {
    const HWND window = Control(control);
    RECT inside;
    ::GetClientRect(window, &inside);
    ::InflateRect(&inside, -kMargin, -kMargin);
    ::MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&inside), 2);
    std::vector<form::Colour> pixels;
    for (LONG y = inside.top; y < inside.bottom; ++y) {
        for (LONG x = inside.left; x < inside.right; ++x) {
            pixels.push_back(Colour(shot_->At({x, y})));
        }
    }
    return pixels;
}

std::optional<form::ControlId> FormOn::TopAt(Point at) {
    // From the window down to the innermost of its controls there.
    HWND top = Handle();
    POINT inTop{at.X, at.Y};
    for (HWND child = ::ChildWindowFromPointEx(top, inTop, CWP_SKIPINVISIBLE);
         child != nullptr && child != top;
         child = ::ChildWindowFromPointEx(top, inTop, CWP_SKIPINVISIBLE)) {
        ::MapWindowPoints(top, child, &inTop, 1);
        top = child;
    }
    return IdOf(top);
}

std::optional<Point> FormOn::PointOnTop(form::ControlId control) {
    const HWND window = Control(control);
    RECT client;
    ::GetClientRect(window, &client);
    for (const LONG x : {client.right - 4, client.left + 3}) {
        POINT at{x, client.bottom / 2};
        ::MapWindowPoints(window, Handle(), &at, 1);
        if (TopAt({at.x, at.y}) == control) {
            return Point{at.x, at.y};
        }
    }
    return std::nullopt;
}

form::Colour FormOn::PictureAt(form::ControlId control, Point at) {
    POINT inPicture{at.X, at.Y};
    ::MapWindowPoints(Handle(), Control(control), &inPicture, 1);
    return Colour(PixelOf(PictureOf(Control(control)), inPicture));
}

std::optional<form::ControlId> FormOn::IdOf(HWND window) const {
    for (const form::Control& c : Form().Controls) {
        if (win32::ChildId(c.Id) == ::GetDlgCtrlID(window) && Control(c.Id) == window) {
            return c.Id;
        }
    }
    return std::nullopt;
}

UINT FormOn::Command(form::MenuId item) const {
    const std::vector<form::Menu>& menus = Form().Menus;
    for (std::size_t m = 0; m < menus.size(); ++m) {
        for (std::size_t i = 0; i < menus[m].Items.size(); ++i) {
            if (menus[m].Items[i].Id == item) {
                return ::GetMenuItemID(::GetSubMenu(::GetMenu(Handle()), static_cast<int>(m)),
                                       static_cast<int>(i));
            }
        }
    }
    return 0;
}

std::unique_ptr<HostedForm> ShowForm(const form::Form& form) {
    return std::make_unique<FormOn>(form);
}

} // namespace kelbrin::test
