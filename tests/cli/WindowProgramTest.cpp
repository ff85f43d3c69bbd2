// kelbrin, the window program: --help and --version print and exit before any window is made,
// so they also work where there is no display to open one.

#include <cstdlib>
#include <gtest/gtest.h>

#include "CliHarness.h"

namespace kelbrin::test {
namespace {

struct Question {
    const char* What;
    std::vector<std::string> Args;
    Stream Out;
    int ExitStatus;
    std::string OutStart;
};

TEST(WindowProgram, HelpAndVersionPrintAndExitWithoutADisplay) {
    // A program that made its window first would fail to connect to a display instead.
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    const Question questions[] = {
        {"--version",
         {"--version"},
         Stream::Captured,
         0,
         "kelbrin (Kelbrin) " KELBRIN_VERSION "\n"},
        {"--help", {"--help"}, Stream::Captured, 0, "Usage: kelbrin [FOLDER | FILE]\n"},
        {"-h after a folder", {"/nowhere", "-h"}, Stream::Captured, 0, "Usage: kelbrin "},
        {"version that cannot be written", {"--version"}, Stream::Full, 1, ""},
    };
    for (const Question& q : questions) {
        SCOPED_TRACE(q.What);
        ProgramSetup setup;
        setup.Out = q.Out;
        const ProgramResult r = RunProgram(KELBRIN_PATH, q.Args, "", setup);
        EXPECT_EQ(r.ExitStatus, q.ExitStatus) << r.Err;
        EXPECT_TRUE(r.Out.starts_with(q.OutStart)) << r.Out;
        EXPECT_EQ(r.Err.empty(), q.ExitStatus == 0) << r.Err;
    }
}

} // namespace
} // namespace kelbrin::test
