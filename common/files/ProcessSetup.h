#pragma once

namespace kelbrin {

// Prepares the process before it opens any file, so that nothing outside a run can end it
// silently or send its report into a ROM:
// - a standard descriptor that the program was started without (0, 1 or 2) is held on the
//   null device, opened for reading only: the next file opened cannot get its number, reading
//   it gives the end of the file, and writing it fails as a closed stream would;
// - a write to a pipe that nobody reads, or past the file-size limit, fails with its error
//   instead of killing the process (SIGPIPE, SIGXFSZ), so the run reports it with its number;
// - an interrupt (SIGINT, SIGTERM, SIGHUP; a console's Ctrl+C or its closing) removes the
//   unfinished file of a run in progress before it ends the process;
// - on Windows, a drive without its medium fails with an error instead of showing the
//   system's "insert a disk" box, which would hold the run until someone answers it.
// Returns false when a missing descriptor cannot be held; the program must not go on then.
bool SetUpProcess();

} // namespace kelbrin
