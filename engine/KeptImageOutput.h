#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <utility>

#include "ImageOutput.h"
#include "PageBuffer.h"

namespace kelbrin {

// The image on its way to another output, also kept in memory: a run that applies patches
// reads its expanded ROM from here instead of reading back the file it has just written.
class KeptImageOutput final : public ImageOutput {
public:
    // `size` is every byte the run will give, header included.
    KeptImageOutput(ImageOutput& output, std::size_t size) : output_(output), kept_(size) {}

    void WriteByte(std::uint8_t value) override {
        output_.WriteByte(value);
        *Room(1) = value;
    }
    void WriteRepeated(std::uint8_t value, std::int64_t count) override {
        output_.WriteRepeated(value, count);
        std::memset(Room(count), value, static_cast<std::size_t>(count));
    }
    void CopyFrom(BinaryReader& source, std::int64_t count) override {
        // The output may copy from file to file without the bytes passing through here: they
        // are read for the copy kept, and the source put back where the copy starts.
        const std::int64_t from = source.Position();
        source.Read({Room(count), static_cast<std::size_t>(count)});
        source.Seek(from);
        output_.CopyFrom(source, count);
    }
    void Flush() override { output_.Flush(); }
    void Finish() override { output_.Finish(); }
    std::optional<RuntimeError> Abandon() noexcept override { return output_.Abandon(); }
    std::int64_t Given() const noexcept override { return output_.Given(); }
    std::int64_t Landed() const noexcept override { return output_.Landed(); }
    std::optional<std::int64_t> FailedAt() const noexcept override { return output_.FailedAt(); }

    // The bytes given so far, taken away.
    PageBuffer TakeBytes() noexcept {
        kept_.Shorten(used_);
        return std::move(kept_);
    }

private:
    // Room for the next `count` bytes. The run gives exactly the size it announced; a byte
    // more would be a fault of the run, never written past the memory.
    std::uint8_t* Room(std::int64_t count) {
        if (count < 0 || static_cast<std::uint64_t>(count) > kept_.Size() - used_) {
            throw RuntimeError(ErrInternal);
        }
        std::uint8_t* room = kept_.Data() + used_;
        used_ += static_cast<std::size_t>(count);
        return room;
    }

    ImageOutput& output_;
    PageBuffer kept_;
    std::size_t used_ = 0;
};

} // namespace kelbrin
