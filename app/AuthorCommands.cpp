#include "AuthorCommands.h"

#include <cstdio>

#include "DisplayText.h"
#include "ScriptCheck.h"
#include "Terminal.h"
#include "TerminalText.h"

namespace kelbrin {

namespace {

// Writes the report as a person reads it; 1 when it could not be written: it is the whole
// result of the command.
int Print(const std::string& report, int status) {
    const std::string shown = DisplayText(report);
    std::fputs((IsTerminal(stdout) ? TerminalText(shown) : shown).c_str(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs("kelbrin-cli: cannot write to standard output\n", stderr);
        return 1;
    }
    return status;
}

} // namespace

int CheckCommand(const std::string& folder, const std::string& original) {
    const ScriptCheck check = CheckScript(folder, original);
    return Print(CheckReport(check), check.Passes() ? 0 : 1);
}

int LayoutCommand(const std::string& folder, const std::string& original) {
    const ScriptCheck check = CheckScript(folder, original);
    return Print(LayoutReport(check) + LayoutSummary(check.WithoutHeader) + "\n",
                 check.Passes() ? 0 : 1);
}

} // namespace kelbrin
