#pragma once

#include <string>

#include "common/RuntimeError.h"

namespace kelbrin {

// An open file descriptor that closes itself. Close() reports a failing close; the
// destructor closes quietly, for files whose failure is already being reported.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int Get() const noexcept { return fd_; }
    bool IsOpen() const noexcept { return fd_ >= 0; }
    void Close();

private:
    int fd_ = -1;
};

// Opens a regular file for reading. A directory, a FIFO or a device is refused with
// error 75: images and scripts are plain files, and a FIFO would block the run.
FileDescriptor OpenForReading(const std::string& path);

enum class WriteMode {
    Truncate, // create the file, or empty it
    Keep,     // create the file, or write over it from its first byte
};

// Opens a file for writing.
FileDescriptor OpenForWriting(const std::string& path, WriteMode mode);

// The numbered error for a failed open of `nativePath`, from the errno value.
RuntimeError OpenError(int error, const std::string& nativePath);

// The numbered error for a failed read or write, from the errno value.
RuntimeError TransferError(int error);

} // namespace kelbrin
