// The folder the buttons act on, as the Win32 window takes it: dropped on it (a folder or any
// file in one), shown in its title; a portable copy's own folder, whatever its name.

#include "Win32Harness.h"
// DROPFILES, after windows.h.
#include <shlobj.h>

#include "WideText.h"

namespace kelbrin::test {
namespace {

using form::ControlId;

// Drops `path` on the window the way Explorer does: a DROPFILES block with the names in UTF-16.
void Drop(HWND window, const std::wstring& path) {
    const std::size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES));
    path.copy(names, path.size());
    ::GlobalUnlock(block);
    ::SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

TEST(Folder, DroppedFolderOrFileIsTheOneTheButtonsActOnAndTheTitleNamesIt) {
    TempFolder game;
    game.Write("orig.nes", Image(0x40));
    game.Write("Kelbrin.txt", Join({kNameLine, kSizeLine, kHeaderLine, kCopyLine}, "\r\n"));
    const std::wstring folder = Wide(game.Path());
    const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
    for (const std::wstring& dropped : {folder, folder + L"\\Kelbrin.txt"}) {
        MainWindowOn on;
        EXPECT_EQ(TextOf(on.Window->Handle()), L"Kelbrin");
        Drop(on.Window->Handle(), dropped);
        EXPECT_EQ(on.Window->Form().Folder(), game.Path());
        EXPECT_EQ(TextOf(on.Window->Handle()), L"Kelbrin \u2013 " + name);
        on.Click(ControlId::cmdExpand1);
        EXPECT_EQ(game.Read("big.nes"), Image(8));
    }
}

// The visible top-level window of process `id`, once it has one.
HWND WindowOf(DWORD id) {
    struct Search {
        DWORD Id;
        HWND Found = nullptr;
    } search{id};
    for (int wait = 0; wait < 200 && search.Found == nullptr; ++wait) {
        ::EnumWindows(
            [](HWND window, LPARAM data) {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(window, &owner);
                if (owner == s->Id && ::IsWindowVisible(window)) {
                    s->Found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        ::Sleep(50);
    }
    return search.Found;
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
            EXPECT_EQ(TextOf(window), L"Kelbrin");
            DWORD_PTR answer = 0;
            EXPECT_NE(::SendMessageTimeoutW(ControlIn(window, ControlId::cmdExpand1), BM_CLICK, 0,
                                            0, SMTO_ABORTIFHUNG, 10000, &answer),
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

TEST(Info, ShowsTheOriginalsIdentityOverTheWindowAndCopiesIt) {
    MainWindowOn on;
    std::wstring shown;
    bool ownerLocked = false;
    DuringNextPump([&] {
        HWND info = ::FindWindowW(nullptr, Wide(form::InfoForm().Caption).c_str());
        ASSERT_NE(info, nullptr);
        ownerLocked = !::IsWindowEnabled(on.Window->Handle());
        shown = TextOf(ControlIn(info, ControlId::txtInfo));
        ::SendMessageW(ControlIn(info, ControlId::cmdCopy), BM_CLICK, 0, 0);
        ::SendMessageW(ControlIn(info, ControlId::cmdClose), BM_CLICK, 0, 0);
    });
    on.Choose(form::MenuId::mnuFile_Info);
    EXPECT_TRUE(ownerLocked);
    EXPECT_TRUE(::IsWindowEnabled(on.Window->Handle()));
    const std::wstring head = L"Your ROM has the size the patch expects.";
    EXPECT_EQ(shown.substr(0, head.size()), head);
    ASSERT_TRUE(::OpenClipboard(on.Window->Handle()));
    const auto* copied = static_cast<const wchar_t*>(::GetClipboardData(CF_UNICODETEXT));
    EXPECT_EQ(copied != nullptr ? std::wstring(copied) : L"", shown);
    ::CloseClipboard();
    EXPECT_TRUE(on.Watcher.Boxes().empty());
}

} // namespace
} // namespace kelbrin::test
