// The Win32 boxes' keys. The desktop's services that every host has are checked in
// HostConformanceTest.cpp.

#include "Win32Harness.h"

namespace kelbrin::test {
namespace {

using form::ControlId;

// A box over its owner closes on Escape and Enter, and cannot be minimised away from it; Enter
// on a push button presses it. The main window keeps both keys from its buttons.
TEST(Desktop, BoxClosesOnEscapeAndEnterAndHasNoMinimiseButton) {
    struct KeyCase {
        const char* Name;
        ControlId Focus;
        WPARAM Key;
        std::vector<std::string> Log;
    };
    const std::vector<KeyCase> cases{
        {"Escape", form::frmInfo::txtInfo, VK_ESCAPE, {"close"}},
        {"Enter in the text", form::frmInfo::txtInfo, VK_RETURN, {"close"}},
        {"Escape on Copy", form::frmInfo::cmdCopy, VK_ESCAPE, {"close"}},
        {"Enter on Copy", form::frmInfo::cmdCopy, VK_RETURN, {"click:cmdCopy"}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.Name);
        FormOn main(form::KelbrinForm());
        FormOn info(form::InfoForm(), main.Port.get());
        EXPECT_EQ(::GetWindowLongPtrW(info.Handle(), GWL_STYLE) & WS_MINIMIZEBOX, 0);
        EXPECT_NE(::GetWindowLongPtrW(main.Handle(), GWL_STYLE) & WS_MINIMIZEBOX, 0);
        ::SetFocus(info.Control(c.Focus));
        Press(c.Key);
        EXPECT_EQ(info.Events.Log, c.Log);
        ::SetFocus(main.Control(form::frmKelbrin::cmdExpand0));
        Press(c.Key);
        EXPECT_TRUE(main.Events.Log.empty());
    }
}

} // namespace
} // namespace kelbrin::test
