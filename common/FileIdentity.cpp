#include "common/FileIdentity.h"

#include "common/FileHandle.h"
#include "common/NativePath.h"

namespace kelbrin {

bool SameExistingFile(const std::string& first, const std::string& second) {
    if (first.find('\0') != std::string::npos || second.find('\0') != std::string::npos) {
        return false;
    }
    const std::optional<FileKey> a = ExistingFileKey(NativePath(first));
    return a && a == ExistingFileKey(NativePath(second));
}

} // namespace kelbrin
