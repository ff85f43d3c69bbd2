#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/General_Routines.h"
#include "common/NativePath.h"

namespace kelbrin {

std::int64_t FileLength64(const std::string& fileName) {
    if (fileName.find('\0') != std::string::npos) {
        return -1;
    }
    // Read-only and non-blocking: asking a FIFO's length must not wait for a writer.
    const int fd = ::open(NativePath(fileName).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    ::close(fd);
    return known ? static_cast<std::int64_t>(info.st_size) : -1;
}

std::int32_t FileLength(const std::string& fileName) {
    // Only the low 32 bits of the size count: 2 GiB reads as negative, 4 GiB + 5 as 5.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(FileLength64(fileName)));
}

} // namespace kelbrin
