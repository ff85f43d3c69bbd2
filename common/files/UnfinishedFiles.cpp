#include "UnfinishedFiles.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <mutex>
#include <windows.h>
#else
#include <csignal>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kelbrin {

namespace {

// Runs in progress at once: one, or a few when a test or a window starts one inside another.
// A run beyond them has no slot; it still removes its own file when it fails.
constexpr std::size_t kSlots = 4;

#ifdef _WIN32

// The console's control handler runs on a thread of its own: a lock is enough. Holding the lock
// holds the handler back (InterruptsHeldBack), across steps that take it again.
struct Slot {
    bool Used = false;
    bool Removed = false;
    std::string Path;
    const FileHandle* File = nullptr;
};
std::recursive_mutex slotsLock;
std::array<Slot, kSlots> slots;

int Register(const std::string& path, const FileHandle& file) {
    const std::lock_guard lock(slotsLock);
    for (std::size_t i = 0; i < kSlots; ++i) {
        if (!slots[i].Used) {
            slots[i] = {true, false, path, &file};
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Withdraw(int slot) {
    const std::lock_guard lock(slotsLock);
    slots[static_cast<std::size_t>(slot)] = {};
}

bool WasRemoved(int slot) {
    const std::lock_guard lock(slotsLock);
    return slots[static_cast<std::size_t>(slot)].Removed;
}

void RemoveAll() noexcept {
    const std::lock_guard lock(slotsLock);
    for (Slot& slot : slots) {
        if (slot.Used && !slot.Removed) {
            // Windows removes the name when the run lets go of the file.
            RemoveFileIfItIs(slot.Path, *slot.File);
            slot.Removed = true;
        }
    }
}

BOOL WINAPI OnConsoleControl(DWORD) {
    RemoveAll();
    // Not handled: the system goes on to end the process as it would have.
    return FALSE;
}

#else

// A signal handler may only read what it finds whole: each slot's name is copied into storage
// of its own, and published by the pointer, which is set last and cleared first.
constexpr std::size_t kLongestPath = 4096;
struct Slot {
    std::atomic<bool> Used{false};
    std::atomic<bool> Removed{false};
    std::atomic<const char*> Path{nullptr};
    std::atomic<int> Descriptor{-1};
    char Storage[kLongestPath];
};
std::array<Slot, kSlots> slots;

// Threads between the steps that InterruptsHeldBack holds together. Their own interrupts are
// blocked; a handler that runs on another thread waits for them to finish.
std::atomic<int> heldBack{0};
static_assert(std::atomic<int>::is_always_lock_free);

sigset_t Interrupts() {
    sigset_t interrupts;
    sigemptyset(&interrupts);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&interrupts, signal);
    }
    return interrupts;
}

int Register(const std::string& path, const FileHandle& file) {
    if (path.size() >= kLongestPath) {
        return -1; // longer than any name the system opens
    }
    for (std::size_t i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (slots[i].Used.compare_exchange_strong(expected, true)) {
            slots[i].Removed.store(false);
            std::memcpy(slots[i].Storage, path.c_str(), path.size() + 1);
            slots[i].Descriptor.store(static_cast<int>(file.Get()));
            slots[i].Path.store(slots[i].Storage);
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Withdraw(int slot) {
    Slot& withdrawn = slots[static_cast<std::size_t>(slot)];
    withdrawn.Path.store(nullptr);
    withdrawn.Used.store(false);
}

bool WasRemoved(int slot) {
    return slots[static_cast<std::size_t>(slot)].Removed.load();
}

// Async-signal-safe: stat, fstat and unlink only.
void RemoveAll() noexcept {
    for (Slot& slot : slots) {
        const char* path = slot.Path.exchange(nullptr);
        if (path == nullptr) {
            continue;
        }
        slot.Removed.store(true);
        struct stat named {};
        struct stat open {};
        if (::stat(path, &named) == 0 && ::fstat(slot.Descriptor.load(), &open) == 0 &&
            named.st_dev == open.st_dev && named.st_ino == open.st_ino) {
            ::unlink(path);
        }
    }
}

void OnInterrupt(int signal) {
    const int savedErrno = errno;
    // Another thread is making or renaming a file: its steps take microseconds.
    while (heldBack.load() > 0) {
        ::sched_yield();
    }
    RemoveAll();
    // Ends the process as the signal would have, so that its parent sees why it ended.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    errno = savedErrno;
}

#endif

} // namespace

void RemoveUnfinishedFiles() noexcept {
    RemoveAll();
}

void RemoveUnfinishedFilesAtInterrupts() {
#ifdef _WIN32
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        // A background job of a shell ignores SIGINT, and nohup SIGHUP: that choice stands.
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction removing {};
        removing.sa_handler = OnInterrupt;
        sigemptyset(&removing.sa_mask);
        ::sigaction(signal, &removing, nullptr);
    }
#endif
}

#ifdef _WIN32

InterruptsHeldBack::InterruptsHeldBack() {
    slotsLock.lock();
}

InterruptsHeldBack::~InterruptsHeldBack() {
    slotsLock.unlock();
}

#else

InterruptsHeldBack::InterruptsHeldBack() {
    const sigset_t interrupts = Interrupts();
    ::pthread_sigmask(SIG_BLOCK, &interrupts, &saved_);
    heldBack.fetch_add(1);
}

InterruptsHeldBack::~InterruptsHeldBack() {
    heldBack.fetch_sub(1);
    // An interrupt that came meanwhile is handled here, before the call returns.
    ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
}

#endif

UnfinishedFileRegistration::UnfinishedFileRegistration(const std::string& path,
                                                       const FileHandle& file)
    : slot_(Register(path, file)) {}

UnfinishedFileRegistration::~UnfinishedFileRegistration() {
    Withdraw();
}

bool UnfinishedFileRegistration::FileWasRemoved() const {
    return slot_ >= 0 && WasRemoved(slot_);
}

void UnfinishedFileRegistration::Withdraw() noexcept {
    if (slot_ >= 0) {
        kelbrin::Withdraw(slot_);
        slot_ = -1;
    }
}

} // namespace kelbrin
