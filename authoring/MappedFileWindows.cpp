#include <windows.h>

#include "FileHandle.h"
#include "MappedFile.h"
#include "Refusal.h"

namespace kelbrin {

MappedFile::MappedFile(const std::string& path, std::uint64_t mostBytes) {
    // Opened as every file is, so that folders and devices are refused alike.
    FileHandle file = OpenForReading(path);
    const auto handle = reinterpret_cast<HANDLE>(file.Get());
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(handle, &length)) {
        throw RuntimeError(ErrDeviceIO);
    }
    const auto size = static_cast<std::uint64_t>(length.QuadPart);
    if (size > mostBytes) {
        Refuse("it is " + std::to_string(size) + " bytes, more than a script can describe");
    }
    // A mapping of an empty file is refused by the system; it has no bytes to map anyway.
    if (size == 0) {
        return;
    }
    HANDLE mapping = ::CreateFileMappingA(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr) {
        throw RuntimeError(ErrDeviceIO);
    }
    const void* data = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (data == nullptr) {
        ::CloseHandle(mapping);
        throw RuntimeError(ErrOutOfMemory);
    }
    mapping_ = mapping;
    data_ = static_cast<const std::uint8_t*>(data);
    size_ = static_cast<std::size_t>(size);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) {
        ::UnmapViewOfFile(data_);
        ::CloseHandle(static_cast<HANDLE>(mapping_));
    }
}

} // namespace kelbrin
