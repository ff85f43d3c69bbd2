#include "FolderChoice.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <vector>

#include "AnsiText.h"

namespace kelbrin::win32 {

namespace {

constexpr const char* kSettingsKey = "Software\\Kelbrin";
constexpr const char* kFolderValue = "Folder";

// Releases a COM interface at the end of a scope.
template <typename Interface> struct Released {
    Interface* Pointer = nullptr;
    ~Released() {
        if (Pointer != nullptr) {
            Pointer->Release();
        }
    }
};

} // namespace

std::optional<std::string> ChooseFolderDialog(HWND owner, const std::string& start) {
    Released<IFileOpenDialog> dialog;
    if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&dialog.Pointer)))) {
        return std::nullopt;
    }
    DWORD options = 0;
    dialog.Pointer->GetOptions(&options);
    dialog.Pointer->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
    dialog.Pointer->SetTitle(L"Choose the folder that holds Kelbrin.txt");
    Released<IShellItem> startItem;
    if (SUCCEEDED(::SHCreateItemFromParsingName(Widen(start).c_str(), nullptr,
                                                IID_PPV_ARGS(&startItem.Pointer)))) {
        dialog.Pointer->SetFolder(startItem.Pointer);
    }
    if (FAILED(dialog.Pointer->Show(owner))) {
        return std::nullopt;
    }
    Released<IShellItem> chosen;
    PWSTR path = nullptr;
    if (FAILED(dialog.Pointer->GetResult(&chosen.Pointer)) ||
        FAILED(chosen.Pointer->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
        return std::nullopt;
    }
    const std::string folder = AnsiPath(path);
    ::CoTaskMemFree(path);
    return folder;
}

std::string DroppedFile(HDROP drop) {
    std::vector<wchar_t> path(::DragQueryFileW(drop, 0, nullptr, 0) + 1);
    ::DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size()));
    return AnsiPath(path.data());
}

std::optional<std::string> RememberedFolder() {
    char folder[MAX_PATH * 4];
    DWORD size = sizeof folder;
    if (::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, kFolderValue, RRF_RT_REG_SZ, nullptr,
                       folder, &size) != ERROR_SUCCESS ||
        folder[0] == '\0') {
        return std::nullopt;
    }
    return std::string(folder);
}

void RememberFolder(const std::string& folder) {
    // Not being able to remember only means asking again next time.
    ::RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, kFolderValue, REG_SZ, folder.c_str(),
                      static_cast<DWORD>(folder.size() + 1));
}

} // namespace kelbrin::win32
