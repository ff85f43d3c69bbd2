// The conformance suite's driver for the Win32 host: the messages a person's clicks and keys
// send, and what the system's controls show.

#include <algorithm>
// DROPFILES, after windows.h.
#include <shlobj.h>

#include "HostedForm.h"
#include "WideText.h"
#include "Win32Harness.h"

namespace kelbrin::test {

namespace {

// Lines ending in CR LF, as a box shows them, end in LF.
std::string Lines(const std::wstring& text) {
    std::string lines = Utf8FromWide(text);
    std::erase(lines, '\r');
    return lines;
}

class Win32HostedForm final : public HostedForm {
public:
    explicit Win32HostedForm(const form::Form& form) : form_(form), on_(form) {}
    const form::Form& Form() override { return form_; }
    RecordedEvents& Events() override { return on_.Events; }
    FormPort& Port() override { return *on_.Port; }

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
    std::optional<form::ControlId> Focus() override {
        for (const form::Control& c : form_.Controls) {
            if (on_.Control(c.Id) == ::GetFocus()) {
                return c.Id;
            }
        }
        return std::nullopt;
    }
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
    std::vector<std::string> MenuBar() override { return Items(::GetMenu(on_.Handle())); }
    std::vector<std::string> MenuItems(std::size_t menu) override {
        return Items(::GetSubMenu(::GetMenu(on_.Handle()), static_cast<int>(menu)));
    }
    SeenMessageBox ShowMessageBox(const std::string& message, const std::string& title,
                                  MessageBoxIcon icon) override {
        // Over its window, as a person sees it.
        on_.Watcher.ShootNextBox(L"message-box.png");
        on_.Desktop.ShowMessageBox(*on_.Port, message, title, icon);
        const std::vector<SeenBox> boxes = on_.Watcher.Boxes();
        if (boxes.size() != 1) {
            return {};
        }
        const SeenBox& box = boxes[0];
        SeenMessageBox seen{Utf8FromWide(box.Title),
                            Lines(box.Text),
                            box.Icon == ::LoadIconW(nullptr, MAKEINTRESOURCEW(32513))
                                ? MessageBoxIcon::Stop
                                : MessageBoxIcon::None,
                            {},
                            box.Owner == on_.Handle()};
        for (const std::wstring& button : box.Buttons) {
            seen.Buttons.push_back(Utf8FromWide(button));
        }
        return seen;
    }

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
        for (const form::Control& c : form_.Controls) {
            if (on_.Control(c.Id) == top) {
                return c.Id;
            }
        }
        return std::nullopt;
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

private:
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

} // namespace kelbrin::test
