#include "common/FileIdentity.h"

#include "common/FileHandle.h"

namespace kelbrin {

bool SameExistingFile(const std::string& first, const std::string& second) {
    if (first.find('\0') != std::string::npos || second.find('\0') != std::string::npos) {
        return false;
    }
    const std::optional<FileKey> a = ExistingFileKey(first);
    return a && a == ExistingFileKey(second);
}

} // namespace kelbrin
