// The file layer on Windows: paths arrive as UTF-8 (see WideText.h) and go to the wide entry
// points of kernel32, so that a folder of any name works; backslashes stay as they are.

#include <algorithm>
#include <vector>
#include <windows.h>

#include "FileHandle.h"
#include "FolderPaths.h"
#include "WideText.h"

namespace kelbrin {

namespace {

// Shared like a POSIX file: the run keeps the script open while it reads the original and
// writes the expanded file, and another program may look at any of them meanwhile.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// ReadFile and WriteFile count in 32 bits.
constexpr std::size_t kLargestTransfer = 1u << 30;

HANDLE Win(FileHandle::Native native) {
    return reinterpret_cast<HANDLE>(native);
}

// The numbered error for a failed read, write or close.
RuntimeError TransferError(DWORD error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return RuntimeError(ErrDiskFull);
    default: return RuntimeError(ErrDeviceIO);
    }
}

// The numbered error for a failed open of `nativePath`. Windows refuses to open a folder as a
// file with "access denied" (or, for a name ending in a backslash, "path not found"): a folder
// is error 75 here as everywhere.
RuntimeError OpenError(DWORD error, const std::string& nativePath) {
    if (IsExistingFolder(nativePath)) {
        return RuntimeError(ErrPathFileAccess);
    }
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return RuntimeError(ErrFileNotFound);
    case ERROR_PATH_NOT_FOUND: return RuntimeError(ErrPathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return RuntimeError(ErrPermissionDenied);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return RuntimeError(ErrDiskFull);
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: return RuntimeError(ErrBadFileName);
    default: return RuntimeError(ErrPathFileAccess);
    }
}

// The path for the wide calls; error 52 for a name no file system takes, among them one with a
// part longer than the 255 characters NTFS allows (the wide calls would call it missing).
std::wstring CheckedName(const std::string& path) {
    if (NameHasNul(path)) {
        throw RuntimeError(ErrBadFileName);
    }
    std::wstring wide = WidePath(path);
    std::size_t partStart = 0;
    for (std::size_t i = 0; i <= wide.size(); ++i) {
        if (i == wide.size() || wide[i] == L'\\' || wide[i] == L'/') {
            if (i - partStart > 255) {
                throw RuntimeError(ErrBadFileName);
            }
            partStart = i + 1;
        }
    }
    return wide;
}

// The same for a file about to be written: "aux.bin" or "sub\nul" would open a device, where
// writing "succeeds" and no file is made, and "orig.nes:x" a hidden stream of orig.nes.
std::wstring CheckedNameToWrite(const std::string& path) {
    if (NamesWindowsDevice(path) || NamesAlternateStream(path)) {
        throw RuntimeError(ErrBadFileName);
    }
    return CheckedName(path);
}

// The attributes of what `path` names; INVALID_FILE_ATTRIBUTES when nothing, never raising.
DWORD AttributesOf(const std::string& path) {
    try {
        return ::GetFileAttributesW(CheckedName(path).c_str());
    } catch (const RuntimeError&) {
        return INVALID_FILE_ATTRIBUTES;
    }
}

HANDLE OpenNative(const std::string& nativePath, DWORD access, DWORD disposition,
                  DWORD share = kShareAll, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    const HANDLE file = ::CreateFileW(CheckedName(nativePath).c_str(), access, share, nullptr,
                                      disposition, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw OpenError(::GetLastError(), nativePath);
    }
    return file;
}

FileHandle::Native ToNative(HANDLE file) {
    return reinterpret_cast<FileHandle::Native>(file);
}

} // namespace

