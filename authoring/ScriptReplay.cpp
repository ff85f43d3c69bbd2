#include "ScriptReplay.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "ByteRuns.h"
#include "General_Routines.h"
#include "ScriptFields.h"
#include "ScriptLines.h"

namespace kelbrin {

ScriptReplay::ScriptReplay(std::span<const std::uint8_t> originalFile,
                           std::span<const std::uint8_t> expandedFile, bool addsHeader,
                           Digest digest)
    : originalFile_(originalFile), expandedFile_(expandedFile), addsHeader_(addsHeader),
      digestOf_(std::move(digest)) {}

void ScriptReplay::Line(std::string_view line) {
    if (failed_) {
        return;
    }
    switch (headLines_) {
    case 0: Name(line); break;
    case 1: Size(line); break;
    case 2: Header(line); break;
    default: DirectiveLine(line); break;
    }
    headLines_ = std::min(headLines_ + 1, 3);
}

void ScriptReplay::Name(std::string_view line) {
    std::int32_t position = 0;
    if (UpperCaseRowName(NextField(line, position)) != "NAME") {
        return Fail();
    }
    const std::string original = NextField(line, position);
    const std::string expanded = NextField(line, position);
    if (original.empty() || expanded.empty() || original == expanded) {
        Fail();
    }
}

void ScriptReplay::Size(std::string_view line) {
    std::int32_t position = 0;
    if (UpperCaseRowName(NextField(line, position)) != "SIZE") {
        return Fail();
    }
    const auto original = ScriptNumber(NextField(line, position));
    const auto final = ScriptNumber(NextField(line, position));
    if (!original || !final) {
        return Fail();
    }
    originalSize_ = *original;
    finalSize_ = *final;
    expectedMD5_ = NextField(line, position);
}

void ScriptReplay::Header(std::string_view line) {
    std::int32_t position = 0;
    if (UpperCaseRowName(NextField(line, position)) != "HEADER") {
        return Fail();
    }
    const auto size = ScriptNumber(NextField(line, position));
    if (!size) {
        return Fail();
    }
    headerSize_ = *size;
    // The original's header is told by its length alone, the plain size first.
    const auto length = static_cast<std::int64_t>(originalFile_.size());
    if (length == originalSize_) {
        originalHasHeader_ = false;
    } else if (length == std::int64_t{originalSize_} + headerSize_) {
        originalHasHeader_ = true;
    } else {
        return Fail();
    }
    if (!expectedMD5_.empty()) {
        const auto image = originalFile_.subspan(originalHasHeader_ ? headerSize_ : 0);
        digest_ = std::async(std::launch::async, [this, image] { return digestOf_(image); });
    }

    if (!addsHeader_) {
        image_ = expandedFile_;
        return;
    }
    if (headerSize_ == 0 || expandedFile_.size() < static_cast<std::size_t>(headerSize_)) {
        return Fail();
    }
    std::int32_t count = 0;
    std::string field = NextField(line, position);
    do {
        const auto value = ScriptNumber(field);
        if (++count > headerSize_ || !value || *value > 0xFF ||
            expandedFile_[count - 1] != *value) {
            return Fail();
        }
        field = NextField(line, position);
    } while (!field.empty());
    const auto padding = static_cast<std::size_t>(headerSize_ - count);
    if (RunLength(expandedFile_.data() + count, 0, padding) != padding) {
        return Fail();
    }
    image_ = expandedFile_.subspan(headerSize_);
}

bool ScriptReplay::CountLine() {
    // The run's 16-bit line counter: stepping past 32,767 is its overflow error.
    if (lineNumber_ == 32767) {
        Fail();
        return false;
    }
    ++lineNumber_;
    return true;
}

void ScriptReplay::DirectiveLine(std::string_view line) {
    if (!CountLine()) {
        return;
    }
    std::int32_t position = 0;
    const std::string kind = UpperCaseRowName(NextField(line, position));
    const bool replace = kind == "REPLACE";
    if ((replace && firstDirective_) || (!replace && kind != "COPY" && kind != "FILL")) {
        return Fail();
    }
    const auto start = ScriptNumber(NextField(line, position));
    if (!start || *start < writePosition_) {
        return Fail();
    }
    if (firstDirective_) {
        firstDirective_ = false;
        if (*start != 0) {
            return Fail();
        }
    } else {
        WritePending(*start);
    }
    writePosition_ = *start;

    if (replace) {
        std::string field = NextField(line, position);
        do {
            const auto value = ScriptNumber(field);
            if (!value || *value > 0xFF ||
                writePosition_ >= static_cast<std::int64_t>(image_.size()) ||
                image_[static_cast<std::size_t>(writePosition_)] != *value) {
                return Fail();
            }
            // A replaced byte takes the place of a copied one, whose source byte is dropped.
            if (rangeIsCopy_) {
                ++source_;
            }
            ++writePosition_;
            field = NextField(line, position);
        } while (!field.empty());
        return;
    }
    const auto value = ScriptNumber(NextField(line, position));
    if (!value) {
        return Fail();
    }
    rangeValue_ = *value;
    rangeIsCopy_ = kind == "COPY";
    if (rangeIsCopy_) {
        if (rangeValue_ > originalSize_) {
            return Fail();
        }
        source_ = std::int64_t{rangeValue_} + (originalHasHeader_ ? headerSize_ : 0);
    } else if (rangeValue_ > 0xFF) {
        Fail();
    }
}

void ScriptReplay::WritePending(std::int64_t end) {
    if (end <= writePosition_ || failed_) {
        return;
    }
    if (end > static_cast<std::int64_t>(image_.size())) {
        return Fail();
    }
    const auto count = static_cast<std::size_t>(end - writePosition_);
    const std::uint8_t* expected = image_.data() + writePosition_;
    if (!rangeIsCopy_) {
        if (RunLength(expected, static_cast<std::uint8_t>(rangeValue_), count) != count) {
            Fail();
        }
    } else {
        // The original's bytes, and 00 past its end.
        const auto length = static_cast<std::int64_t>(originalFile_.size());
        const auto inFile =
            static_cast<std::size_t>(std::clamp<std::int64_t>(length - source_, 0, count));
        if ((inFile > 0 && std::memcmp(expected, originalFile_.data() + source_, inFile) != 0) ||
            RunLength(expected + inFile, 0, count - inFile) != count - inFile) {
            Fail();
        }
        source_ += static_cast<std::int64_t>(count);
    }
    writePosition_ = end;
}

bool ScriptReplay::Rebuilt() {
    if (!failed_ && headLines_ < 3) {
        Fail();
    }
    if (!failed_ && CountLine()) {
        if (firstDirective_) {
            if (finalSize_ != 0) {
                Fail();
            }
        } else {
            WritePending(finalSize_);
        }
        if (std::max<std::int64_t>(finalSize_, writePosition_) !=
            static_cast<std::int64_t>(image_.size())) {
            Fail();
        }
    }
    // The digest's thread is waited for also when the run failed.
    if (digest_.valid() && digest_.get() != expectedMD5_) {
        Fail();
    }
    return !failed_;
}

bool RebuildsExactly(std::string_view scriptText, std::span<const std::uint8_t> originalFile,
                     std::span<const std::uint8_t> expandedFile, bool addsHeader) {
    ScriptReplay replay(originalFile, expandedFile, addsHeader);
    while (!scriptText.empty()) {
        const std::size_t end = scriptText.find_first_of("\r\n");
        replay.Line(scriptText.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        const bool crLf =
            scriptText[end] == '\r' && end + 1 < scriptText.size() && scriptText[end + 1] == '\n';
        scriptText.remove_prefix(end + (crLf ? 2 : 1));
    }
    return replay.Rebuilt();
}

bool RebuildsExactly(const ScriptPlan& plan, std::span<const std::uint8_t> originalFile,
                     std::span<const std::uint8_t> expandedFile) {
    // The plan's checksum is the one of the image behind the original's header: a run that
    // takes that same image needs it computed no second time.
    const auto digested = originalFile.last(plan.OriginalSize);
    ScriptReplay replay(originalFile, expandedFile, plan.AddsHeader,
                        [&plan, digested](std::span<const std::uint8_t> image) {
                            return image.data() == digested.data() &&
                                           image.size() == digested.size()
                                       ? plan.OriginalMD5
                                       : ImageDigest(image);
                        });
    ForEachScriptLine(plan, expandedFile.subspan(plan.AddsHeader ? plan.HeaderSize : 0),
                      [&replay](std::string_view line) { replay.Line(line); });
    return replay.Rebuilt();
}

} // namespace kelbrin
