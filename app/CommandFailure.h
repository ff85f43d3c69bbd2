#pragma once

#include <string>

#include "ConsoleWindow.h"
#include "FailureBox.h"
#include "RunFailure.h"

namespace kelbrin {

// How the patch commands name a file in a failure's message.
inline std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// Shows the failure as the run's box on standard error; the command's exit status for it.
inline int ShownFailure(const RunFailure& failure) {
    ConsoleWindow window(stdout, stderr);
    FailureBox().Show(failure, window);
    return 1;
}

} // namespace kelbrin
