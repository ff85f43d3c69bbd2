#include "Win32FormHost.h"

#include <algorithm>
#include <commctrl.h>
#include <cstring>
#include <uxtheme.h>

#include "AnsiText.h"
#include "ColourButton.h"
#include "ControlIds.h"
#include "Dpi.h"
#include "DrawingControl.h"
#include "EventPump.h"
#include "FolderChoice.h"
#include "ScreenReaderAnnotations.h"
#include "Win32Resources.h"

namespace kelbrin::win32 {

namespace {

constexpr const wchar_t* kFormClass = L"KelbrinForm";
constexpr const wchar_t* kFrameClass = L"KelbrinFrame";
// Fixed in size: nothing re-lays out the controls.
constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// A box over its owner cannot be minimised away from it.
constexpr DWORD kBoxStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// A window too large for its screen's work area is laid out smaller, down to this.
constexpr UINT kSmallestDpi = 48;

COLORREF Rgb(form::Colour colour) {
    return RGB(colour.Red, colour.Green, colour.Blue);
}

std::vector<Win32FormHost*>& OpenWindows() {
    static std::vector<Win32FormHost*> open;
    return open;
}

// A text's lines may end in LF; an edit control wants CR LF.
std::wstring WindowsLines(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            lines += '\r';
        }
        lines += text[i];
    }
    return Widen(lines);
}

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
            std::wstring caption = Widen(item.Caption);
            if (item.CtrlKey != 0) {
                caption += std::wstring(L"\tCtrl+") + static_cast<wchar_t>(item.CtrlKey);
            }
            ::AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(CommandId(item.Id)),
                          caption.c_str());
        }
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                      Widen(menu.Caption).c_str());
    }
    return bar;
}

// The Ctrl keys of the menu items; none: nullptr.
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
    return keys.empty() ? nullptr
                        : ::CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

// A frame passes its controls' notifications on to the form, and asks the form for its own
// colour as they do.
LRESULT CALLBACK FrameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: return ::SendMessageW(::GetParent(frame), message, wParam, lParam);
    case WM_ERASEBKGND: return 1; // painted whole below
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(frame, &paint);
        RECT inside;
        ::GetClientRect(frame, &inside);
        const auto interior = reinterpret_cast<HBRUSH>(
            ::SendMessageW(::GetParent(frame), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(frame)));
        ::FillRect(dc, &inside, interior);
        ::DrawEdge(dc, &inside, EDGE_ETCHED, BF_RECT);
        ::EndPaint(frame, &paint);
        return 0;
    }
    default: return ::DefWindowProcW(frame, message, wParam, lParam);
    }
}

void RegisterClasses(WNDPROC formProcedure) {
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = formProcedure;
    form.hInstance = instance;
    form.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    // A program without the icon (a test) gets the system's.
    form.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(KELBRIN_PROGRAM_ICON),
                                                 IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    form.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(KELBRIN_PROGRAM_ICON),
                                                   IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), 0));
    form.lpszClassName = kFormClass;
    ::RegisterClassExW(&form);

    WNDCLASSEXW frame{};
    frame.cbSize = sizeof frame;
    frame.lpfnWndProc = FrameProcedure;
    frame.hInstance = instance;
    frame.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    frame.lpszClassName = kFrameClass;
    ::RegisterClassExW(&frame);
}

