#pragma once

#include <cstring>
#include <utility>

#include "PageBuffer.h"
#include "PatchedRomSink.h"
#include "RuntimeError.h"

namespace kelbrin {

// A patched ROM kept in memory of its own, for a caller that needs the whole of it: the next
// patch of a chain, or a test.
class PatchedRomInMemory final : public PatchedRomSink {
public:
    void Start(std::uint64_t size) override {
        bytes_ = PageBuffer(static_cast<std::size_t>(size));
        used_ = 0;
    }
    void Take(std::span<const std::uint8_t> bytes) override {
        if (bytes.empty()) {
            return;
        }
        // A reader gives exactly the size it announced; a byte more is its fault.
        if (bytes.size() > bytes_.Size() - used_) {
            throw RuntimeError(ErrInternal);
        }
        std::memcpy(bytes_.Data() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    void ReadBack(std::uint64_t offset, std::span<std::uint8_t> into) override {
        std::memcpy(into.data(), bytes_.Data() + offset, into.size());
    }

    // The bytes given, taken away.
    PageBuffer TakeBytes() noexcept {
        bytes_.Shorten(used_);
        return std::move(bytes_);
    }

private:
    PageBuffer bytes_;
    std::size_t used_ = 0;
};

} // namespace kelbrin
