#include "Terminal.h"

#include "DisplayText.h"
#include "TerminalText.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kelbrin {

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
    // _isatty is true of the null device too: only a console has a console mode.
    const intptr_t handle = ::_get_osfhandle(::_fileno(stream));
    DWORD mode = 0;
    return handle != -1 && ::GetConsoleMode(reinterpret_cast<HANDLE>(handle), &mode) != 0;
#else
    const int fd = ::fileno(stream);
    return fd >= 0 && ::isatty(fd) == 1;
#endif
}

std::string ShownOn(std::FILE* stream, std::string_view text) {
    const std::string shown = DisplayText(text);
    return IsTerminal(stream) ? TerminalText(shown) : shown;
}

} // namespace kelbrin
