// Kelbrin: the window. A portable copy works on the folder that holds it, where the patch
// author's Kelbrin.txt and the user's ROM files lie. An installed copy works on the folder
// given as `kelbrin FOLDER` or `kelbrin FILE` (a file in it), or chosen in the window.

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QStringList>
#include <QStyleFactory>
#include <cstdlib>
#include <optional>
#include <string>

#include "Fonts.h"
#include "ProcessSetup.h"
#include "QtKelbrinWindow.h"

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

    const QStringList arguments = QCoreApplication::arguments();
    std::optional<std::string> startPath;
    if (arguments.size() > 1) {
        startPath = QFile::encodeName(QFileInfo(arguments[1]).absoluteFilePath()).toStdString();
    }
    kelbrin::QtKelbrinWindow window(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString(), startPath);
    window.show();
    return QApplication::exec();
}
