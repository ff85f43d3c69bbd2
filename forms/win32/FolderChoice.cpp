#include "FolderChoice.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <vector>

#include "AnsiText.h"

namespace kelbrin::win32 {

namespace {

constexpr const wchar_t* kSettingsKey = L"Software\\Kelbrin";
constexpr const wchar_t* kFolderValue = L"Folder";

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
    if (SUCCEEDED(::SHCreateItemFromParsingName(WidePathText(start).c_str(), nullptr,
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
    const std::string folder = PathFromWide(path);
    ::CoTaskMemFree(path);
    return folder;
}

std::string DroppedFile(HDROP drop) {
    std::vector<wchar_t> path(::DragQueryFileW(drop, 0, nullptr, 0) + 1);
    ::DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size()));
    return PathFromWide(path.data());
}

std::optional<std::string> RememberedFolder() {
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, kFolderValue, RRF_RT_REG_SZ, nullptr,
                       nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring folder(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(folder.size() * sizeof(wchar_t));
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, kFolderValue, RRF_RT_REG_SZ, nullptr,
                       folder.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    folder.resize(folder.find(L'\0'));
    if (folder.empty()) {
        return std::nullopt;
    }
    return PathFromWide(folder);
}

void RememberFolder(const std::string& folder) {
    // Not being able to remember only means asking again next time.
    const std::wstring wide = WidePathText(folder);
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kFolderValue, REG_SZ, wide.c_str(),
                      static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

} // namespace kelbrin::win32