HWND CreateControl(const form::Control& control, HWND parent, bool tabStop) {
    using enum form::ControlKind;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (control.Visible ? WS_VISIBLE : 0) |
                  (tabStop ? WS_TABSTOP : 0) | (control.Kind == OptionButton ? 0 : WS_GROUP);
    DWORD exStyle = 0;
    const wchar_t* windowClass = L"STATIC";
    switch (control.Kind) {
    case Frame:
        windowClass = kFrameClass;
        style |= WS_CLIPCHILDREN;
        exStyle = WS_EX_CONTROLPARENT;
        break;
    case TextBox:
        windowClass = L"EDIT";
        style |= (control.Editable ? 0 : ES_READONLY) |
                 (control.MultiLine ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL);
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case PushButton:
        windowClass = L"BUTTON";
        // A themed button ignores any colour but the theme's.
        style |= control.Back ? BS_OWNERDRAW : BS_PUSHBUTTON;
        break;
    case OptionButton:
        windowClass = L"BUTTON";
        style |= BS_AUTORADIOBUTTON;
        break;
    case Label:
        style |= SS_NOPREFIX | (control.Align == form::TextAlign::Left    ? SS_LEFT
                                : control.Align == form::TextAlign::Right ? SS_RIGHT
                                                                          : SS_CENTER);
        break;
    case Picture: style |= SS_BITMAP; break;
    case Shape:
        // An empty static fills itself with the brush its colour message returns.
        break;
    case Drawing: windowClass = DrawingClass(); break;
    }
    HWND window = ::CreateWindowExW(
        exStyle, windowClass, control.Kind == TextBox ? L"" : Widen(control.Caption).c_str(), style,
        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ChildId(control.Id))),
        ::GetModuleHandleW(nullptr), nullptr);
    // A themed option button draws its caption in the theme's colour, not in its own.
    if (control.Kind == OptionButton && control.Fore) {
        ::SetWindowTheme(window, L"", L"");
    }
    if (control.Selected) {
        ::SendMessageW(window, BM_SETCHECK, BST_CHECKED, 0);
    }
    return window;
}

// The picture's bitmap at its natural size, 96 of its pixels to the inch.
HBITMAP LoadPicture(form::Picture picture, UINT dpi) {
    if (picture == form::Picture::None) {
        return nullptr;
    }
    const int resource = picture == form::Picture::SampleExpanded ? KELBRIN_SAMPLE_EXPANDED_BITMAP
                                                                  : KELBRIN_SAMPLE_ORIGINAL_BITMAP;
    auto* bitmap =
        static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr || dpi == 96) {
        return bitmap;
    }
    BITMAP size{};
    ::GetObjectW(bitmap, sizeof size, &size);
    return static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP,
                                            ::MulDiv(size.bmWidth, static_cast<int>(dpi), 96),
                                            ::MulDiv(size.bmHeight, static_cast<int>(dpi), 96),
                                            LR_CREATEDIBSECTION | LR_COPYDELETEORG));
}

