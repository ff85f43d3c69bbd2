#pragma once

#include <new>
#include <optional>
#include <string>
#include <utility>

#include "RuntimeError.h"

namespace kelbrin {

// A script rule that a step found broken. It is no run-time error: the error box shows error
// number 0 and the rule's message in place of the context.
struct BrokenRule {
    std::string Message;
};

[[noreturn]] inline void Break(std::string message) {
    throw BrokenRule{std::move(message)};
}

// A failure on its way to the run's failure exit, with the context it happened in: the error
// (0 for a broken rule), the context text of its step ("Issue with line # 5"), for a broken
// rule the message the box shows instead of that context, and the name of the file that failed
// when it is not the one the context names.
struct RunFailure {
    RuntimeError Error;
    std::string Context;
    std::optional<std::string> RuleMessage;
    std::string FileName;

    RunFailure(RuntimeError error, std::string context)
        : Error(std::move(error)), Context(std::move(context)) {}
    RunFailure(BrokenRule&& rule, std::string context)
        : Error(ErrNone), Context(std::move(context)), RuleMessage(std::move(rule.Message)) {}

    // The text under the box's error line.
    const std::string& Shown() const noexcept { return RuleMessage ? *RuleMessage : Context; }
};

// Runs `step` in the context `context`: a file failure, a broken rule or a lack of memory in it
// leaves as a RunFailure in that context. A RunFailure from a step inside keeps its own.
// A context given as a temporary moves into the failure: it may quote a name of hundreds of
// megabytes.
template <typename Context, typename Step> decltype(auto) Under(Context&& context, Step&& step) {
    try {
        return step();
    } catch (const RuntimeError& error) {
        throw RunFailure(error, std::string(std::forward<Context>(context)));
    } catch (BrokenRule& rule) {
        // A message may quote a script line of hundreds of megabytes: it moves, never copied.
        throw RunFailure(std::move(rule), std::string(std::forward<Context>(context)));
    } catch (const std::bad_alloc&) {
        throw RunFailure(RuntimeError(ErrOutOfMemory), std::string(std::forward<Context>(context)));
    }
}

// The failure that the exception being handled stands for, as a failure exit reports it: a
// RunFailure as it is, a lack of memory as error 7 and anything else as an internal error, both
// without a context. Called only inside a catch block.
inline RunFailure CaughtFailure() {
    try {
        throw;
    } catch (RunFailure& failure) {
        return std::move(failure);
    } catch (const std::bad_alloc&) {
        return RunFailure(RuntimeError(ErrOutOfMemory), "");
    } catch (...) {
        return RunFailure(RuntimeError(ErrInternal), "");
    }
}

} // namespace kelbrin
