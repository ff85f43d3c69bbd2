// The windows are tested as the program shows them: Fusion, which paints button faces in their
// own colours, and the look-alike fonts; without a display, on the offscreen platform.

#include <QApplication>
#include <QSettings>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "Fonts.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The build lists the tests right after linking; that needs no window system.
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    // The windows remember the folder chosen last; the tests keep theirs apart from the user's.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    kelbrin::RegisterFontSubstitutes();
    return RUN_ALL_TESTS();
}
