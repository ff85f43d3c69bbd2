// kelbrin-window-run FOLDER: presses "Expand and Ignore/Remove Header" in the main window,
// working on FOLDER, and prints how long the run took, from the click to the controls
// being enabled again. Without a display it uses Qt's offscreen platform.

#include <QApplication>
#include <QElapsedTimer>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>

#include "Fonts.h"
#include "QtDesktop.h"
#include "frmKelbrin.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: kelbrin-window-run FOLDER\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    kelbrin::RegisterFontSubstitutes();
    kelbrin::QtDesktop desktop;
    kelbrin::frmKelbrin window(desktop, argv[1]);
    window.Show();
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    window.Click(kelbrin::form::frmKelbrin::cmdExpand1);
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;

    const bool done = window.LastRun() && window.LastRun()->Done();
    std::printf("run-seconds %.6f platform %s\n", seconds,
                qPrintable(QGuiApplication::platformName()));
    return done ? EXIT_SUCCESS : EXIT_FAILURE;
}
