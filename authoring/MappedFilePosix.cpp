#include <cerrno>
#include <sys/mman.h>
#include <sys/stat.h>

#include "FileHandle.h"
#include "MappedFile.h"
#include "Refusal.h"

namespace kelbrin {

MappedFile::MappedFile(const std::string& path, std::uint64_t mostBytes) {
    // Opened as every file is, so that folders, FIFOs and devices are refused alike.
    FileHandle file = OpenForReading(path);
    struct stat status {};
    if (::fstat(static_cast<int>(file.Get()), &status) != 0) {
        throw RuntimeError(ErrDeviceIO);
    }
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size > mostBytes) {
        Refuse("it is " + std::to_string(size) + " bytes, more than a script can describe");
    }
    if (size == 0) {
        return;
    }
    int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
    // All pages at once: one call instead of a fault for every few pages.
    flags |= MAP_POPULATE;
#endif
    void* data = ::mmap(nullptr, size, PROT_READ, flags, static_cast<int>(file.Get()), 0);
    if (data == MAP_FAILED) {
        throw RuntimeError(errno == ENOMEM ? ErrOutOfMemory : ErrDeviceIO);
    }
    data_ = static_cast<const std::uint8_t*>(data);
    size_ = static_cast<std::size_t>(size);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) {
        ::munmap(const_cast<std::uint8_t*>(data_), size_);
    }
}

} // namespace kelbrin
