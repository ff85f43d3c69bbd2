#pragma once

#include <string>

#ifndef _WIN32
#include <csignal>
#endif

#include "FileHandle.h"

namespace kelbrin {

// The unfinished files of the runs in progress in this process (see ReplacementFile), known to
// the whole process so that whatever ends it before a run is finished removes them: SIGINT,
// SIGTERM or SIGHUP, a console's Ctrl+C, Ctrl+Break or its closing, a window closed mid-run. A
// killed process (SIGKILL, a power loss) leaves its file behind, under its telling name, for
// the next run of the same expanded file to take over.

// Removes the unfinished file of every run in progress, each only while its name still leads to
// the file the run is writing. For a program that ends during a run without returning from it
// (File, Exit or closing the window); any thread may call it. The runs themselves then fail at
// their end: the file they wrote is gone.
void RemoveUnfinishedFiles() noexcept;

// Has SIGINT, SIGTERM and SIGHUP (on Windows a console's control events) remove the unfinished
// files before they end the process as they would have; a signal that the process was started
// to ignore stays ignored. Called once by SetUpProcess.
void RemoveUnfinishedFilesAtInterrupts();

// Holds SIGINT, SIGTERM and SIGHUP (on Windows a console's control events) back while it lives:
// one that comes meanwhile takes effect when the object goes. For the steps that make and
// register an unfinished file, and that withdraw it and rename or remove it: an interrupt
// between two of them would leave a file that nothing removes, or remove a file that has taken
// the expanded file's name. Nests, and holds back handlers running on other threads too.
class InterruptsHeldBack {
public:
    InterruptsHeldBack();
    ~InterruptsHeldBack();
    InterruptsHeldBack(const InterruptsHeldBack&) = delete;
    InterruptsHeldBack& operator=(const InterruptsHeldBack&) = delete;

private:
#ifndef _WIN32
    sigset_t saved_{};
#endif
};

// A run's unfinished file, registered for as long as the object lives. `path` is the name as the
// file layer takes it; both must outlive the registration.
class UnfinishedFileRegistration {
public:
    UnfinishedFileRegistration(const std::string& path, const FileHandle& file);
    ~UnfinishedFileRegistration();
    UnfinishedFileRegistration(const UnfinishedFileRegistration&) = delete;
    UnfinishedFileRegistration& operator=(const UnfinishedFileRegistration&) = delete;

    // Forgets the file before it is renamed or removed by its run, so that no interrupt can
    // remove a file of the same name made after it.
    void Withdraw() noexcept;
    // True once RemoveUnfinishedFiles or an interrupt has removed the file.
    bool FileWasRemoved() const;

private:
    int slot_ = -1;
};

} // namespace kelbrin
