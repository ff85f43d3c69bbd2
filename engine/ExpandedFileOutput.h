#pragma once

#include "BinaryWriter.h"
#include "ImageOutput.h"
#include "ReplacementFile.h"

namespace kelbrin {

// A run's image in its new expanded file, through a buffer that reaches the file at each
// Flush(); Finish() puts every byte on the disk before the file may replace the expanded one.
class ExpandedFileOutput final : public ImageOutput {
public:
    explicit ExpandedFileOutput(ReplacementFile& file) : file_(file), writer_(file.File()) {}

    void WriteByte(std::uint8_t value) override { writer_.WriteByte(value); }
    void WriteRepeated(std::uint8_t value, std::int64_t count) override {
        writer_.WriteRepeated(value, count);
    }
    void CopyFrom(BinaryReader& source, std::int64_t count) override {
        writer_.CopyFrom(source, count);
    }
    void Flush() override { writer_.Flush(); }
    void Finish() override;
    std::optional<RuntimeError> Abandon() noexcept override;
    std::int64_t Given() const noexcept override { return writer_.Given(); }
    std::int64_t Landed() const noexcept override { return writer_.Landed(); }
    std::optional<std::int64_t> FailedAt() const noexcept override { return writer_.FailedAt(); }

private:
    ReplacementFile& file_;
    BinaryWriter writer_;
};

} // namespace kelbrin
