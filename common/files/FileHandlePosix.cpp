#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
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

void FileHandle::StartWriteBack(std::int64_t offset, std::int64_t count) noexcept {
#ifdef __linux__
    // Queued, not waited for; what fails here fails again at the flush, which reports it.
    ::sync_file_range(Fd(native_), static_cast<off_t>(offset), static_cast<off_t>(count),
                      SYNC_FILE_RANGE_WRITE);
#else
    (void)offset;
    (void)count;
#endif
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

namespace {

// Takes the writer's lock on `fd` without waiting: 0, or EWOULDBLOCK while another writer holds
// it, or the error that kept it from being taken. flock, not fcntl: its lock belongs to the open
// file, so that a second writer in the same process is refused too, and it ends with the file
// however the process ends.
int LockAlone(int fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

// True when `nativePath`, itself and not a link's target, is the open file `fd`.
bool NameLeadsTo(const std::string& nativePath, int fd) {
    struct stat named {};
    struct stat open {};
    return ::lstat(nativePath.c_str(), &named) == 0 && ::fstat(fd, &open) == 0 &&
           SameFile(named, open);
}

#ifdef O_TMPFILE
// Makes the new file without a name, locks it, and only then links it under `nativePath`, so
// that no other writer ever finds it unlocked. Nothing when the file system cannot.
std::optional<FileHandle> CreateLockedThenNamed(const std::string& nativePath) {
    int fd;
    do {
        fd = ::open(ParentDirectory(nativePath).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        // A file system without unnamed files, or a kernel older than them (it opens the
        // folder, which cannot be written).
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
            return std::nullopt;
        }
        throw OpenError(errno, nativePath);
    }
    FileHandle file(fd);
    if (const int error = LockAlone(fd)) {
        throw OpenError(error, nativePath);
    }
    // Through /proc: linking the descriptor itself (AT_EMPTY_PATH) takes a privilege.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, nativePath.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return file;
    }
    if (errno == EEXIST) {
        throw RuntimeError(ErrPermissionDenied);
    }
    // No /proc, or a file system without links: the name is made with the file.
    if (errno == ENOENT || errno == EPERM || errno == EOPNOTSUPP || errno == EMLINK) {
        return std::nullopt;
    }
    throw OpenError(errno, nativePath);
}
#endif

} // namespace

Leftover RemoveLeftover(const std::string& path) {
    const std::string& nativePath = CheckedName(path);
    struct stat named {};
    if (::lstat(nativePath.c_str(), &named) != 0) {
        // A missing folder is told by the new file's open.
        if (errno == ENOENT || errno == ENOTDIR) {
            return Leftover::None;
        }
        throw OpenError(errno, nativePath);
    }
    if (!S_ISREG(named.st_mode)) {
        throw RuntimeError(ErrPathFileAccess);
    }
    // Opened only to be locked, never through a link: for reading, which a read-only leftover
    // allows too; for writing where reading is refused, or where the file system locks only
    // files open for writing (NFS). Nothing is ever written.
    for (const int access : {O_RDONLY, O_WRONLY}) {
        int fd;
        do {
            fd =
                ::open(nativePath.c_str(), access | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            if (errno == ENOENT) {
                return Leftover::None; // its writer removed it meanwhile
            }
            if (errno == EACCES && access == O_RDONLY) {
                continue;
            }
            throw OpenError(errno, nativePath);
        }
        const FileHandle file(fd);
        struct stat open {};
        if (::fstat(fd, &open) != 0) {
            throw TransferError(errno);
        }
        if (!S_ISREG(open.st_mode)) {
            throw RuntimeError(ErrPathFileAccess);
        }
        const int error = LockAlone(fd);
        if (error == EBADF && access == O_RDONLY) {
            continue;
        }
        if (error != 0 && error != EWOULDBLOCK) {
            throw OpenError(error, nativePath);
        }
        // Held by its writer, or taken over and replaced by another run meanwhile.
        if (error == EWOULDBLOCK || !NameLeadsTo(nativePath, fd)) {
            return Leftover::HeldByAWriter;
        }
        if (::unlink(nativePath.c_str()) != 0) {
            throw OpenError(errno, nativePath);
        }
        return Leftover::Removed;
    }
    throw RuntimeError(ErrPermissionDenied);
}

FileHandle CreateAlone(const std::string& path) {
    const std::string& nativePath = CheckedName(path);
#ifdef O_TMPFILE
    if (std::optional<FileHandle> file = CreateLockedThenNamed(nativePath)) {
        return std::move(*file);
    }
#endif
    int fd;
    do {
        // No link is followed: the name is the writer's own, never a way into another file.
        fd = ::open(nativePath.c_str(),
                    O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        throw errno == EEXIST ? RuntimeError(ErrPermissionDenied) : OpenError(errno, nativePath);
    }
    FileHandle file(fd);
    // Between the open and the lock another writer may find the file, take it for a leftover
    // and remove it: then the name leads elsewhere, and the file is that writer's to make.
    const int error = LockAlone(fd);
    if (error != 0 && error != EWOULDBLOCK) {
        throw OpenError(error, nativePath);
    }
    if (error == EWOULDBLOCK || !NameLeadsTo(nativePath, fd)) {
        throw RuntimeError(ErrPermissionDenied);
    }
    return file;
}

void SetPermissionBits(const FileHandle& file, std::uint32_t bits) {
    if (::fchmod(Fd(file.Get()), static_cast<mode_t>(bits)) != 0) {
        throw OpenError(errno, "");
    }
}

void RenameOver(const FileHandle&, const std::string& from, const std::string& to) {
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

void RenameAsNew(const FileHandle& file, const std::string& from, const std::string& to) {
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
    // the rename can keep an existing file. ENOTSUP and EOPNOTSUPP are one number on Linux only.
    // NOLINTNEXTLINE(misc-redundant-expression)
    if (error != EPERM && error != ENOTSUP && error != EOPNOTSUPP && error != ENOSYS &&
        error != EMLINK) {
        throw OpenError(error, to);
    }
    if (ExistingFileKey(to)) {
        throw RuntimeError(ErrFileAlreadyExists);
    }
    RenameOver(file, from, to);
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
