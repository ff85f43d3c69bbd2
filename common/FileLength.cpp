#include "common/FileHandle.h"
#include "common/General_Routines.h"

namespace kelbrin {

std::int64_t FileLength64(const std::string& fileName) {
    if (fileName.find('\0') != std::string::npos) {
        return -1;
    }
    return NativeFileLength64(fileName);
}

std::int32_t FileLength(const std::string& fileName) {
    if (fileName.find('\0') != std::string::npos) {
        return -1;
    }
    return NativeFileLength32(fileName);
}

} // namespace kelbrin
