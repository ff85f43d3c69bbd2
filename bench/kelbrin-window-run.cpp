// kelbrin-window-run FOLDER [--shown]: shows the main window working on FOLDER, presses
// "Expand and Ignore/Remove Header" and prints how long the run took, from the click to the
// controls being enabled again. With --shown it ends once the window is shown, so its process's
// time is the window's start-up. Qt without a display uses its offscreen platform; Wine's null
// driver draws in memory.

#include <chrono>
#include <cstdio>
#include <string>
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
    if (argc != 2 && (argc != 3 || std::string(argv[2]) != "--shown")) {
        std::fprintf(stderr, "Usage: kelbrin-window-run FOLDER [--shown]\n");
        return 2;
    }
#ifdef _WIN32
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    kelbrin::win32::Win32Desktop desktop;
#else
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion")); // as the program's own window
    kelbrin::RegisterFontSubstitutes();
    kelbrin::QtDesktop desktop;
#endif
    kelbrin::frmKelbrin window(desktop, argv[1]);
    window.Show();
#ifdef _WIN32
    kelbrin::win32::PumpPendingMessages();
#else
    QCoreApplication::processEvents();
#endif
    if (argc == 3) {
        return 0;
    }
    const auto start = std::chrono::steady_clock::now();
    window.Click(kelbrin::form::frmKelbrin::cmdExpand1);
    const std::chrono::duration<double> run = std::chrono::steady_clock::now() - start;
    std::printf("run-seconds %.6f\n", run.count());
    return window.LastRun() && window.LastRun()->Done() ? 0 : 1;
}
