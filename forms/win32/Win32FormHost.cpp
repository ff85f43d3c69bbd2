#include "Win32FormHost.h"

#include <algorithm>
#include <commctrl.h>

#include "AnsiText.h"
#include "ColourButton.h"
#include "ControlIds.h"
#include "ControlWindow.h"
#include "Dpi.h"
#include "DrawingControl.h"
#include "EventPump.h"
#include "FolderChoice.h"
#include "MenuBar.h"
#include "ScreenReaderAnnotations.h"
#include "TextBox.h"
#include "Win32Resources.h"

namespace kelbrin::win32 {

namespace {

constexpr const wchar_t* kFormClass = L"KelbrinForm";
// Fixed in size: nothing re-lays out the controls.
constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// A box over its owner cannot be minimised away from it.
constexpr DWORD kBoxStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

COLORREF Rgb(form::Colour colour) {
    return RGB(colour.Red, colour.Green, colour.Blue);
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
}

} // namespace

std::vector<Win32FormHost*>& Win32FormHost::OpenWindows() {
    static std::vector<Win32FormHost*> open;
    return open;
}

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
        GiveTextBoxFont(box->Window, *box->Control, *fonts_);
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
        HWND window = CreateControlWindow(*control, parentWindow, tabStop);
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
