#pragma once

#include <string>
#include <utility>

#include "RuntimeError.h"

namespace kelbrin {

// A request an author's tool cannot carry out, said in one line: error 5 with the reason.
[[noreturn]] inline void Refuse(std::string reason) {
    throw RuntimeError(ErrInvalidCall, std::move(reason));
}

// Runs `step`; a failure in it leaves with its number and `context` before its description,
// so that its one line says what was being done.
template <class Step> decltype(auto) WithContext(const std::string& context, Step&& step) {
    try {
        return std::forward<Step>(step)();
    } catch (const RuntimeError& error) {
        throw RuntimeError(error.Number(), context + ": " + error.Description());
    }
}

} // namespace kelbrin
