// Kelbrin.exe: the window on Windows. A portable copy works on the folder that holds it, where the
// patch author's Kelbrin.txt and the user's ROM files lie. Otherwise it works on the folder given
// on the command line (a folder, or a file in it, as a drop on the program's icon gives it), or
// one chosen in the window.

#include <optional>
#include <string>
#include <windows.h>
// The common controls' header needs the types of windows.h.
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "AnsiText.h"
#include "EventPump.h"
#include "ProcessSetup.h"
#include "Win32Desktop.h"
#include "frmKelbrin.h"

namespace {

// The folder of this program, whatever its name: the system gives it in UTF-16, the program
// holds paths in UTF-8.
std::string ProgramDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return kelbrin::win32::PathFromWide(path.substr(0, path.find_last_of(L'\\')));
}

// The folder or file given on the command line, if any.
std::optional<std::string> StartPath() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::optional<std::string> path;
    if (arguments != nullptr && count > 1) {
        path = kelbrin::win32::PathFromWide(arguments[1]);
    }
    ::LocalFree(arguments);
    return path;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!kelbrin::SetUpProcess()) {
        return EXIT_FAILURE;
    }
    // Loads the common controls of the version the manifest names.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The folder dialog is a COM object of the shell.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    kelbrin::win32::Win32Desktop desktop;
    kelbrin::frmKelbrin window(desktop, ProgramDirectory(), StartPath());
    window.Show();
    return kelbrin::win32::RunMessageLoop();
}
