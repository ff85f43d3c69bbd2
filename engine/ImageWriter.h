#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "BinaryReader.h"
#include "ImageLayout.h"
#include "ImageOutput.h"
#include "RunWindow.h"
#include "RuntimeError.h"
#include "ScriptHead.h"
#include "TextInputFile.h"

namespace kelbrin {

// Writes the expanded file strictly forward from its first byte: the header, then the image
// from the COPY, FILL and REPLACE lines. It holds both ROM files while it writes and knows where
// the writing stands: the line, the write position and the range in progress.
class ImageWriter {
public:
    // Writes into `output` from the header's first byte on; notes in `layout`, when given,
    // where each byte comes from.
    ImageWriter(const ScriptHead& head, bool originalHasHeader, ImageOutput& output,
                ImageLayout* layout = nullptr);

    // The header bytes of the HEADER line, padded with 00, then flushed to the file.
    void WriteHeader();
    // Opens the original for reading, taking it as long as header detection found it.
    void OpenOriginal();
    // Writes the image from the script's 4th line to its end, reporting each line on `window`.
    // A failure leaves as a RunFailure in its line's context. At the end the output is
    // finished (a file's bytes are on the disk) and the original is closed.
    void WriteImage(TextInputFile& script, RunWindow& window);

    // For a run that is failing: lets go of the output and the original. Returns the error of
    // a write that failed before the failure being reported: it comes first.
    std::optional<RuntimeError> CloseForFailure() noexcept;
    // After a failed write: the context of the line that made the first byte that did not get
    // to the file. Nothing when no line of the image made it (the header is flushed whole).
    std::optional<std::string> FailedWriteContext() const;

private:
    enum class DirectiveKind { Copy, Fill, Replace };

    // One directive line, or the end of the script: returns true at the end.
    bool WriteDirective(TextInputFile& script);
    DirectiveKind KindOf(const std::string& rowName) const;
    void WritePendingRange(std::int32_t end);
    void ReplaceBytes(const std::string& line, std::int32_t& position);
    void StartRange(DirectiveKind kind, const std::string& line, std::int32_t& position);
    // Ends the image: its bytes to the disk, the original closed.
    void Close();
    // The bytes the line has given the output so far are its own.
    void NoteLineWritten();

    const ScriptHead& head_;
    const bool originalHasHeader_;
    ImageOutput& output_;
    ImageLayout* const layout_;
    std::optional<BinaryReader> original_;

    // The script line being processed.
    std::int16_t LineNumber = 3;
    // True until the first directive line's start address has been taken.
    bool FirstDirective = true;
    // Image address (without header) of the next byte to be written.
    std::int32_t WritePosition = 0;
    // The range in progress copies from the original (else it fills) ...
    bool RangeIsCopy = false;
    // ... from this source address, or with this fill byte.
    std::int32_t RangeValue = 0;
    // The COPY or FILL line of the range in progress.
    std::int16_t RangeLine = 0;

    // The lines whose bytes still wait in the output's buffer, oldest first: how many bytes
    // the output had been given when each line was done. Lines reach the file many at a time;
    // a write that fails is told under the line whose byte failed, as if each had been flushed.
    struct LineEnd {
        std::int64_t Given;
        std::int16_t Line;
    };
    std::deque<LineEnd> waiting_;
};

} // namespace kelbrin
