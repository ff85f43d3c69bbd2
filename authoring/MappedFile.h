#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kelbrin {

// A whole file, read-only, mapped into memory: its bytes cost no copy and no memory of their own
// beyond the system's file cache. The file must not be cut short while it is mapped (the system
// would end the program on a read of a page that is gone), which the ROMs an author works on
// are not.
class MappedFile {
public:
    // Maps the file `path` names; a file longer than `mostBytes` is refused (error 5) first.
    MappedFile(const std::string& path, std::uint64_t mostBytes);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::span<const std::uint8_t> Bytes() const noexcept { return {data_, size_}; }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    void* mapping_ = nullptr; // the system's handle of the mapping, where it has one
};

} // namespace kelbrin
