// Kelbrin: the window. A portable copy works on the folder that holds it, where the patch
// author's Kelbrin.txt and the user's ROM files lie. An installed copy works on the folder
// given as `kelbrin FOLDER` or `kelbrin FILE` (a file in it), or chosen in the window.

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStringList>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

#include "FolderNames.h"
#include "Fonts.h"
#include "ProcessSetup.h"
#include "QtDesktop.h"
#include "frmKelbrin.h"

namespace {

constexpr const char* kHelp =
    "Usage: kelbrin [FOLDER | FILE]\n"
    "Opens the window of Kelbrin, which expands a ROM image as the patch author's\n"
    "script Kelbrin.txt describes, so that the patch applies to it.\n"
    "\n"
    "  FOLDER     the folder that holds Kelbrin.txt and the original ROM\n"
    "  FILE       Kelbrin.txt, or any other file in that folder\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Without FOLDER or FILE the window works on the folder of the program when\n"
    "Kelbrin.txt lies beside it, else on the folder chosen last time.\n"
    "kelbrin-cli does the same without a window.\n";

// The text is the whole result of the call: a failed write is a failure.
int Print(const char* text) {
    std::fputs(text, stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs("kelbrin: cannot write to standard output\n", stderr);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}

// --help and --version are answered before any window is made, so that they work without a
// display too. Every other argument is the window's: a folder or a file, or Qt's own options.
std::optional<int> AnswerWithoutWindow(int argc, char** argv) {
    CLI::App options;
    options.set_help_flag();
    options.allow_extras();
    // "--help=yes" is no spelling of --help.
    options.option_defaults()->disable_flag_override();
    bool help = false;
    bool version = false;
    options.add_flag("-h,--help", help);
    options.add_flag("--version", version);
    try {
        options.parse(argc, argv);
    } catch (const CLI::ParseError&) {
        // An argument it cannot read ("--help=yes") asks nothing: it is the window's, as any other.
        return std::nullopt;
    }
    if (help) {
        return Print(kHelp);
    }
    if (version) {
        return Print("kelbrin (Kelbrin) " KELBRIN_VERSION "\n");
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) try {
    if (!kelbrin::SetUpProcess()) {
        return EXIT_FAILURE;
    }
    if (const std::optional<int> status = AnswerWithoutWindow(argc, argv)) {
        return *status;
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
} catch (const std::exception& error) {
    // The window reports a run's failures in its boxes; this is the program around it.
    std::fprintf(stderr, "kelbrin: %s\n", error.what());
    return EXIT_FAILURE;
}
