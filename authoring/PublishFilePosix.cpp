#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "FileHandle.h"
#include "PublishFile.h"
#include "RuntimeError.h"

namespace kelbrin {

namespace {

RuntimeError MoveError(int error) {
    switch (error) {
    case EEXIST: return RuntimeError(ErrFileAlreadyExists);
    case EACCES:
    case EPERM:
    case EROFS: return RuntimeError(ErrPermissionDenied);
    case ENOENT:
    case ENOTDIR: return RuntimeError(ErrPathNotFound);
    case ENOSPC:
    case EDQUOT: return RuntimeError(ErrDiskFull);
    default: return RuntimeError(ErrPathFileAccess);
    }
}

} // namespace

std::string UnfinishedName(const std::string& path) {
    return path + "." + std::to_string(::getpid()) + ".new";
}

void PublishFile(const std::string& finished, const std::string& path, bool replaceExisting) {
    if (!replaceExisting) {
        // A second name for the finished file is refused where one exists: no moment in which
        // another file of that name could be overwritten.
        if (::link(finished.c_str(), path.c_str()) == 0) {
            ::unlink(finished.c_str());
            return;
        }
        const int error = errno;
        // File systems without hard links (FAT on a memory card) are told by their refusal;
        // there only a look before the move can keep an existing file.
        if (error != EPERM && error != ENOTSUP && error != EOPNOTSUPP && error != ENOSYS &&
            error != EMLINK) {
            throw MoveError(error);
        }
        if (ExistingFileKey(path)) {
            throw RuntimeError(ErrFileAlreadyExists);
        }
    }
    if (std::rename(finished.c_str(), path.c_str()) != 0) {
        throw MoveError(errno);
    }
}

void RemoveUnfinished(const std::string& path) noexcept {
    ::unlink(path.c_str());
}

} // namespace kelbrin