bool IsExistingFolder(const std::string& nativePath) {
    const DWORD attributes = AttributesOf(nativePath);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void FileHandle::CloseQuietly(Native native) noexcept {
    ::CloseHandle(Win(native));
}

void FileHandle::Close() {
    if (!IsOpen()) {
        return;
    }
    const HANDLE file = Win(native_);
    native_ = -1;
    if (!::CloseHandle(file)) {
        throw TransferError(::GetLastError());
    }
}

std::size_t FileHandle::Read(void* bytes, std::size_t count) {
    DWORD got = 0;
    if (!::ReadFile(Win(native_), bytes, static_cast<DWORD>(std::min(count, kLargestTransfer)),
                    &got, nullptr)) {
        throw TransferError(::GetLastError());
    }
    return got;
}

std::size_t FileHandle::ReadAt(std::int64_t offset, void* bytes, std::size_t count) {
    // A read at an offset moves the file pointer to its end: it is put back, so that a file
    // being written can be read meanwhile and the next write still goes after the last.
    LARGE_INTEGER pointer{};
    if (!::SetFilePointerEx(Win(native_), LARGE_INTEGER{}, &pointer, FILE_CURRENT)) {
        throw TransferError(::GetLastError());
    }
    struct PutBack {
        HANDLE File;
        LARGE_INTEGER Pointer;
        ~PutBack() { ::SetFilePointerEx(File, Pointer, nullptr, FILE_BEGIN); }
    } putBack{Win(native_), pointer};
    auto* const into = static_cast<char*>(bytes);
    std::size_t done = 0;
    while (done < count) {
        // On a handle opened for synchronous use the OVERLAPPED only says where to read.
        OVERLAPPED at{};
        const auto where = static_cast<std::uint64_t>(offset) + done;
        at.Offset = static_cast<DWORD>(where);
        at.OffsetHigh = static_cast<DWORD>(where >> 32);
        DWORD got = 0;
        if (!::ReadFile(Win(native_), into + done,
                        static_cast<DWORD>(std::min(count - done, kLargestTransfer)), &got, &at)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF) {
                break;
            }
            throw TransferError(error);
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

void FileHandle::Write(const void* bytes, std::size_t count) {
    const auto* from = static_cast<const char*>(bytes);
    while (count > 0) {
        DWORD put = 0;
        if (!::WriteFile(Win(native_), from, static_cast<DWORD>(std::min(count, kLargestTransfer)),
                         &put, nullptr)) {
            throw TransferError(::GetLastError());
        }
        from += put;
        count -= put;
    }
}

// NOLINTNEXTLINE(readability-convert-member-functions-to-static): on POSIX it uses both files.
std::int64_t FileHandle::CopyFrom(const FileHandle&, std::int64_t, std::int64_t) {
    // Windows has no copy of a range between two open files; the caller's buffer does it.
    return 0;
}

void FileHandle::FlushToDisk() {
    if (!::FlushFileBuffers(Win(native_))) {
        throw TransferError(::GetLastError());
    }
}

void FileHandle::StartWriteBack(std::int64_t, std::int64_t) noexcept {
    // Windows has no call that starts writing a range without waiting for it: the lazy writer
    // decides, and FlushFileBuffers does the rest.
}

std::optional<std::int64_t> FileHandle::Position() const noexcept {
    LARGE_INTEGER at{};
    if (!::SetFilePointerEx(Win(native_), LARGE_INTEGER{}, &at, FILE_CURRENT)) {
        return std::nullopt;
    }
    return at.QuadPart;
}

FileHandle OpenForReading(const std::string& path) {
    FileHandle file(ToNative(OpenNative(path, GENERIC_READ, OPEN_EXISTING)));
    // A device (NUL, CON, COM1) or a pipe opens like a file, but is no image or script.
    if (::GetFileType(Win(file.Get())) != FILE_TYPE_DISK) {
        throw RuntimeError(ErrPathFileAccess);
    }
    return file;
}

namespace {

// Windows lets no user write a read-only file. The attribute is asked first because Wine,
// started by root, would write over the file all the same.
void RefuseReadOnly(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        throw RuntimeError(ErrPermissionDenied);
    }
}

} // namespace

FileHandle OpenForWriting(const std::string& path, WriteMode mode) {
    CheckedNameToWrite(path);
    RefuseReadOnly(path);
    const DWORD disposition = mode == WriteMode::Truncate ? CREATE_ALWAYS : OPEN_ALWAYS;
    return FileHandle(ToNative(OpenNative(path, GENERIC_WRITE, disposition)));
}

std::string LinkTarget(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    // Opened through the link, for the name of the file it leads to.
    const HANDLE file = ::CreateFileW(CheckedName(path).c_str(), 0, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return path; // a link that leads nowhere is replaced itself
    }
    std::wstring target(MAX_PATH, L'\0');
    DWORD length =
        ::GetFinalPathNameByHandleW(file, target.data(), static_cast<DWORD>(target.size()), 0);
    if (length >= target.size()) {
        target.resize(length);
        length =
            ::GetFinalPathNameByHandleW(file, target.data(), static_cast<DWORD>(target.size()), 0);
    }
    ::CloseHandle(file);
    if (length == 0 || length >= target.size()) {
        return path;
    }
    target.resize(length);
    return Utf8FromWide(target);
}

std::optional<std::uint32_t> WritableFileMode(const std::string& path) {
    CheckedNameToWrite(path);
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt; // the new file's open says why, in the same words
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw RuntimeError(ErrPathFileAccess);
    }
    RefuseReadOnly(path);
    // Held by a program that shares no writing (an emulator): error 70, as a write would be.
    const FileHandle file(ToNative(OpenNative(path, GENERIC_WRITE, OPEN_EXISTING)));
    if (::GetFileType(Win(file.Get())) != FILE_TYPE_DISK) {
        throw RuntimeError(ErrPathFileAccess);
    }
    return 0; // Windows keeps no permission bits; the read-only attribute was refused above
}

Leftover RemoveLeftover(const std::string& path) {
    const std::wstring wide = CheckedNameToWrite(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return Leftover::None; // a missing folder is told by the new file's open
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        throw RuntimeError(ErrPathFileAccess);
    }
    // Opened with no sharing at all, as a run holds its file: a sharing violation says that a
    // writer holds it. A link is opened as itself, never followed; nothing is ever written.
    const HANDLE file = ::CreateFileW(
        wide.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, 0, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION) {
            return Leftover::HeldByAWriter;
        }
        if (error == ERROR_FILE_NOT_FOUND) {
            return Leftover::None; // its writer removed it meanwhile
        }
        throw OpenError(error, path);
    }
    const FileHandle held(ToNative(file));
    FILE_BASIC_INFO basic{};
    if (::GetFileType(file) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) ||
        (basic.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        throw RuntimeError(ErrPathFileAccess);
    }
    // Windows keeps a read-only file from being deleted.
    if ((basic.FileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        basic.FileAttributes &= ~DWORD{FILE_ATTRIBUTE_READONLY};
        if (basic.FileAttributes == 0) {
            basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        }
        if (!::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic)) {
            throw OpenError(::GetLastError(), path);
        }
    }
    // The name goes when this handle, the only one, is let go.
    FILE_DISPOSITION_INFO remove{TRUE};
    if (!::SetFileInformationByHandle(file, FileDispositionInfo, &remove, sizeof remove)) {
        throw OpenError(::GetLastError(), path);
    }
    return Leftover::Removed;
}

