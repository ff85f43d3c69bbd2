#include "common/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/NativePath.h"

namespace kelbrin {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void FileDescriptor::Close() {
    if (fd_ < 0) {
        return;
    }
    const int fd = fd_;
    fd_ = -1;
    // Linux releases the descriptor even when close fails, so it is never retried.
    if (::close(fd) != 0 && errno != EINTR) {
        throw TransferError(errno);
    }
}

namespace {

bool IsDirectory(const std::string& nativePath) {
    struct stat info {};
    return ::stat(nativePath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ParentDirectory(const std::string& nativePath) {
    const std::size_t slash = nativePath.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : nativePath.substr(0, slash);
}

std::string CheckedNativePath(const std::string& path) {
    // The file system cannot take a NUL byte: the name would silently end there.
    if (path.find('\0') != std::string::npos) {
        throw RuntimeError(ErrBadFileName);
    }
    return NativePath(path);
}

int OpenNative(const std::string& nativePath, int flags) {
    // O_NONBLOCK keeps the open of a FIFO from waiting for its other end.
    int fd;
    do {
        fd = ::open(nativePath.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        throw OpenError(errno, nativePath);
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status >= 0) {
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    }
    return fd;
}

} // namespace

FileDescriptor OpenForReading(const std::string& path) {
    const std::string nativePath = CheckedNativePath(path);
    FileDescriptor file(OpenNative(nativePath, O_RDONLY));
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        throw TransferError(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        throw RuntimeError(ErrPathFileAccess);
    }
    return file;
}

FileDescriptor OpenForWriting(const std::string& path, WriteMode mode) {
    const int truncate = mode == WriteMode::Truncate ? O_TRUNC : 0;
    return FileDescriptor(OpenNative(CheckedNativePath(path), O_WRONLY | O_CREAT | truncate));
}

RuntimeError OpenError(int error, const std::string& nativePath) {
    switch (error) {
    case ENOENT:
        return RuntimeError(IsDirectory(ParentDirectory(nativePath)) ? ErrFileNotFound
                                                                     : ErrPathNotFound);
    case ENOTDIR: return RuntimeError(ErrPathNotFound);
    case EACCES:
    case EPERM: return RuntimeError(ErrPermissionDenied);
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return RuntimeError(ErrDiskFull);
    case ENAMETOOLONG: return RuntimeError(ErrBadFileName);
    case EIO: return RuntimeError(ErrDeviceIO);
    default: return RuntimeError(ErrPathFileAccess);
    }
}

RuntimeError TransferError(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return RuntimeError(ErrDiskFull);
    default: return RuntimeError(ErrDeviceIO);
    }
}

} // namespace kelbrin
