// Script text on a terminal: its control characters are shown escaped, so that a script cannot
// drive the user's terminal; into a file the bytes are exactly the script's.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "CliHarness.h"

namespace kelbrin::test {
namespace {

// Runs kelbrin-cli with both output streams on one terminal (a pseudo-terminal that adds no CR
// before LF) and returns what the terminal got.
std::string OnATerminal(const std::vector<std::string>& args) {
    int master = -1;
    int slave = -1;
    termios raw{};
    ::cfmakeraw(&raw);
    if (::openpty(&master, &slave, nullptr, &raw, nullptr) != 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return {};
    }
    std::vector<char*> argv{const_cast<char*>(KELBRIN_CLI_PATH)};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(slave, 1);
        ::dup2(slave, 2);
        ::closefrom(3);
        ::execv(KELBRIN_CLI_PATH, argv.data());
        ::_exit(127);
    }
    ::close(slave);
    std::string shown;
    char buffer[4096];
    // A terminal whose last writer has gone reads as an error (EIO), not as an end.
    for (ssize_t got; (got = ::read(master, buffer, sizeof buffer)) > 0;) {
        shown.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(master);
    int status = 0;
    ::waitpid(child, &status, 0);
    return shown;
}

TEST(CliTerminal, ControlCharactersFromTheScriptAreEscapedOnATerminalOnly) {
    const std::string title = "\x1B]0;pwned\x07";
    const std::string shownTitle = "\\033]0;pwned\\007";
    struct Case {
        const char* What;
        std::string SizeLine;
        std::vector<std::string> Args; // then --dir and the game folder
        std::string Raw;               // what a file gets; on a terminal, the title shows escaped
    };
    const Case cases[] = {
        {"--info",
         "SIZE\t3\t3\t" + title,
         {"--info"},
         "Script MD5: " + title + " (does not match)\n"},
        {"a box",
         "SIZE\t3" + title + "\t3",
         {"--remove-header"},
         "Error #0 -> \n\nOriginal file size of '3" + title + "' is not a valid hex value\n\n"},
        {"an argument in a usage error",
         "SIZE\t3\t3",
         {"--remove-header", "-" + title},
         "unknown argument '-" + title + "'"},
        {"a file named on the command line",
         "SIZE\t3\t3",
         {"--make-script", "orig.nes", "big" + title + ".nes", "--output", "-"},
         "cannot read the expanded file 'big" + title + ".nes'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        GameFolder folder;
        folder.WriteInGame("Kelbrin.txt",
                           ScriptOf({"NAME\torig.nes\tbig.nes", c.SizeLine, "HEADER\t0"}));
        folder.WriteInGame("orig.nes", "abc");
        std::string escaped = c.Raw;
        escaped.replace(escaped.find(title), title.size(), shownTitle);

        std::vector<std::string> args = c.Args;
        // --make-script takes its files' paths as they are; a run finds them by --dir.
        if (args.front() != "--make-script") {
            args.insert(args.end(), {"--dir", folder.Game});
        } else {
            args[1] = folder.Game + "/" + args[1];
        }
        const std::string shown = OnATerminal(args);
        EXPECT_NE(shown.find(escaped), std::string::npos) << shown;
        EXPECT_EQ(shown.find('\x1B'), std::string::npos) << shown;

        const ProgramResult intoFiles = RunCli(args);
        EXPECT_NE((intoFiles.Out + intoFiles.Err).find(c.Raw), std::string::npos)
            << intoFiles.Out << intoFiles.Err;
    }
}

} // namespace
} // namespace kelbrin::test
