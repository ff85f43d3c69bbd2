#include "FileLength.h"

#include "FileHandle.h"

namespace kelbrin {

std::int64_t FileLength64(const std::string& fileName) {
    return NameHasNul(fileName) ? -1 : NativeFileLength64(fileName);
}

std::int32_t FileLength(const std::string& fileName) {
    return NameHasNul(fileName) ? -1 : NativeFileLength32(fileName);
}

} // namespace kelbrin
