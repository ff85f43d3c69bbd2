#include "engine/DirectiveEngine.h"

#include <string>

#include "common/Counter16.h"
#include "common/General_Routines.h"
#include "engine/BrokenRule.h"
#include "engine/RuleMessages.h"
#include "engine/ScriptFields.h"

namespace kelbrin {

namespace {

enum class DirectiveKind { Copy, Fill, Replace };

// Writes the running COPY or FILL range from WritePosition up to `end` (exclusive).
void WritePendingRange(ExpansionRun& run, std::int32_t end) {
    std::int64_t count = static_cast<std::int64_t>(end) - run.WritePosition;
    if (count <= 0) {
        return;
    }
    if (!run.RangeIsCopy) {
        run.Expanded->WriteRepeated(static_cast<std::uint8_t>(run.RangeValue), count);
        return;
    }
    run.Expanded->CopyFrom(*run.Original, count);
}

DirectiveKind KindOf(const std::string& rowName, const ExpansionRun& run) {
    const std::string upper = UpperCaseRowName(rowName);
    if (upper == "REPLACE") {
        if (run.FirstDirective) {
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
    Break(RuleMessage::DirectiveMissing(run.LineNumber, rowName));
}

void ReplaceBytes(ExpansionRun& run, const std::string& line, std::int32_t& position) {
    std::string field = NextField(line, position);
    do {
        const auto value = ScriptNumber(field);
        if (!value) {
            Break(RuleMessage::ReplaceByteNotHex(field, run.LineNumber));
        }
        if (*value > 0xFF) {
            Break(RuleMessage::ReplaceByteTooBig(field));
        }
        if (run.RangeIsCopy) {
            // The replaced byte takes the place of a copied one: its source byte is read
            // and dropped, so copying resumes where it would have been.
            std::uint8_t dropped = 0;
            run.Original->Read({&dropped, 1});
        }
        run.Expanded->WriteByte(static_cast<std::uint8_t>(*value));
        ++run.WritePosition;
        field = NextField(line, position);
    } while (!field.empty());
}

void StartRange(ExpansionRun& run, DirectiveKind kind, const std::string& line,
                std::int32_t& position) {
    const std::string field = NextField(line, position);
    const auto value = ScriptNumber(field);
    if (!value) {
        Break(RuleMessage::EndNotHex(field, line));
    }
    run.RangeValue = *value;
    if (kind == DirectiveKind::Copy) {
        if (run.RangeValue > run.OriginalSize) {
            Break(RuleMessage::CopyPastOriginal(field, line));
        }
        run.Original->Seek(static_cast<std::int64_t>(run.RangeValue) +
                           (run.OriginalHasHeader ? run.HeaderSize : 0));
    } else if (run.RangeValue > 0xFF) {
        Break(RuleMessage::FillByteTooBig(field, line));
    }
    run.RangeIsCopy = kind == DirectiveKind::Copy;
}

} // namespace

void RunDirectives(ExpansionRun& run) {
    for (;;) {
        // What the previous line wrote reaches the file before anything else can fail, so
        // a write failure is reported under the line that wrote the bytes.
        run.Expanded->Flush();
        Increment16(run.LineNumber);
        const std::string number = std::to_string(run.LineNumber);
        run.Window.SetStatus("Copy, Fill, Replace line #" + number);
        run.ContextText = "Issue with line # " + number;
        run.Window.LetEventsRun();

        const bool atEnd = run.Script->AtEnd();
        std::string line;
        std::int32_t position = 0;
        DirectiveKind kind = DirectiveKind::Fill;
        std::int32_t start = run.FinalSize;
        if (!atEnd) {
            line = run.Script->ReadLine();
            kind = KindOf(NextField(line, position), run);
            const std::string field = NextField(line, position);
            const auto address = ScriptNumber(field);
            if (!address) {
                Break(RuleMessage::StartNotHex(field, run.LineNumber));
            }
            start = *address;
            if (start < run.WritePosition) {
                Break(RuleMessage::StartTooSmall(field, run.LineNumber));
            }
        }

        if (run.FirstDirective) {
            run.FirstDirective = false;
            if (start != 0) {
                Break(RuleMessage::FirstStartNotZero());
            }
        } else {
            WritePendingRange(run, start);
        }
        if (atEnd) {
            return;
        }

        run.WritePosition = start;
        if (kind == DirectiveKind::Replace) {
            ReplaceBytes(run, line, position);
        } else {
            StartRange(run, kind, line, position);
        }
    }
}

} // namespace kelbrin