// Sizes `window` so that its client area is `client`, whatever its frame and menu bar take at
// its DPI. A second pass makes up for a menu bar that the first size made wrap or unwrap.
void SetClientSize(HWND window, SIZE client) {
    for (int pass = 0; pass < 2; ++pass) {
        RECT outer;
        RECT inner;
        ::GetWindowRect(window, &outer);
        ::GetClientRect(window, &inner);
        ::SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + client.cx - inner.right,
                       outer.bottom - outer.top + client.cy - inner.bottom,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool CanTakeFocus(HWND control) {
    return control != nullptr && ::IsWindowVisible(control) && ::IsWindowEnabled(control);
}

// The place of `control` in its parent's client area.
RECT PlaceInParent(HWND control) {
    RECT place;
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

bool IsChecked(HWND option) {
    return ::SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

} // namespace

Win32FormHost::Win32FormHost(const form::Form& description, FormEvents& events,
                             Win32FormHost* owner)
    : description_(description), events_(events),
      owner_(owner != nullptr ? owner->Handle() : nullptr),
      accelerators_(CreateAccelerators(description.Menus)) {
    RegisterClasses(WindowProcedure);
    HMENU menu = description.Menus.empty() ? nullptr : CreateMenuBar(description.Menus);
    ::CreateWindowExW(0, kFormClass, Widen(description.Caption).c_str(),
                      owner_ != nullptr ? kBoxStyle : kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0,
                      0, owner_, menu, ::GetModuleHandleW(nullptr), this);
    screenDpi_ = dpi_ = WindowDpi(window_);
    fonts_ = std::make_unique<FontSet>(dpi_);
    annotations_ = std::make_unique<ScreenReaderAnnotations>();
    CreateChildren(std::nullopt, window_);
    LayOut();
    // A text box takes its text once it has its size and font, which its scroll bar follows.
    for (const Child& child : children_) {
        if (child.Control->Kind == form::ControlKind::TextBox) {
            SetText(child.Control->Id, std::string(child.Control->Caption));
        }
    }
    FitInWorkArea();
}

Win32FormHost::~Win32FormHost() {
    // The form is going: its handlers must not be reached any more.
    closing_ = true;
    Close();
    for (const auto& [colour, brush] : brushes_) {
        ::DeleteObject(brush);
    }
    if (accelerators_ != nullptr) {
        ::DestroyAcceleratorTable(accelerators_);
    }
}

HWND Win32FormHost::ControlHandle(form::ControlId id) const {
    for (const Child& child : children_) {
        if (child.Control->Id == id) {
            return child.Window;
        }
    }
    return nullptr;
}

Win32FormHost::Child* Win32FormHost::ChildOf(form::ControlId id) {
    for (Child& child : children_) {
        if (child.Control->Id == id) {
            return &child;
        }
    }
    return nullptr;
}

void Win32FormHost::SetCaption(form::ControlId control, const std::string& caption) {
    HWND window = ControlHandle(control);
    ::SetWindowTextW(window, Widen(caption).c_str());
    // A caption is the control's name for screen readers: the status line is read as it changes.
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void Win32FormHost::Announce(form::ControlId control, const std::string& caption) {
    SetCaption(control, caption);
    // A status line is a polite live region (ScreenReaderAnnotations): its screen reader says
    // what it shows once the change is raised, wherever the focus is.
    ::NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, ControlHandle(control), OBJID_CLIENT,
                     CHILDID_SELF);
}

std::string Win32FormHost::Caption(form::ControlId control) const {
    return Narrow(WindowText(ControlHandle(control)));
}

void Win32FormHost::SetText(form::ControlId control, const std::string& text) {
    ::SetWindowTextW(ControlHandle(control), form::ControlOf(description_, control).HoldsPath
                                                 ? WidePathText(text).c_str()
                                                 : WindowsLines(text).c_str());
    if (const Child* box = ChildOf(control); box->Control->MultiLine && !box->Control->WrapsLines) {
        SetBoxFont(*box);
    }
}

void Win32FormHost::SetBoxFont(const Child& box) {
    const form::Font& font = box.Control->TextFont;
    const auto use = [&box](HFONT handle) {
        ::SendMessageW(box.Window, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
        // The help pages are written for 79 columns of a fixed-pitch font, which fill their
        // box but for a pixel or two: the usual margins, set anew with each font, would make
        // the box break every full line again.
        ::SendMessageW(box.Window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 0));
    };
    use(fonts_->Get(font));
    if (!box.Control->MultiLine || box.Control->WrapsLines) {
        return;
    }
    // A font's advances round to whole pixels at each DPI in their own way, while the box grows
    // in proportion: at 120 DPI Courier New's characters are 9 pixels wide where the box has
    // room for 8.75, and every full line would break again.
    RECT room;
    ::SendMessageW(box.Window, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    HDC dc = ::GetDC(box.Window);
    HGDIOBJ previous = ::SelectObject(dc, fonts_->Get(font));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    LONG widest = 0;
    const std::wstring text = WindowText(box.Window);
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        // Tab stops every 8 average characters, as the box sets them.
        const DWORD extent = ::GetTabbedTextExtentW(dc, text.data() + start,
                                                    static_cast<int>(end - start), 0, nullptr);
        widest = std::max<LONG>(widest, LOWORD(extent));
        start = end + 2;
    }
    ::SelectObject(dc, previous);
    ::ReleaseDC(box.Window, dc);
    const LONG width = room.right - room.left;
    if (widest > width) {
        use(fonts_->Get(font, std::max<LONG>(1, metrics.tmAveCharWidth * width / widest)));
    }
}

std::string Win32FormHost::Text(form::ControlId control) const {
    const std::wstring text = WindowText(ControlHandle(control));
    return form::ControlOf(description_, control).HoldsPath ? PathFromWide(text) : Narrow(text);
}

void Win32FormHost::SetEnabled(form::ControlId control, bool enabled) {
    ::EnableWindow(ControlHandle(control), enabled ? TRUE : FALSE);
}

void Win32FormHost::SetEnabled(form::MenuId item, bool enabled) {
    ::EnableMenuItem(::GetMenu(window_), static_cast<UINT>(CommandId(item)),
                     MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32FormHost::SetVisible(form::ControlId control, bool visible) {
    ::ShowWindow(ControlHandle(control), visible ? SW_SHOW : SW_HIDE);
}

void Win32FormHost::SetFocus(form::ControlId control) {
    ::SetFocus(ControlHandle(control));
}

void Win32FormHost::SetPicture(form::ControlId control, form::Picture picture) {
    ChildOf(control)->Shows = picture;
    LayOut();
}

void Win32FormHost::SetDrawing(form::ControlId control, const form::Drawing& drawing) {
    win32::SetDrawing(ControlHandle(control), drawing);
}

void Win32FormHost::SetTitleName(const std::string& name) {
    std::wstring title = Widen(description_.Caption);
    if (!name.empty()) {
        title += L" \u2013 " + WidePathText(name);
    }
    ::SetWindowTextW(window_, title.c_str());
}

void Win32FormHost::SetPathTip(form::ControlId control, const std::string& path) {
    HWND tipped = ControlHandle(control);
    if (pathTip_ == nullptr) {
        pathTip_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0,
                                     0, window_, nullptr, nullptr, nullptr);
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(tipped);
    std::wstring text = WidePathText(path);
    tool.lpszText = text.data();
    if (std::ranges::find(tipped_, tipped) == tipped_.end()) {
        tipped_.push_back(tipped);
        // A static control tells the tooltip of the mouse only when it notifies its parent.
        ::SetWindowLongPtrW(tipped, GWL_STYLE, ::GetWindowLongPtrW(tipped, GWL_STYLE) | SS_NOTIFY);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ::SendMessageW(pathTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
        ::SendMessageW(pathTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void Win32FormHost::TakeDrops(bool take) {
    ::DragAcceptFiles(window_, take ? TRUE : FALSE);
}

void Win32FormHost::Show() {
    if (::IsIconic(window_)) {
        ::ShowWindow(window_, SW_RESTORE);
    }
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
    ::UpdateWindow(window_);
}

void Win32FormHost::ShowModal() {
    ::EnableWindow(owner_, FALSE);
    Show();
    RunModalLoop([this] { return !IsOpen(); });
    ::EnableWindow(owner_, TRUE);
    ::SetActiveWindow(owner_);
}

void Win32FormHost::Close() {
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
}

bool Win32FormHost::IsOpen() const {
    return window_ != nullptr && ::IsWindowVisible(window_);
}

void Win32FormHost::OnCommand(int id, bool fromMenu) {
    if (fromMenu) {
        for (const form::Menu& menu : description_.Menus) {
            for (const form::MenuItem& item : menu.Items) {
                if (CommandId(item.Id) == id) {
                    events_.Choose(item.Id);
                    return;
                }
            }
        }
        return;
    }
    for (const Child& child : children_) {
        const form::ControlKind kind = child.Control->Kind;
        if (ChildId(child.Control->Id) == id &&
            (kind == form::ControlKind::PushButton || kind == form::ControlKind::OptionButton)) {
            events_.Click(child.Control->Id);
            return;
        }
    }
}

void Win32FormHost::CreateChildren(std::optional<form::ControlId> parent, HWND parentWindow) {
    HWND firstOption = nullptr;
    const std::vector<const form::Control*> order = form::StackingOrder(description_, parent);
    for (const form::Control* control : order) {
        const bool tabStop =
            std::ranges::find(description_.TabOrder, control->Id) != description_.TabOrder.end();
        HWND window = CreateControl(*control, parentWindow, tabStop);
        ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        children_.push_back({control, window, control->Shows, nullptr});
        annotations_->Give(window, description_, *control);
        if (control->Kind == form::ControlKind::OptionButton) {
            firstOption = window;
        }
        if (control->Kind == form::ControlKind::Frame) {
            CreateChildren(control->Id, window);
        }
    }
    // Option buttons form one group, for the arrow keys and for checking one of them: it
    // starts at the one that lies on top, the last made.
    if (firstOption != nullptr) {
        ::SetWindowLongPtrW(firstOption, GWL_STYLE,
                            ::GetWindowLongPtrW(firstOption, GWL_STYLE) | WS_GROUP);
    }
    // A screen reader names a text box by the label that comes just before it, the one just
    // above it in the stacking order: each label that names a box is put there, and paints
    // nothing over the box all the same (ClipLabels).
    for (const form::Control* control : order) {
        if (const auto [label, box] = LabelOf(*control); label != nullptr) {
            HWND above = ::GetWindow(box, GW_HWNDPREV);
            if (above != label) {
                ::SetWindowPos(label, above != nullptr ? above : HWND_TOP, 0, 0, 0, 0,
                               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
    }
}

std::pair<HWND, HWND> Win32FormHost::LabelOf(const form::Control& box) const {
    if (!box.LabelledBy ||
        form::ControlOf(description_, *box.LabelledBy).Kind != form::ControlKind::Label) {
        return {nullptr, nullptr};
    }
    HWND label = ControlHandle(*box.LabelledBy);
    HWND boxWindow = ControlHandle(box.Id);
    if (label == nullptr || boxWindow == nullptr || ::GetParent(label) != ::GetParent(boxWindow)) {
        return {nullptr, nullptr};
    }
    return {label, boxWindow};
}

void Win32FormHost::ClipLabels() {
    for (const Child& child : children_) {
        const auto [label, box] = LabelOf(*child.Control);
        if (label == nullptr) {
            continue;
        }
        const RECT labelPlace = PlaceInParent(label);
        const RECT boxPlace = PlaceInParent(box);
        RECT overlap;
        if (!::IntersectRect(&overlap, &labelPlace, &boxPlace)) {
            ::SetWindowRgn(label, nullptr, TRUE);
            continue;
        }
        ::OffsetRect(&overlap, -labelPlace.left, -labelPlace.top);
        HRGN region = ::CreateRectRgn(0, 0, labelPlace.right - labelPlace.left,
                                      labelPlace.bottom - labelPlace.top);
        HRGN cut = ::CreateRectRgnIndirect(&overlap);
        ::CombineRgn(region, region, cut, RGN_DIFF);
        ::DeleteObject(cut);
        // The window owns the region from here on.
        ::SetWindowRgn(label, region, TRUE);
    }
}

void Win32FormHost::LayOut() {
    const auto pixels = [this](std::int32_t twips) {
        return form::ToPixels(twips, static_cast<std::int32_t>(dpi_));
    };
    for (Child& child : children_) {
        const form::Twips& at = child.Control->At;
        SIZE size{pixels(at.Width), pixels(at.Height)};
        if (child.Control->Kind == form::ControlKind::Picture) {
            HBITMAP previous = child.Picture;
            child.Picture = LoadPicture(child.Shows, dpi_);
            ::SendMessageW(child.Window, STM_SETIMAGE, IMAGE_BITMAP,
                           reinterpret_cast<LPARAM>(child.Picture));
            if (previous != nullptr) {
                ::DeleteObject(previous);
            }
            BITMAP bitmap{};
            if (::GetObjectW(child.Picture, sizeof bitmap, &bitmap) != 0) {
                size = SIZE{bitmap.bmWidth, bitmap.bmHeight};
            }
        }
        ::SetWindowPos(child.Window, nullptr, pixels(at.Left), pixels(at.Top), size.cx, size.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        if (child.Control->Kind == form::ControlKind::TextBox) {
            SetBoxFont(child);
        } else {
            ::SendMessageW(child.Window, WM_SETFONT,
                           reinterpret_cast<WPARAM>(fonts_->Get(child.Control->TextFont)), FALSE);
        }
    }
    ClipLabels();
    SetClientSize(window_, SIZE{pixels(description_.Width), pixels(description_.Height)});
}

void Win32FormHost::LayOutAt(UINT dpi) {
    dpi_ = dpi;
    // The controls take the new fonts before the old ones are deleted.
    auto previous = std::move(fonts_);
    fonts_ = std::make_unique<FontSet>(dpi_);
    LayOut();
}

void Win32FormHost::FitInWorkArea() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    const RECT& work = monitor.rcWork;
    RECT outer;
    RECT inner;
    ::GetWindowRect(window_, &outer);
    ::GetClientRect(window_, &inner);
    const LONG roomWidth = (work.right - work.left) - ((outer.right - outer.left) - inner.right);
    const LONG roomHeight = (work.bottom - work.top) - ((outer.bottom - outer.top) - inner.bottom);
    // The largest layout, up to the screen's own, whose client area the work area holds: the
    // help window at 200 % is 1040 pixels high, more than a 1080-pixel screen leaves it.
    const auto fits = [this, roomWidth, roomHeight](UINT dpi) {
        const auto pixels = [dpi](std::int32_t twips) {
            return form::ToPixels(twips, static_cast<std::int32_t>(dpi));
        };
        return pixels(description_.Width) <= roomWidth && pixels(description_.Height) <= roomHeight;
    };
    UINT dpi = screenDpi_;
    while (dpi > kSmallestDpi && !fits(dpi)) {
        --dpi;
    }
    if (dpi != dpi_) {
        LayOutAt(dpi);
    }
    // Its frame inside the work area; its top-left corner, with the title bar, whatever else.
    ::GetWindowRect(window_, &outer);
    const LONG left =
        std::max(work.left, std::min(outer.left, work.right - (outer.right - outer.left)));
    const LONG top =
        std::max(work.top, std::min(outer.top, work.bottom - (outer.bottom - outer.top)));
    if (left != outer.left || top != outer.top) {
        ::SetWindowPos(window_, nullptr, left, top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32FormHost::Forget() {
    for (const Child& child : children_) {
        if (child.Picture != nullptr) {
            ::DeleteObject(child.Picture);
        }
    }
    children_.clear();
    window_ = nullptr;
    lastFocus_ = nullptr;
    auto& open = OpenWindows();
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
    if (open.empty()) {
        ::PostQuitMessage(0);
    }
}

const Win32FormHost::Child* Win32FormHost::ChildOfHandle(HWND window) const {
    for (const Child& child : children_) {
        if (child.Window == window) {
            return &child;
        }
    }
    return nullptr;
}

HBRUSH Win32FormHost::Brush(form::Colour colour) {
    HBRUSH& brush = brushes_[Rgb(colour)];
    if (brush == nullptr) {
        brush = ::CreateSolidBrush(Rgb(colour));
    }
    return brush;
}

std::optional<LRESULT> Win32FormHost::Colour(HDC dc, HWND control) {
    const Child* child = ChildOfHandle(control);
    if (child == nullptr) {
        return std::nullopt;
    }
    const form::Control& described = *child->Control;
    std::optional<form::Colour> back = described.Back;
    // A transparent label shows the surface it lies on.
    if (!back && described.Kind == form::ControlKind::Label) {
        back = described.Parent ? form::ControlOf(description_, *described.Parent).Back
                                : description_.Back;
    }
    if (!back) {
        return std::nullopt;
    }
    ::SetBkColor(dc, Rgb(*back));
    const std::optional<form::Colour> text = form::TextColour(described);
    ::SetTextColor(dc, text ? Rgb(*text) : ::GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(Brush(*back));
}

bool Win32FormHost::TranslateKeys(MSG& message) {
    if (message.hwnd == nullptr) {
        return false;
    }
    HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    for (Win32FormHost* window : OpenWindows()) {
        if (window->window_ == root) {
            return window->TranslateOwnKeys(message);
        }
    }
    return false;
}

bool Win32FormHost::TranslateOwnKeys(MSG& message) {
    if (accelerators_ != nullptr &&
        ::TranslateAcceleratorW(window_, accelerators_, &message) != 0) {
        return true;
    }
    // A box over its owner closes on Escape, and on Enter, which presses a push button that has
    // the focus, as in any dialog box; the multi-line text box would keep both for itself.
    if (owner_ != nullptr && message.message == WM_KEYDOWN &&
        (message.wParam == VK_ESCAPE || message.wParam == VK_RETURN)) {
        const Child* focused = ChildOfHandle(::GetFocus());
        if (message.wParam == VK_RETURN && focused != nullptr &&
            focused->Control->Kind == form::ControlKind::PushButton) {
            ::SendMessageW(focused->Window, BM_CLICK, 0, 0);
        } else {
            ::SendMessageW(window_, WM_CLOSE, 0, 0);
        }
        return true;
    }
    // Tab goes by the description's tab order, which need not be the stacking order that
    // dialog navigation would follow; a multi-line text box would keep Tab for itself.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
        ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0) {
        MoveFocus(::GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return true;
    }
    return ::IsDialogMessageW(window_, &message) != FALSE;
}

void Win32FormHost::MoveFocus(int step) {
    const std::vector<form::ControlId>& order = description_.TabOrder;
    const int count = static_cast<int>(order.size());
    HWND focus = ::GetFocus();
    int at = step > 0 ? -1 : 0;
    for (int i = 0; i < count; ++i) {
        if (ControlHandle(order[static_cast<std::size_t>(i)]) == focus) {
            at = i;
        }
    }
    for (int n = 1; n <= count; ++n) {
        const int next = ((at + n * step) % count + count) % count;
        HWND control = ControlHandle(order[static_cast<std::size_t>(next)]);
        if (CanTakeFocus(control) && StopsTab(control)) {
            ::SetFocus(control);
            // As in a dialog box: the text of a box reached by Tab is selected, and focus
            // rectangles show from now on.
            if ((::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
                ::SendMessageW(control, EM_SETSEL, 0, -1);
            }
            ::SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
            return;
        }
    }
}

HWND Win32FormHost::FocusOnActivation() const {
    if (::IsWindow(lastFocus_) && ::IsChild(window_, lastFocus_) && CanTakeFocus(lastFocus_)) {
        return lastFocus_;
    }
    for (const form::ControlId id : description_.TabOrder) {
        if (HWND control = ControlHandle(id); CanTakeFocus(control) && StopsTab(control)) {
            return control;
        }
    }
    return window_;
}

bool Win32FormHost::StopsTab(HWND control) const {
    // Of a group of option buttons Tab stops on the one checked, and the arrow keys move
    // between them; on every one while none is checked.
    const Child* child = ChildOfHandle(control);
    if (child == nullptr || child->Control->Kind != form::ControlKind::OptionButton ||
        IsChecked(control)) {
        return true;
    }
    return std::ranges::none_of(children_, [child](const Child& other) {
        return other.Control->Kind == form::ControlKind::OptionButton &&
               other.Control->Parent == child->Control->Parent && IsChecked(other.Window);
    });
}

LRESULT CALLBACK Win32FormHost::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Win32FormHost*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        OpenWindows().push_back(self);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32FormHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->Forget();
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT Win32FormHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Menu items and accelerators (no control), and pressed buttons; text boxes report
        // other things.
        if (!closing_ && (lParam == 0 || HIWORD(wParam) == BN_CLICKED)) {
            OnCommand(LOWORD(wParam), lParam == 0);
            return 0;
        }
        break;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const Child* child = ChildOfHandle(item.hwndItem);
        if (child != nullptr && child->Control->Back) {
            const form::Control& button = *child->Control;
            DrawColourButton(item, Rgb(*button.Back), Rgb(*form::TextColour(button)),
                             Rgb(form::kFixedGreyText));
            return TRUE;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (const auto brush =
                Colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
            return *brush;
        }
        break;
    case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(window_, &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, Brush(description_.Back));
        return 1;
    }
    case WM_ACTIVATE:
        // The focus comes back to where it was when the window was left, as in a dialog box.
        if (LOWORD(wParam) == WA_INACTIVE) {
            lastFocus_ = ::GetFocus();
        } else {
            ::SetFocus(FocusOnActivation());
        }
        return 0;
    case WM_DPICHANGED: {
        screenDpi_ = HIWORD(wParam);
        LayOutAt(screenDpi_);
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        FitInWorkArea();
        return 0;
    }
    case WM_DESTROY:
        // The controls still exist.
        annotations_->TakeBack();
        break;
    case WM_DROPFILES: {
        const auto drop = reinterpret_cast<HDROP>(wParam);
        events_.DragDrop(DroppedFile(drop));
        ::DragFinish(drop);
        return 0;
    }
    case WM_CLOSE:
        if (closing_ || events_.QueryClose()) {
            ::DestroyWindow(window_);
        }
        return 0;
    default: break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

} // namespace kelbrin::win32
