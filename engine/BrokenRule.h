#pragma once

#include <string>
#include <utility>

namespace kelbrin {

// A script rule that the run found broken. It is no run-time error: the error box shows
// error number 0 and the rule's message as its context.
struct BrokenRule {
    std::string Message;
};

[[noreturn]] inline void Break(std::string message) {
    throw BrokenRule{std::move(message)};
}

} // namespace kelbrin
