#include "FileIdentity.h"

#include "FileHandle.h"

namespace kelbrin {

bool SameExistingFile(const std::string& first, const std::string& second) {
    if (NameHasNul(first) || NameHasNul(second)) {
        return false;
    }
    const std::optional<FileKey> a = ExistingFileKey(first);
    return a && a == ExistingFileKey(second);
}

} // namespace kelbrin
