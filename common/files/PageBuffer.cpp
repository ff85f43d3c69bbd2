#include "PageBuffer.h"

#include <algorithm>
#include <new>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace kelbrin {

PageBuffer::PageBuffer(std::size_t size) : size_(size), taken_(size) {
    if (size == 0) {
        return;
    }
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
    bytes_ = static_cast<std::uint8_t*>(pages);
}

PageBuffer::~PageBuffer() {
    GiveBack();
}

PageBuffer::PageBuffer(PageBuffer&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)), size_(std::exchange(other.size_, 0)),
      taken_(std::exchange(other.taken_, 0)) {}

PageBuffer& PageBuffer::operator=(PageBuffer&& other) noexcept {
    if (this != &other) {
        GiveBack();
        bytes_ = std::exchange(other.bytes_, nullptr);
        size_ = std::exchange(other.size_, 0);
        taken_ = std::exchange(other.taken_, 0);
    }
    return *this;
}

void PageBuffer::Shorten(std::size_t size) noexcept {
    size_ = std::min(size_, size);
}

void PageBuffer::GiveBack() noexcept {
    if (bytes_ == nullptr) {
        return;
    }
#ifdef _WIN32
    ::VirtualFree(bytes_, 0, MEM_RELEASE);
#else
    ::munmap(bytes_, taken_);
#endif
    bytes_ = nullptr;
}

} // namespace kelbrin
