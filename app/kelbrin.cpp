// Kelbrin: the window. A portable copy works on the folder that holds it, where the patch
// author's Kelbrin.txt and the user's ROM files lie. An installed copy works on the folder
// given as `kelbrin FOLDER` or `kelbrin FILE` (a file in it), or chosen in the window.

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStringList>
#include <QStyleFactory>
#include <cstdlib>
#include <optional>
#include <string>

#include "FolderNames.h"
#include "Fonts.h"
#include "ProcessSetup.h"
#include "QtDesktop.h"
#include "frmKelbrin.h"

int main(int argc, char** argv) {
    if (!kelbrin::SetUpProcess()) {
        return EXIT_FAILURE;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("Kelbrin");
    QApplication::setApplicationVersion(KELBRIN_VERSION);
    QApplication::setOrganizationName(KELBRIN_COMPANY);
    QApplication::setWindowIcon(QIcon(":/kelbrin.ico"));
    QGuiApplication::setDesktopFileName("org.kelbrin.Kelbrin");
    // Fusion draws every button face in the button's own colour, whatever the desktop.
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    kelbrin::RegisterFontSubstitutes();

    // QApplication has taken its own options out of argv. On Windows a name in a std::string
    // is UTF-8; on Linux it is the bytes the system gave, which need not be text: Qt's decoded
    // arguments and folder would change such a name.
    std::optional<std::string> startPath;
#ifdef _WIN32
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
        startPath = QDir::toNativeSeparators(arguments[1]).toStdString();
    }
    const std::string programDirectory =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
#else
    if (argc > 1) {
        startPath = argv[1];
    }
    const std::string programDirectory = kelbrin::ProgramFolder(argv[0]);
#endif
    kelbrin::QtDesktop desktop;
    kelbrin::frmKelbrin window(desktop, programDirectory, startPath);
    window.Show();
    return QApplication::exec();
}
