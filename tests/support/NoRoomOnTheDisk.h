#pragma once

#ifndef _WIN32

#include <csignal>
#include <sys/resource.h>

namespace kelbrin::test {

// While it lives, every write that would make a file longer than `room` bytes fails as on a full
// disk: the process's file-size limit, its signal ignored as the programs ignore it. A stand-in
// for a full disk that harms nothing else.
class NoRoomOnTheDisk {
public:
    explicit NoRoomOnTheDisk(rlim_t room = 0) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit limit{room, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~NoRoomOnTheDisk() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }
    NoRoomOnTheDisk(const NoRoomOnTheDisk&) = delete;
    NoRoomOnTheDisk& operator=(const NoRoomOnTheDisk&) = delete;

private:
    void (*handler_)(int);
    rlimit saved_{};
};

} // namespace kelbrin::test

#endif
