// Kelbrin.exe, the Windows window program, as a portable copy: beside its script in a folder
// named in other scripts than the ANSI code page's, it knows the folder for its own (the system
// names it in UTF-16) and expands there. A copy that took itself for installed would open the
// folder dialog instead, and not answer.

#include <gtest/gtest.h>
#include <windows.h>

#include "AnsiText.h"
#include "ControlIds.h"
#include "KelbrinForm.h"
#include "RunFolder.h"
#include "WideText.h"

namespace kelbrin::test {
namespace {

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

TEST(WindowProgram, PortableCopyInAFolderOfAnyNameActsOnIt) {
    wchar_t tests[MAX_PATH];
    const std::wstring self(tests, ::GetModuleFileNameW(nullptr, tests, MAX_PATH));
    const std::wstring program = self.substr(0, self.find_last_of(L'\\')) + L"\\Kelbrin.exe";
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
            EXPECT_EQ(win32::WindowText(window), L"Kelbrin");
            // File, Expand and Remove Header, as its button would.
            DWORD_PTR answer = 0;
            const WPARAM expand = win32::CommandId(form::frmKelbrin::mnuFile_Expand1);
            EXPECT_NE(::SendMessageTimeoutW(window, WM_COMMAND, expand, 0, SMTO_ABORTIFHUNG, 10000,
                                            &answer),
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