FileHandle CreateAlone(const std::string& path) {
    // Shared with no one, not even for deleting: another run's open fails with a sharing
    // violation, so that it can neither write the file nor take it for a leftover. The run
    // itself renames and removes the file through this handle. Made and held in one call:
    // no moment finds it unheld.
    const HANDLE file =
        ::CreateFileW(CheckedNameToWrite(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0,
                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            throw RuntimeError(ErrPermissionDenied);
        }
        throw OpenError(error, path);
    }
    FileHandle held(ToNative(file));
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        throw RuntimeError(ErrPathFileAccess);
    }
    return held;
}

void SetPermissionBits(const FileHandle&, std::uint32_t) {}

namespace {

// Renames the file `file` holds to `to`; false with the system's error when it cannot.
// Through the handle: its name cannot be opened again while the run holds it, unshared.
bool RenameHeld(const FileHandle& file, const std::string& to, bool replaceExisting) {
    const std::wstring wide = CheckedNameToWrite(to);
    const std::size_t nameBytes = wide.size() * sizeof(wchar_t);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* const rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = replaceExisting ? TRUE : FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::copy(wide.begin(), wide.end(), rename->FileName);
    rename->FileName[wide.size()] = L'\0';
    if (!::SetFileInformationByHandle(Win(file.Get()), FileRenameInfo, rename,
                                      static_cast<DWORD>(buffer.size()))) {
        return false;
    }
    // As MOVEFILE_WRITE_THROUGH would: the new name reaches the disk with the file. Should that
    // fail, the file is whole and in place all the same.
    ::FlushFileBuffers(Win(file.Get()));
    return true;
}

} // namespace

