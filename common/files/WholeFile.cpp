#include "WholeFile.h"

#include <new>

#include "BinaryReader.h"
#include "FileLength.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace kelbrin {

namespace {

std::uint8_t* TakePages(std::size_t size) {
#ifdef _WIN32
    void* pages = ::VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (pages == nullptr) {
        throw std::bad_alloc();
    }
#else
    void* pages = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) {
        throw std::bad_alloc();
    }
#ifdef MADV_HUGEPAGE
    ::madvise(pages, size, MADV_HUGEPAGE);
#endif
#endif
    return static_cast<std::uint8_t*>(pages);
}

void GivePagesBack(std::uint8_t* pages, std::size_t size) noexcept {
#ifdef _WIN32
    (void)size;
    ::VirtualFree(pages, 0, MEM_RELEASE);
#else
    ::munmap(pages, size);
#endif
}

} // namespace

WholeFile::WholeFile(const std::string& path, std::uint64_t mostBytes) {
    const std::int64_t length = FileLength64(path);
    // Opened first, so that a file that cannot be read says why.
    BinaryReader reader(path, length);
    if (static_cast<std::uint64_t>(length) > mostBytes) {
        throw RuntimeError(ErrInvalidCall, "it is " + std::to_string(length) +
                                               " bytes, more than a script can describe");
    }
    if (length == 0) {
        return;
    }
    size_ = static_cast<std::size_t>(length);
    bytes_ = TakePages(size_);
    try {
        reader.Read({bytes_, size_});
    } catch (...) {
        GivePagesBack(bytes_, size_);
        throw;
    }
}

WholeFile::~WholeFile() {
    if (bytes_ != nullptr) {
        GivePagesBack(bytes_, size_);
    }
}

} // namespace kelbrin
