// The Win32 boxes' keys, and Kelbrin.exe as a portable copy in a folder of any name. The
// desktop's services that every host has are checked in HostConformanceTest.cpp.

#include "WideText.h"
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

// The visible top-level window of process `id`, once it has one.
HWND WindowOf(DWORD id) {
    std::pair<DWORD, HWND> search{id, nullptr};
    for (int wait = 0; wait < 200 && search.second == nullptr; ++wait) {
        ::EnumWindows(
            [](HWND window, LPARAM data) {
                auto& [wanted, found] = *reinterpret_cast<decltype(search)*>(data);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(window, &owner);
                if (owner == wanted && ::IsWindowVisible(window)) {
                    found = window;
                }
                return found == nullptr ? TRUE : FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        ::Sleep(50);
    }
    return search.second;
}

// Kelbrin.exe beside its script in a folder named in other scripts than the ANSI code page's:
// it knows the folder for its own (the system names it in UTF-16) and expands there. A copy that
// took itself for installed would open the folder dialog instead, and not answer the click.
TEST(Folder, PortableCopyInAFolderOfAnyNameActsOnIt) {
    wchar_t tests[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, tests, MAX_PATH);
    const std::wstring program =
        std::wstring(tests, length).substr(0, std::wstring(tests, length).find_last_of(L'\\')) +
        L"\\Kelbrin.exe";
    for (const std::string name : {"\xCE\xA9mega", "ROM \xE6\x97\xA5\xE6\x9C\xAC"}) {
        SCOPED_TRACE(name);
        TempFolder root;
        const std::string folder = root.MakeFolder(name);
        root.Write(name + "\\Kelbrin.txt",
                   Join({kNameLine, kSizeLine, kHeaderLine, kCopyLine}, "\r\n"));
        root.Write(name + "\\orig.nes", ForeignHeader() + Image(0x40));
        const std::wstring copy = WideFromUtf8(folder + "\\Kelbrin.exe");
        ASSERT_TRUE(::CopyFileW(program.c_str(), copy.c_str(), FALSE));

        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        std::wstring commandLine = L"\"" + copy + L"\"";
        ASSERT_TRUE(::CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                     nullptr, nullptr, &startup, &child));
        const HWND window = WindowOf(child.dwProcessId);
        EXPECT_NE(window, nullptr);
        if (window != nullptr) {
            EXPECT_EQ(WindowText(window), L"Kelbrin");
            DWORD_PTR answer = 0;
            EXPECT_NE(::SendMessageTimeoutW(ControlIn(window, form::frmKelbrin::cmdExpand1),
                                            BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer),
                      0);
            EXPECT_EQ(root.Read(name + "\\big.nes"), Image(8));
            ::PostMessageW(window, WM_CLOSE, 0, 0);
        }
        if (::WaitForSingleObject(child.hProcess, 10000) != WAIT_OBJECT_0) {
            ::TerminateProcess(child.hProcess, 1);
            ::WaitForSingleObject(child.hProcess, INFINITE);
        }
        ::CloseHandle(child.hThread);
        ::CloseHandle(child.hProcess);
    }
}

} // namespace
} // namespace kelbrin::test