void RenameOver(const FileHandle& file, const std::string&, const std::string& to) {
    if (!RenameHeld(file, to, true)) {
        throw OpenError(::GetLastError(), to);
    }
}

void RenameAsNew(const FileHandle& file, const std::string&, const std::string& to) {
    if (!RenameHeld(file, to, false)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            throw RuntimeError(ErrFileAlreadyExists);
        }
        throw OpenError(error, to);
    }
}

bool RemoveFileIfItIs(const std::string& nativePath, const FileHandle& file) noexcept {
    try {
        const std::optional<FileKey> key = file.Key();
        if (!key || ExistingFileKey(nativePath) != key) {
            return false;
        }
    } catch (...) {
        return false;
    }
    // Through the handle: the name cannot be opened again while the file is held unshared.
    FILE_DISPOSITION_INFO remove{TRUE};
    return ::SetFileInformationByHandle(Win(file.Get()), FileDispositionInfo, &remove,
                                        sizeof remove) != 0;
}

namespace {

std::optional<FileKey> KeyOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info)) {
        return std::nullopt;
    }
    return FileKey{info.dwVolumeSerialNumber,
                   (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

} // namespace

std::optional<FileKey> FileHandle::Key() const {
    return KeyOf(Win(native_));
}

std::optional<FileKey> ExistingFileKey(const std::string& nativePath) {
    // A device is no file, and opening one (a serial port behind AUX) may wait.
    if (NamesWindowsDevice(nativePath)) {
        return std::nullopt;
    }
    if (NameHasNul(nativePath)) {
        return std::nullopt;
    }
    std::wstring wide;
    try {
        wide = WidePath(nativePath);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
    // No access asked for: only the file's identity is read, as stat() would. The backup
    // flag lets a folder open too.
    const HANDLE file = ::CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    const std::optional<FileKey> key = KeyOf(file);
    ::CloseHandle(file);
    return key;
}

namespace {

// The size of the file `nativePath` names, opened for reading (shared) by the wide call that
// opens files for a run, so that every name a run can open has its length, also under a path
// of MAX_PATH characters or more, where the classic ANSI calls fail. Nothing when the file
// cannot be opened.
std::optional<std::uint64_t> FileSizeByName(const std::string& nativePath) {
    HANDLE file = INVALID_HANDLE_VALUE;
    try {
        file = ::CreateFileW(WidePath(nativePath).c_str(), GENERIC_READ, kShareAll, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    const bool known = ::GetFileSizeEx(file, &size) != 0;
    ::CloseHandle(file);
    return known ? std::optional<std::uint64_t>(static_cast<std::uint64_t>(size.QuadPart))
                 : std::nullopt;
}

} // namespace

std::int64_t NativeFileLength64(const std::string& nativePath) {
    const auto size = FileSizeByName(nativePath);
    return size ? static_cast<std::int64_t>(*size) : -1;
}

std::int32_t NativeFileLength32(const std::string& nativePath) {
    // The high part of the size is discarded: 2 GiB reads as negative, 4 GiB + 5 as 5.
    const auto size = FileSizeByName(nativePath);
    return size ? static_cast<std::int32_t>(static_cast<std::uint32_t>(*size)) : -1;
}

std::string WorkingDirectory() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length =
            ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) {
            return ".";
        }
        if (length < buffer.size()) {
            return Utf8FromWide(std::wstring_view(buffer.data(), length));
        }
        buffer.resize(length + 1);
    }
}

} // namespace kelbrin
