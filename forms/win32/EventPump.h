#pragma once

#include <functional>

namespace kelbrin::win32 {

// The program's message loop: runs until the last window has been closed and returns the
// process's exit status.
int RunMessageLoop();

// A loop of its own for a modal window: handles messages as the program's loop does until
// `done` says so. A request to quit is left in the queue for the program's loop.
void RunModalLoop(const std::function<bool()>& done);

// Handles the messages that are waiting, with the same keyboard handling as the loop (the
// windows' accelerators, Tab and dialog navigation), and returns without waiting for more.
// A request to quit is left in the queue for the loop.
void PumpPendingMessages();

} // namespace kelbrin::win32
