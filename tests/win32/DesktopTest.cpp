// The Win32 desktop's services: a form shown modally over its owner, and the clipboard.

#include "Win32Harness.h"

namespace kelbrin::test {
namespace {

using form::ControlId;

TEST(Desktop, ModalFormLocksItsOwnerStaysInFrontAndReturnsOnceClosed) {
    FormOn main(form::KelbrinForm());
    ClosingEvents events;
    const auto info = main.Desktop.OpenForm(form::InfoForm(), events, main.Port.get());
    events.Port = info.get();
    bool ownerLocked = false;
    HWND owner = nullptr;
    DuringNextPump([&] {
        HWND shown = ShownWindow(Wide(form::InfoForm().Caption));
        ownerLocked = !::IsWindowEnabled(main.Handle());
        owner = ::GetWindow(shown, GW_OWNER);
        ::SendMessageW(ControlIn(shown, ControlId::cmdClose), BM_CLICK, 0, 0);
    });
    info->ShowModal();
    EXPECT_TRUE(ownerLocked);
    EXPECT_EQ(owner, main.Handle());
    EXPECT_TRUE(::IsWindowEnabled(main.Handle()));
    EXPECT_FALSE(info->IsOpen());
    EXPECT_EQ(events.Log, std::vector<std::string>{"click:cmdClose"});
}

TEST(Desktop, ClipboardTakesTheTextWithWindowsLineEnds) {
    FormOn on(form::KelbrinForm());
    on.Desktop.CopyToClipboard("Original: orig.nes\nHeader: none\n");
    ASSERT_TRUE(::OpenClipboard(on.Handle()));
    const auto* copied = static_cast<const wchar_t*>(::GetClipboardData(CF_UNICODETEXT));
    EXPECT_EQ(copied != nullptr ? std::wstring(copied) : L"",
              L"Original: orig.nes\r\nHeader: none\r\n");
    ::CloseClipboard();
}

} // namespace
} // namespace kelbrin::test
