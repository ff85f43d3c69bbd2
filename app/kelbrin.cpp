// Kelbrin: the window. It works on the folder that holds the executable, where the patch
// author's Kelbrin.txt and the user's ROM files lie. An installed copy can be given another
// folder instead: `kelbrin FOLDER`.

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QStringList>
#include <QStyleFactory>
#include <cstdlib>

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
    const QString folderName =
        arguments.size() > 1 ? arguments[1] : QCoreApplication::applicationDirPath();
    const QByteArray folder = QFile::encodeName(folderName);
    kelbrin::QtKelbrinWindow window(folder.toStdString());
    window.show();
    return QApplication::exec();
}
