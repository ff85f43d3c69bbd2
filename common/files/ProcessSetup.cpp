#include "ProcessSetup.h"

#include "UnfinishedFiles.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kelbrin {

#ifdef _WIN32

bool SetUpProcess() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    RemoveUnfinishedFilesAtInterrupts();
    return true;
}

#else

bool SetUpProcess() {
    // open() takes the lowest free number, so holding them in order fills each gap.
    for (int standard = 0; standard <= 2; ++standard) {
        if (::fcntl(standard, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        const int held = ::open("/dev/null", O_RDONLY);
        if (held != standard) {
            if (held >= 0) {
                ::close(held);
            }
            return false;
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    RemoveUnfinishedFilesAtInterrupts();
    return true;
}

#endif

} // namespace kelbrin
