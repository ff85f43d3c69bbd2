#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "RuntimeError.h"

namespace kelbrin {

// What tells one existing file from every other: the device and inode, or the volume and the
// file index. Every name of the file, through any spelling or link, gives the same key.
struct FileKey {
    std::uint64_t Volume = 0;
    std::uint64_t Index = 0;
    bool operator==(const FileKey&) const = default;
};

// An open file that closes itself. The system calls behind it live in FileHandlePosix.cpp and
// FileHandleWindows.cpp; every failure is raised as its numbered error, the same number on
// every system. Close() reports a failing close; the destructor closes quietly, for files whose
// failure is already being reported.
class FileHandle {
public:
    // A POSIX descriptor or a Windows HANDLE. -1 is neither (INVALID_HANDLE_VALUE is -1 too).
    using Native = std::intptr_t;

    FileHandle() = default;
    explicit FileHandle(Native native) : native_(native) {}
    FileHandle(FileHandle&& other) noexcept : native_(other.native_) { other.native_ = -1; }
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    Native Get() const noexcept { return native_; }
    bool IsOpen() const noexcept { return native_ != -1; }
    void Close();
    // What tells the open file from every other (see FileKey); nothing when it cannot be told.
    std::optional<FileKey> Key() const;

    // Reads up to `count` bytes on from where the last read ended; 0 at the end of the file.
    std::size_t Read(void* bytes, std::size_t count);
    // Reads `count` bytes at `offset`; fewer only where the file ends. The next Read or Write
    // goes where it would have gone without it.
    std::size_t ReadAt(std::int64_t offset, void* bytes, std::size_t count);
    // Writes all `count` bytes after the ones written before.
    void Write(const void* bytes, std::size_t count);
    // Has the system copy up to `count` bytes of `source`, from `sourceOffset` on, to the end
    // of what this file was written so far, without passing them through this process. Returns
    // the count copied: short when the source ends or when the system cannot copy between these
    // files, and the caller copies the rest itself.
    std::int64_t CopyFrom(const FileHandle& source, std::int64_t sourceOffset, std::int64_t count);
    // Has the system write what the file holds to the disk (fsync, FlushFileBuffers).
    void FlushToDisk();
    // Has the system start writing `count` bytes from `offset` to the disk, without waiting
    // for them, so that a later FlushToDisk finds little left to do. Where the system has no
    // such call (Windows), it does nothing; a failure shows at FlushToDisk.
    void StartWriteBack(std::int64_t offset, std::int64_t count) noexcept;
    // Where the next write goes: after a failed write, how far the file got. Nothing when the
    // system cannot tell.
    std::optional<std::int64_t> Position() const noexcept;

private:
    // Closes without a word, for files whose failure is already being reported.
    static void CloseQuietly(Native native) noexcept;

    Native native_ = -1;
};

// No file system takes a name with a NUL byte: the name would silently end there. The file
// layer refuses such names (error 52 where it raises, "no file" where it does not).
bool NameHasNul(std::string_view path);

// Opens a regular file for reading. A directory, a FIFO or a device is refused with
// error 75: images and scripts are plain files, and a FIFO would block the run.
FileHandle OpenForReading(const std::string& path);

enum class WriteMode {
    Truncate, // create the file, or empty it
    Keep,     // create the file, or write over it from its first byte
};

// Opens a file for writing.
FileHandle OpenForWriting(const std::string& path, WriteMode mode);

// What replaces a file in one step (see ReplacementFile):
// - the file `nativePath` leads to through symbolic links in its last part: `nativePath` itself
//   when it is no link; error 75 for a loop of links;
std::string LinkTarget(const std::string& nativePath);
// - the permission bits of the existing file `nativePath`, after proving that it could be opened
//   for writing as it is, with the errors of such an open (75 for anything but a plain file);
//   nothing when there is no such file;
std::optional<std::uint32_t> WritableFileMode(const std::string& nativePath);
// - removes what a writer that was killed left under the new file's name `nativePath`: a plain
//   file that no writer holds, and that the name still leads to once this process holds it.
//   Only its name goes: it is never written, so that another name of it, or a writer that takes
//   no lock, keeps its bytes. Anything else by that name (a folder, a link, a FIFO) is
//   error 75, and a failed removal raises its own error;
enum class Leftover { None, Removed, HeldByAWriter };
Leftover RemoveLeftover(const std::string& nativePath);
// - makes the new file `nativePath`, held for writing (and reading back what was written) by
//   this one handle from the moment it has its name. Error 70 when the name is taken meanwhile: by
//   another writer, whose file it is.
FileHandle CreateAlone(const std::string& nativePath);
void SetPermissionBits(const FileHandle& file, std::uint32_t bits);
// - renames the open `file`, named `from`, over `to` in one step: `to` is the old file or the
//   new one, never neither.
void RenameOver(const FileHandle& file, const std::string& from, const std::string& to);
// - gives the open `file`, named `from`, the name `to` only where no file has that name:
//   error 58 otherwise, and the existing file stays as it was. No moment lets another file of
//   that name be overwritten.
void RenameAsNew(const FileHandle& file, const std::string& from, const std::string& to);
// Removes the file `nativePath` names if it is the open `file`; never raises. On Windows the
// name lasts until the file is let go.
bool RemoveFileIfItIs(const std::string& nativePath, const FileHandle& file) noexcept;

// The key of the existing file or folder `nativePath` names; nothing when there is none.
std::optional<FileKey> ExistingFileKey(const std::string& nativePath);

// The size of the file that `nativePath` names, as the system reports it to a reader: the
// whole 64-bit size, and its low 32 bits as the system hands them out; -1 for either when the
// file cannot be opened for reading. Never raises.
std::int64_t NativeFileLength64(const std::string& nativePath);
std::int32_t NativeFileLength32(const std::string& nativePath);

// True when `nativePath` names an existing folder.
bool IsExistingFolder(const std::string& nativePath);

// The process's working directory as the file layer takes names; "." when it cannot be told.
std::string WorkingDirectory();

} // namespace kelbrin
