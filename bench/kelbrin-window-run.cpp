// kelbrin-window-run FOLDER: presses "Expand and Ignore/Remove Header" in the main window,
// working on FOLDER, and prints how long the run took, from the click to the controls being
// enabled again; on Windows first how long the process took to show the window. Qt without a
// display uses its offscreen platform; Wine's null driver draws in memory.

#include <chrono>
#include <cstdio>
#ifdef _WIN32
#include <windows.h>
// The common controls' header needs the types of windows.h.
#include <commctrl.h>

#include "EventPump.h"
#include "Win32Desktop.h"
#else
#include <QApplication>
#include <QStyleFactory>

#include "Fonts.h"
#include "QtDesktop.h"
#endif
#include "frmKelbrin.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: kelbrin-window-run FOLDER\n");
        return 2;
    }
#ifdef _WIN32
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    kelbrin::win32::Win32Desktop desktop;
#else
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    kelbrin::RegisterFontSubstitutes();
    kelbrin::QtDesktop desktop;
#endif
    kelbrin::frmKelbrin window(desktop, argv[1]);
    window.Show();
#ifdef _WIN32
    kelbrin::win32::PumpPendingMessages();
    FILETIME created, unused;
    ULARGE_INTEGER from{}, to{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &unused, &unused, &unused);
    from = {{created.dwLowDateTime, created.dwHighDateTime}};
    ::GetSystemTimePreciseAsFileTime(reinterpret_cast<FILETIME*>(&to));
    std::printf("start-up-seconds %.6f ", static_cast<double>(to.QuadPart - from.QuadPart) / 1e7);
#else
    QCoreApplication::processEvents();
#endif
    const auto start = std::chrono::steady_clock::now();
    window.Click(kelbrin::form::ControlId::cmdExpand1);
    const std::chrono::duration<double> run = std::chrono::steady_clock::now() - start;
    std::printf("run-seconds %.6f\n", run.count());
    return window.LastRun() && window.LastRun()->Done() ? 0 : 1;
}
