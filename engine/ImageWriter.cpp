#include "ImageWriter.h"

#include <string>

#include "ContextTexts.h"
#include "Counter16.h"
#include "General_Routines.h"
#include "HeaderWriter.h"
#include "RuleMessages.h"
#include "RunFailure.h"
#include "ScriptFields.h"

namespace kelbrin {

ImageWriter::ImageWriter(const ScriptHead& head, bool originalHasHeader, ImageOutput& output,
                         ImageLayout* layout)
    : head_(head), originalHasHeader_(originalHasHeader), output_(output), layout_(layout) {
    if (layout_ != nullptr) {
        layout_->HeaderSize = head_.HeaderSize;
    }
}

void ImageWriter::WriteHeader() {
    kelbrin::WriteHeader(head_, output_, layout_ != nullptr ? &layout_->HeaderBytes : nullptr);
    output_.Flush();
    if (layout_ != nullptr) {
        layout_->HeaderWritten = true;
    }
}

void ImageWriter::OpenOriginal() {
    original_.emplace(head_.OriginalPath, head_.OriginalLength);
}

void ImageWriter::WriteImage(TextInputFile& script, RunWindow& window) {
    std::string context = ContextText::DirectiveLine(LineNumber);
    for (;;) {
        // The counter running out is reported under the last line it counted.
        Under(context, [&] { Increment16(LineNumber); });
        context = ContextText::DirectiveLine(LineNumber);
        try {
            const bool ended = Under(context, [&] {
                window.SetStatus("Copy, Fill, Replace line #" + std::to_string(LineNumber));
                window.LetEventsRun();
                return WriteDirective(script);
            });
            if (ended) {
                return;
            }
        } catch (RunFailure& failure) {
            // A write that failed now may have held bytes of lines before this one.
            if (std::optional<std::string> maker = FailedWriteContext()) {
                failure.Context = std::move(*maker);
            }
            throw;
        }
    }
}

void ImageWriter::NoteLineWritten() {
    const std::int64_t landed = output_.Landed();
    while (!waiting_.empty() && waiting_.front().Given <= landed) {
        waiting_.pop_front();
    }
    const std::int64_t given = output_.Given();
    // A line that made no byte owns none.
    if (given > landed && (waiting_.empty() || waiting_.back().Given < given)) {
        waiting_.push_back({given, LineNumber});
    }
}

std::optional<std::string> ImageWriter::FailedWriteContext() const {
    const std::optional<std::int64_t> failedAt = output_.FailedAt();
    if (!failedAt) {
        return std::nullopt;
    }
    for (const LineEnd& line : waiting_) {
        if (line.Given > *failedAt) {
            return ContextText::DirectiveLine(line.Line);
        }
    }
    return std::nullopt;
}

bool ImageWriter::WriteDirective(TextInputFile& script) {
    const bool atEnd = script.AtEnd();
    std::string line;
    std::int32_t position = 0;
    DirectiveKind kind = DirectiveKind::Fill;
    // The end of the script ends the last range at the final size.
    std::int32_t start = head_.FinalSize;
    if (!atEnd) {
        line = script.ReadLine();
        kind = KindOf(NextField(line, position));
        const std::string field = NextField(line, position);
        const auto address = ScriptNumber(field);
        if (!address) {
            Break(RuleMessage::StartNotHex(field, LineNumber));
        }
        start = *address;
        if (start < WritePosition) {
            Break(RuleMessage::StartTooSmall(field, LineNumber));
        }
    }

    // The first line writes nothing; every later one ends the range in progress.
    if (FirstDirective) {
        FirstDirective = false;
        if (start != 0) {
            Break(RuleMessage::FirstStartNotZero());
        }
    } else {
        WritePendingRange(start);
    }
    if (atEnd) {
        NoteLineWritten();
        Close();
        return true;
    }

    WritePosition = start;
    if (kind == DirectiveKind::Replace) {
        ReplaceBytes(line, position);
    } else {
        StartRange(kind, line, position);
    }
    NoteLineWritten();
    return false;
}

ImageWriter::DirectiveKind ImageWriter::KindOf(const std::string& rowName) const {
    const std::string upper = UpperCaseRowName(rowName);
    if (upper == "REPLACE") {
        if (FirstDirective) {
            Break(RuleMessage::ReplaceFirst());
        }
        return DirectiveKind::Replace;
    }
    if (upper == "COPY") {
        return DirectiveKind::Copy;
    }
    if (upper == "FILL") {
        return DirectiveKind::Fill;
    }
    Break(RuleMessage::DirectiveMissing(LineNumber, rowName));
}

void ImageWriter::WritePendingRange(std::int32_t end) {
    const std::int64_t count = static_cast<std::int64_t>(end) - WritePosition;
    if (count <= 0) {
        return;
    }
    if (layout_ != nullptr) {
        const std::int64_t source =
            original_->Position() - (originalHasHeader_ ? head_.HeaderSize : 0);
        layout_->Rows.push_back({RangeIsCopy ? LayoutRow::Source::Copy : LayoutRow::Source::Fill,
                                 WritePosition,
                                 end,
                                 RangeIsCopy ? source : RangeValue,
                                 {},
                                 RangeLine});
    }
    if (RangeIsCopy) {
        output_.CopyFrom(*original_, count);
    } else {
        output_.WriteRepeated(static_cast<std::uint8_t>(RangeValue), count);
    }
}

void ImageWriter::ReplaceBytes(const std::string& line, std::int32_t& position) {
    LayoutRow* row = nullptr;
    if (layout_ != nullptr) {
        row = &layout_->Rows.emplace_back(
            LayoutRow{LayoutRow::Source::Replace, WritePosition, WritePosition, 0, {}, LineNumber});
    }
    std::string field = NextField(line, position);
    do {
        const auto value = ScriptNumber(field);
        if (!value) {
            Break(RuleMessage::ReplaceByteNotHex(field, LineNumber));
        }
        if (*value > 0xFF) {
            Break(RuleMessage::ReplaceByteTooBig(field));
        }
        if (RangeIsCopy) {
            // The replaced byte takes the place of a copied one: its source byte is passed
            // over, so copying resumes where it would have been.
            original_->Seek(original_->Position() + 1);
        }
        output_.WriteByte(static_cast<std::uint8_t>(*value));
        ++WritePosition;
        if (row != nullptr) {
            if (row->Bytes.size() < kReplaceBytesKept) {
                row->Bytes.push_back(static_cast<std::uint8_t>(*value));
            }
            row->End = WritePosition;
        }
        field = NextField(line, position);
    } while (!field.empty());
}

void ImageWriter::StartRange(DirectiveKind kind, const std::string& line, std::int32_t& position) {
    const std::string field = NextField(line, position);
    const auto value = ScriptNumber(field);
    if (!value) {
        Break(RuleMessage::EndNotHex(field, line));
    }
    RangeValue = *value;
    if (kind == DirectiveKind::Copy) {
        if (RangeValue > head_.OriginalSize) {
            Break(RuleMessage::CopyPastOriginal(field, line));
        }
        original_->Seek(static_cast<std::int64_t>(RangeValue) +
                        (originalHasHeader_ ? head_.HeaderSize : 0));
    } else if (RangeValue > 0xFF) {
        Break(RuleMessage::FillByteTooBig(field, line));
    }
    RangeIsCopy = kind == DirectiveKind::Copy;
    RangeLine = LineNumber;
}

void ImageWriter::Close() {
    output_.Finish();
    original_->Close();
}

std::optional<RuntimeError> ImageWriter::CloseForFailure() noexcept {
    std::optional<RuntimeError> writeError = output_.Abandon();
    original_.reset();
    return writeError;
}

} // namespace kelbrin
