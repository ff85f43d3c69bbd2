#include <windows.h>

#include "PublishFile.h"
#include "RuntimeError.h"

namespace kelbrin {

std::string UnfinishedName(const std::string& path) {
    return path + "." + std::to_string(::GetCurrentProcessId()) + ".new";
}

void PublishFile(const std::string& finished, const std::string& path, bool replaceExisting) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails where the name is taken.
    if (::MoveFileExA(finished.c_str(), path.c_str(),
                      replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0)) {
        return;
    }
    switch (::GetLastError()) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: throw RuntimeError(ErrFileAlreadyExists);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT: throw RuntimeError(ErrPermissionDenied);
    case ERROR_PATH_NOT_FOUND: throw RuntimeError(ErrPathNotFound);
    case ERROR_DISK_FULL: throw RuntimeError(ErrDiskFull);
    default: throw RuntimeError(ErrPathFileAccess);
    }
}

void RemoveUnfinished(const std::string& path) noexcept {
    ::DeleteFileA(path.c_str());
}

} // namespace kelbrin
