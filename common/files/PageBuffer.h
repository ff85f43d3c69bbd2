#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kelbrin {

// Memory for the bytes of a whole file, taken from the system in one piece rather than from the
// heap. It starts as zeros, in huge pages where the system offers them: faulting in a large
// buffer 4 KiB at a time costs more than reading or writing it on some machines.
class PageBuffer {
public:
    PageBuffer() = default;
    // Raises std::bad_alloc when the system has no memory to give.
    explicit PageBuffer(std::size_t size);
    ~PageBuffer();
    PageBuffer(PageBuffer&& other) noexcept;
    PageBuffer& operator=(PageBuffer&& other) noexcept;
    PageBuffer(const PageBuffer&) = delete;
    PageBuffer& operator=(const PageBuffer&) = delete;

    std::uint8_t* Data() noexcept { return bytes_; }
    std::span<const std::uint8_t> Bytes() const noexcept { return {bytes_, size_}; }
    std::size_t Size() const noexcept { return size_; }

    // Drops the bytes from `size` on; their pages are given back with the rest.
    void Shorten(std::size_t size) noexcept;

private:
    void GiveBack() noexcept;

    std::uint8_t* bytes_ = nullptr;
    std::size_t size_ = 0;
    std::size_t taken_ = 0;
};

} // namespace kelbrin
