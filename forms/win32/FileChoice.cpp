#include "FileChoice.h"

#include <memory>
#include <shlobj.h>
#include <shobjidl.h>

#include "AnsiText.h"

namespace kelbrin::win32 {

namespace {

struct Release {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface> using Held = std::unique_ptr<Interface, Release>;

} // namespace

std::optional<std::string> ChooseFileDialog(HWND owner, const std::string& title,
                                            const std::string& start) {
    IFileOpenDialog* made = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&made)))) {
        return std::nullopt;
    }
    const Held<IFileOpenDialog> dialog(made);
    DWORD options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_FORCEFILESYSTEM | FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST);
    dialog->SetTitle(Widen(title).c_str());
    IShellItem* startItem = nullptr;
    if (SUCCEEDED(::SHCreateItemFromParsingName(WidePathText(start).c_str(), nullptr,
                                                IID_PPV_ARGS(&startItem)))) {
        const Held<IShellItem> held(startItem);
        dialog->SetFolder(startItem);
    }
    IShellItem* chosenItem = nullptr;
    if (FAILED(dialog->Show(owner)) || FAILED(dialog->GetResult(&chosenItem))) {
        return std::nullopt;
    }
    const Held<IShellItem> chosen(chosenItem);
    PWSTR path = nullptr;
    if (FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
        return std::nullopt;
    }
    const std::string file = PathFromWide(path);
    ::CoTaskMemFree(path);
    return file;
}

} // namespace kelbrin::win32
