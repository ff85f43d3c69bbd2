#include "common/FileIdentity.h"

#include <sys/stat.h>

#include "common/NativePath.h"

namespace kelbrin {

bool SameExistingFile(const std::string& first, const std::string& second) {
    if (first.find('\0') != std::string::npos || second.find('\0') != std::string::npos) {
        return false;
    }
    struct stat a {};
    struct stat b {};
    return ::stat(NativePath(first).c_str(), &a) == 0 &&
           ::stat(NativePath(second).c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

} // namespace kelbrin
