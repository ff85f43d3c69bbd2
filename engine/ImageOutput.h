#pragma once

#include <cstdint>
#include <optional>

#include "BinaryReader.h"
#include "RuntimeError.h"

namespace kelbrin {

// Where the bytes of the image a run builds go, in order from the header's first byte: into
// the run's new expanded file, or, for a look at a script that must leave the folder as it is,
// nowhere, or against bytes the caller already has. A failing write raises its numbered error.
class ImageOutput {
public:
    virtual ~ImageOutput() = default;

    virtual void WriteByte(std::uint8_t value) = 0;
    virtual void WriteRepeated(std::uint8_t value, std::int64_t count) = 0;
    // `count` bytes of `source` from its position on (00 past its end); the source advances.
    virtual void CopyFrom(BinaryReader& source, std::int64_t count) = 0;
    // Every byte so far has left any buffer: a failure to write one of them is raised now.
    virtual void Flush() = 0;
    // The image is whole: every byte is where it goes (a file's on the disk).
    virtual void Finish() = 0;
    // For a run that is failing: the error a flush raises, which came before the failure being
    // reported, and the output let go of unfinished.
    virtual std::optional<RuntimeError> Abandon() noexcept = 0;

    // An output that buffers counts the bytes it was given and those that left its buffer, and
    // after a failed write tells the first byte that did not get where it goes, so that the
    // failure can be told under the line that made that byte. One that keeps nothing back
    // counts nothing.
    virtual std::int64_t Given() const noexcept { return 0; }
    virtual std::int64_t Landed() const noexcept { return 0; }
    virtual std::optional<std::int64_t> FailedAt() const noexcept { return std::nullopt; }
};

// The image of a look that writes nothing: its bytes go nowhere, and a copy moves its source on
// without reading it, so that a look at a script of any size costs next to nothing.
class NoImageOutput final : public ImageOutput {
public:
    void WriteByte(std::uint8_t) override {}
    void WriteRepeated(std::uint8_t, std::int64_t) override {}
    void CopyFrom(BinaryReader& source, std::int64_t count) override {
        source.Seek(source.Position() + count);
    }
    void Flush() override {}
    void Finish() override {}
    std::optional<RuntimeError> Abandon() noexcept override { return std::nullopt; }
};

} // namespace kelbrin
