#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "FileHandle.h"

namespace kelbrin {

namespace {

int Fd(FileHandle::Native native) {
    return static_cast<int>(native);
}

// The numbered error for a failed read or write.
RuntimeError TransferError(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return RuntimeError(ErrDiskFull);
    default: return RuntimeError(ErrDeviceIO);
    }
}

std::string ParentDirectory(const std::string& nativePath) {
    const std::size_t slash = nativePath.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : nativePath.substr(0, slash);
}

// The numbered error for a failed open of `nativePath`.
RuntimeError OpenError(int error, const std::string& nativePath) {
    switch (error) {
    case ENOENT:
        return RuntimeError(IsExistingFolder(ParentDirectory(nativePath)) ? ErrFileNotFound
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

const std::string& CheckedName(const std::string& path) {
    if (NameHasNul(path)) {
        throw RuntimeError(ErrBadFileName);
    }
    return path;
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

bool IsExistingFolder(const std::string& nativePath) {
    struct stat info {};
    return ::stat(nativePath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void FileHandle::CloseQuietly(Native native) noexcept {
    ::close(Fd(native));
}

void FileHandle::Close() {
    if (!IsOpen()) {
        return;
    }
    const int fd = Fd(native_);
    native_ = -1;
    // Linux releases the descriptor even when close fails, so it is never retried.
    if (::close(fd) != 0 && errno != EINTR) {
        throw TransferError(errno);
    }
}

std::size_t FileHandle::Read(void* bytes, std::size_t count) {
    ssize_t got;
    do {
        got = ::read(Fd(native_), bytes, count);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        throw TransferError(errno);
    }
    return static_cast<std::size_t>(got);
}

std::size_t FileHandle::ReadAt(std::int64_t offset, void* bytes, std::size_t count) {
    auto* const into = static_cast<char*>(bytes);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(Fd(native_), into + done, count - done,
                                    static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw TransferError(errno);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void FileHandle::Write(const void* bytes, std::size_t count) {
    const auto* from = static_cast<const char*>(bytes);
    while (count > 0) {
        const ssize_t put = ::write(Fd(native_), from, count);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw TransferError(errno);
        }
        from += put;
        count -= static_cast<std::size_t>(put);
    }
}

std::int64_t FileHandle::CopyFrom(const FileHandle& source, std::int64_t sourceOffset,
                                  std::int64_t count) {
#ifdef __linux__
    std::int64_t copied = 0;
    while (copied < count) {
        auto from = static_cast<off_t>(sourceOffset + copied);
        const ssize_t moved = ::copy_file_range(Fd(source.native_), &from, Fd(native_), nullptr,
                                                static_cast<std::size_t>(count - copied), 0);
        if (moved < 0) {
            if (errno == EINTR) {
                continue;
            }
            // Not possible between these files (a device, another file system, an old
            // kernel): the caller copies the rest through its buffer.
            if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
                errno == EBADF) {
                break;
            }
            throw TransferError(errno);
        }
        if (moved == 0) {
            break; // the source ended
        }
        copied += moved;
    }
    return copied;
#else
    (void)source;
    (void)sourceOffset;
    (void)count;
    return 0;
#endif
}

void FileHandle::FlushToDisk() {
    while (::fsync(Fd(native_)) != 0) {
        if (errno != EINTR) {
            throw TransferError(errno);
        }
    }
}

std::optional<std::int64_t> FileHandle::Position() const noexcept {
    const off_t at = ::lseek(Fd(native_), 0, SEEK_CUR);
    if (at < 0) {
        return std::nullopt;
    }
    return at;
}

FileHandle OpenForReading(const std::string& path) {
    const std::string nativePath = CheckedName(path);
    FileHandle file(OpenNative(nativePath, O_RDONLY));
    struct stat info {};
    if (::fstat(Fd(file.Get()), &info) != 0) {
        throw TransferError(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        throw RuntimeError(ErrPathFileAccess);
    }
    return file;
}

FileHandle OpenForWriting(const std::string& path, WriteMode mode) {
    const int truncate = mode == WriteMode::Truncate ? O_TRUNC : 0;
    return FileHandle(OpenNative(CheckedName(path), O_WRONLY | O_CREAT | truncate));
}

namespace {

FileKey KeyOf(const struct stat& info) {
    return FileKey{static_cast<std::uint64_t>(info.st_dev),
                   static_cast<std::uint64_t>(info.st_ino)};
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::string LinkTarget(const std::string& path) {
    std::string followed = CheckedName(path);
    // As many links as the system itself follows in one name before it gives up.
    for (int links = 0; links < 40; ++links) {
        struct stat info {};
        if (::lstat(followed.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return followed;
        }
        std::vector<char> target(static_cast<std::size_t>(info.st_size) + 1);
        const ssize_t length = ::readlink(followed.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
            return followed; // changed under us: the open that follows reports it
        }
        const std::string to(target.data(), static_cast<std::size_t>(length));
        followed = to.starts_with('/') ? to : ParentDirectory(followed) + "/" + to;
    }
    throw RuntimeError(ErrPathFileAccess);
}

std::optional<std::uint32_t> WritableFileMode(const std::string& path) {
    const std::string& nativePath = CheckedName(path);
    const int fd = ::open(nativePath.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        throw OpenError(errno, nativePath);
    }
    const FileHandle file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw TransferError(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        throw RuntimeError(ErrPathFileAccess);
    }
    return static_cast<std::uint32_t>(info.st_mode & 07777);
}

FileHandle OpenForWritingAlone(const std::string& path) {
    const std::string& nativePath = CheckedName(path);
    // Another writer may take the name over between the open and the lock: then the file
    // locked is no longer the one the name leads to, and the name is opened again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        // No link is followed: the name is the writer's own, never a way into another file.
        FileHandle file(OpenNative(nativePath, O_WRONLY | O_CREAT | O_NOFOLLOW));
        const int fd = Fd(file.Get());
        struct stat open {};
        if (::fstat(fd, &open) != 0) {
            throw TransferError(errno);
        }
        // A file of several names is no writer's leftover; emptying it would empty the others.
        if (!S_ISREG(open.st_mode) || open.st_nlink != 1) {
            throw RuntimeError(ErrPathFileAccess);
        }
        // flock, not fcntl: its lock belongs to the open file, so that a second writer in the
        // same process is refused too, and it ends with the file however the process ends.
        int locked;
        do {
            locked = ::flock(fd, LOCK_EX | LOCK_NB);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            throw errno == EWOULDBLOCK ? RuntimeError(ErrPermissionDenied)
                                       : OpenError(errno, nativePath);
        }
        struct stat named {};
        if (::stat(nativePath.c_str(), &named) != 0 || !SameFile(named, open)) {
            continue;
        }
        while (::ftruncate(fd, 0) != 0) {
            if (errno != EINTR) {
                throw TransferError(errno);
            }
        }
        return file;
    }
    throw RuntimeError(ErrPermissionDenied);
}

void SetPermissionBits(const FileHandle& file, std::uint32_t bits) {
    if (::fchmod(Fd(file.Get()), static_cast<mode_t>(bits)) != 0) {
        throw OpenError(errno, "");
    }
}

void RenameOver(const std::string& from, const std::string& to) {
    if (::rename(CheckedName(from).c_str(), CheckedName(to).c_str()) != 0) {
        throw OpenError(errno, to);
    }
    // The rename reaches the disk with the folder. Should that fail, the file is whole and in
    // place all the same; after a power loss the folder may show the old file, still whole.
    const int folder = ::open(ParentDirectory(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void RenameAsNew(const std::string& from, const std::string& to) {
    // A second name is refused where one exists; then the first one goes.
    if (::link(CheckedName(from).c_str(), CheckedName(to).c_str()) == 0) {
        ::unlink(from.c_str());
        return;
    }
    const int error = errno;
    if (error == EEXIST) {
        throw RuntimeError(ErrFileAlreadyExists);
    }
    // File systems without hard links (FAT on a memory card) say so; there only a look before
    // the rename can keep an existing file.
    if (error != EPERM && error != ENOTSUP && error != EOPNOTSUPP && error != ENOSYS &&
        error != EMLINK) {
        throw OpenError(error, to);
    }
    if (ExistingFileKey(to)) {
        throw RuntimeError(ErrFileAlreadyExists);
    }
    RenameOver(from, to);
}

bool RemoveFileIfItIs(const std::string& nativePath, const FileHandle& file) noexcept {
    struct stat named {};
    struct stat open {};
    return ::stat(nativePath.c_str(), &named) == 0 && ::fstat(Fd(file.Get()), &open) == 0 &&
           SameFile(named, open) && ::unlink(nativePath.c_str()) == 0;
}

std::optional<FileKey> FileHandle::Key() const {
    struct stat info {};
    if (::fstat(Fd(native_), &info) != 0) {
        return std::nullopt;
    }
    return KeyOf(info);
}

std::optional<FileKey> ExistingFileKey(const std::string& nativePath) {
    struct stat info {};
    if (::stat(nativePath.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return KeyOf(info);
}

std::int64_t NativeFileLength64(const std::string& nativePath) {
    // Read-only and non-blocking: asking a FIFO's length must not wait for a writer.
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    ::close(fd);
    return known ? static_cast<std::int64_t>(info.st_size) : -1;
}

std::int32_t NativeFileLength32(const std::string& nativePath) {
    // Only the low 32 bits of the size count: 2 GiB reads as negative, 4 GiB + 5 as 5.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(NativeFileLength64(nativePath)));
}

std::string WorkingDirectory() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return ".";
        }
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

} // namespace kelbrin
