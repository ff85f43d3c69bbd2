// The folder the buttons act on, as the Win32 window takes it: dropped on it (a folder or any
// file in one), shown in its title.

#include "Win32Harness.h"
// DROPFILES, after windows.h.
#include <shlobj.h>

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
