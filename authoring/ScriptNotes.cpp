#include "ScriptNotes.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "BinaryReader.h"
#include "FileLength.h"
#include "FolderPaths.h"
#include "NumberAdvice.h"
#include "NumberText.h"
#include "PortableName.h"
#include "RuntimeError.h"
#include "ScriptFields.h"
#include "ScriptHead.h"
#include "TextInputFile.h"

namespace kelbrin {

namespace {

// A run counts lines in 16 bits: line 32,767 is one too many.
constexpr std::int32_t kLastLine = 32766;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Longer fields are quoted only by their start.
constexpr std::size_t kQuotedField = 40;
// Notes on the byte fields of one line: a line of a million wrong bytes gets a few, and the
// count of the others.
constexpr std::int64_t kByteNotesTold = 4;

std::string Bytes(std::int64_t count) {
    return GroupedDecimal(count) + (count == 1 ? " byte" : " bytes");
}

std::string Quoted(std::string_view field) {
    if (field.size() > kQuotedField) {
        return "'" + std::string(field.substr(0, kQuotedField)) + "...'";
    }
    return "'" + std::string(field) + "'";
}

// What is wrong with a header or image byte (`what`) whose field is `field`, read as `value`.
std::string WhatIsWrongWithByte(std::string_view what, std::string_view field,
                                std::optional<std::int64_t> value) {
    return std::string(what) + (field.empty() ? "" : " " + Quoted(field)) + " " +
           (value ? "is above FF" : WhyNoNumber(field));
}

bool IsDirectiveRow(std::string_view upper) {
    return upper == "COPY" || upper == "FILL" || upper == "REPLACE";
}

// `line` counts from the first line, or is 4 for any directive line.
bool IsRowNameOfLine(std::string_view upper, std::int32_t line) {
    switch (line) {
    case 1: return upper == "NAME";
    case 2: return upper == "SIZE";
    case 3: return upper == "HEADER";
    default: return IsDirectiveRow(upper);
    }
}

// Whether `field` is the row name of line `line`, compared as a run compares it. A row name is
// short: a longer field is none, and is not copied to be told so.
bool IsRowName(std::string_view field, std::int32_t line) {
    constexpr std::size_t kLongestRowName = 7;
    return field.size() <= kLongestRowName && IsRowNameOfLine(UpperCaseRowName(field), line);
}

// The fields of a line, found as they are asked for: a line may hold millions of them. They lie
// between single tabs, as a run reads them, or, for a line typed with blanks where tabs belong,
// between runs of blanks and tabs.
class LineFields {
public:
    enum class Split { AtTabs, AtBlanks };

    LineFields(std::string_view line, Split split) : line_(line), split_(split) {}

    // The field at `index`; empty past the end of the line, as NextField gives it.
    std::string_view At(std::size_t index) const {
        std::string_view field;
        std::size_t at = 0;
        for (std::size_t i = 0; i <= index; ++i) {
            if (!Next(at, field)) {
                return {};
            }
        }
        return index == 0 && front_ ? *front_ : field;
    }
    std::string_view Front() const { return At(0); }
    // The first field as the author meant it.
    void SetFront(std::string_view front) { front_ = front; }
    bool HasOne() const {
        std::size_t at = 0;
        std::string_view field;
        return Next(at, field);
    }
    bool HasTwo() const {
        std::size_t at = 0;
        std::string_view field;
        return Next(at, field) && Next(at, field);
    }
    // Gives `visit` each field from `index` on, in order, until it returns false.
    template <class Visit> void From(std::size_t index, Visit&& visit) const {
        std::size_t at = 0;
        std::string_view field;
        for (std::size_t i = 0; Next(at, field); ++i) {
            if (i >= index && !visit(field)) {
                return;
            }
        }
    }

private:
    // The field that starts at or after `at`; `at` moves past it. False past the last field.
    bool Next(std::size_t& at, std::string_view& field) const {
        if (split_ == Split::AtBlanks) {
            at = std::min(line_.find_first_not_of(" \t", at), line_.size());
            if (at == line_.size()) {
                return false;
            }
            const std::size_t end = std::min(line_.find_first_of(" \t", at), line_.size());
            field = line_.substr(at, end - at);
            at = end;
            return true;
        }
        // Past the last field `at` stands one beyond the line's end.
        if (at > line_.size()) {
            return false;
        }
        const std::size_t end = std::min(line_.find('\t', at), line_.size());
        field = line_.substr(at, end - at);
        at = end + 1;
        return true;
    }

    std::string_view line_;
    Split split_;
    std::optional<std::string_view> front_;
};

enum class Row { Copy, Fill, Replace };

std::string_view RowName(Row row) {
    switch (row) {
    case Row::Copy: return "COPY";
    case Row::Fill: return "FILL";
    default: return "REPLACE";
    }
}

// A COPY or FILL line whose range is being written.
struct Range {
    std::int32_t Line = 0;
    Row Kind = Row::Copy;
    std::int64_t Start = 0;
    // The source address of a COPY, the byte of a FILL.
    std::int64_t Value = 0;
};

// Where the least start address allowed for the next line came from: the start of a COPY or
// FILL line, or the end of a REPLACE line's bytes.
struct PositionSetter {
    std::int32_t Line = 0;
    Row Kind = Row::Copy;
    std::string StartField;
    std::int64_t Start = 0;
    // The least start address allowed before that line.
    std::int64_t Before = 0;
    // The bytes of a REPLACE line.
    std::int64_t Count = 0;
};

class NoteTaker {
public:
    explicit NoteTaker(std::string folder) : folder_(std::move(folder)) {}

    std::vector<ScriptNote> Take();

private:
    void Note(std::int32_t line, std::string text) { notes_.push_back({line, std::move(text)}); }
    // The line's fields, taken as a run takes them or, where blanks stand for tabs, as the
    // author meant them; nothing for a line whose row cannot be told.
    std::optional<LineFields> Fields(std::int32_t line, std::string_view text);
    // The field's value, or a note on why it is no number.
    std::optional<std::int64_t> Number(std::int32_t line, std::string_view what,
                                       std::string_view field);
    void NameLine(std::string line);
    void SizeLine(const std::string& line);
    void HeaderLine(const std::string& line);
    // A third line that is a directive: the HEADER line is missing.
    bool HeaderLineMissing(const std::string& line);
    // The sizes against the original's length, once the header size is known.
    void LengthNotes();
    void DirectiveLine(std::int32_t line, const std::string& text);
    void StartGoesBack(std::int32_t line, const std::string& field, std::int64_t start);
    void ReplaceLine(std::int32_t line, const LineFields& fields, std::int64_t start);
    // Whether a note on a byte field of a line is told: the first few of a line are, the rest
    // counted.
    bool TellsByteNote() { return byteNotes_++ < kByteNotesTold; }
    // Tells how many byte notes of the line were left out.
    void EndByteNotes(std::int32_t line);
    // The range in progress ends at `end`, where `endedBy` starts (0: the end of the script).
    void EndRange(std::int64_t end, std::int32_t endedBy);
    // The original's image byte at `address`, as a COPY reads it: 00 past the file's end.
    std::optional<std::uint8_t> OriginalByte(std::int64_t address);
    bool OriginalHasHeader() const;

    const std::string folder_;
    std::vector<ScriptNote> notes_;
    // The first line whose row is a directive's: the 4th, or the 3rd of a script without its
    // HEADER line.
    std::int32_t directivesFrom_ = 4;

    std::string originalName_;
    std::string originalPath_;
    std::int64_t originalLength_ = -1;
    std::string originalSizeField_;
    std::string finalSizeField_;
    std::string headerSizeField_;
    std::optional<std::int64_t> originalSize_;
    std::optional<std::int64_t> finalSize_;
    std::optional<std::int64_t> headerSize_;
    bool sizesCountHeader_ = false;
    std::optional<BinaryReader> original_;
    bool originalUnreadable_ = false;

    bool anyDirective_ = false;
    std::int64_t position_ = 0;
    PositionSetter setter_;
    std::optional<Range> range_;
    std::int64_t byteNotes_ = 0;
};

std::vector<ScriptNote> NoteTaker::Take() {
    std::optional<TextInputFile> script;
    try {
        script.emplace(PathInFolder(folder_, kScriptName));
    } catch (const RuntimeError&) {
        return {};
    }
    std::int32_t line = 0;
    try {
        while (!script->AtEnd()) {
            ++line;
            if (line > kLastLine) {
                Note(line, "a run counts at most 32,766 lines (32,763 directive lines) and "
                           "stops here: merge lines, for example neighbouring REPLACE lines");
                break;
            }
            std::string text = script->ReadLine();
            switch (line) {
            case 1: NameLine(std::move(text)); break;
            case 2: SizeLine(text); break;
            case 3:
                if (HeaderLineMissing(text)) {
                    LengthNotes();
                    DirectiveLine(line, text);
                    break;
                }
                HeaderLine(text);
                LengthNotes();
                break;
            default: DirectiveLine(line, text); break;
            }
        }
    } catch (const RuntimeError&) {
        // The script could not be read to its end; a run says so.
    }
    if (line == 2 || line == 1) {
        LengthNotes();
    }
    if (line >= 3) {
        if (finalSize_ && *finalSize_ >= position_) {
            EndRange(*finalSize_, 0);
        }
        if (!anyDirective_ && finalSize_ && *finalSize_ != 0) {
            Note(line, "no COPY or FILL line follows: the expanded image needs one starting at 0");
        }
    }
    std::stable_sort(notes_.begin(), notes_.end(),
                     [](const ScriptNote& a, const ScriptNote& b) { return a.Line < b.Line; });
    return std::move(notes_);
}

std::optional<LineFields> NoteTaker::Fields(std::int32_t line, std::string_view text) {
    const std::int32_t row = line >= directivesFrom_ ? 4 : line;
    LineFields fields(text, LineFields::Split::AtTabs);
    if (IsRowName(fields.Front(), row)) {
        return fields;
    }
    const std::string_view trimmed = WithoutBlanks(fields.Front());
    const LineFields byBlanks(text, LineFields::Split::AtBlanks);
    if (IsRowName(trimmed, row) && fields.HasTwo()) {
        Note(line, "the row name " + Quoted(fields.Front()) +
                       " has blanks around it: nothing is trimmed, remove them");
        fields.SetFront(trimmed);
        return fields;
    }
    if (fields.Front().empty() && IsRowName(fields.At(1), row)) {
        Note(line, "a tab character stands before the row name, so a run reads an empty row "
                   "name: remove it");
        return LineFields(text.substr(1), LineFields::Split::AtTabs);
    }
    if (byBlanks.HasOne() && IsRowName(byBlanks.Front(), row)) {
        Note(line, "the fields are separated by spaces, so a run reads the whole line as its "
                   "row name: put one tab character between the fields");
        return byBlanks;
    }
    if (text.empty()) {
        Note(line, line <= 3 ? "the line is empty"
                             : "an empty line, which a run reads as a line without a row name: "
                               "remove it (a line break after the last line is fine)");
        return std::nullopt;
    }
    switch (line) {
    case 1: Note(line, "the script must start with the NAME line"); break;
    case 2: Note(line, "the second line must be the SIZE line"); break;
    case 3: Note(line, "the third line must be the HEADER line"); break;
    default:
        Note(line,
             fields.Front().empty()
                 ? std::string("the line starts with a tab character: its row name, COPY, "
                               "FILL or REPLACE, is missing")
                 : "the row name " + Quoted(fields.Front()) + " is not COPY, FILL or REPLACE");
        break;
    }
    return std::nullopt;
}

std::optional<std::int64_t> NoteTaker::Number(std::int32_t line, std::string_view what,
                                              std::string_view field) {
    if (const auto value = NumberOf(field)) {
        return *value;
    }
    Note(line,
         std::string(what) + (field.empty() ? "" : " " + Quoted(field)) + " " + WhyNoNumber(field));
    return std::nullopt;
}

void NoteTaker::NameLine(std::string line) {
    if (line.starts_with("\xFF\xFE") || line.starts_with("\xFE\xFF")) {
        Note(1, "the script is saved as UTF-16 text: save it as plain text (ANSI, or UTF-8 "
                "without a byte-order mark)");
        return;
    }
    if (line.starts_with(kByteOrderMark)) {
        Note(1, "the script starts with a byte-order mark (the bytes EF BB BF) before NAME, "
                "which a run reads as part of the row name: save it without one (ANSI, or "
                "UTF-8 without BOM)");
        line.erase(0, kByteOrderMark.size());
    } else if (const std::size_t name = UpperCaseRowName(line.substr(0, 64)).find("NAME");
               name != 0 && name != std::string::npos) {
        Note(1, Bytes(static_cast<std::int64_t>(name)) +
                    " stand before NAME, which a run reads as part of the row name: "
                    "remove them");
        line.erase(0, name);
    }
    const auto fields = Fields(1, line);
    if (!fields) {
        return;
    }
    originalName_ = fields->At(1);
    const std::string expandedName(fields->At(2));
    if (originalName_.empty()) {
        Note(1, "the original's file name is missing");
        return;
    }
    originalPath_ = PathInFolder(folder_, originalName_);
    originalLength_ = FileLength64(originalPath_);
    if (const std::optional<std::string> why = WhyNotPortable(originalName_)) {
        Note(1, "the original's name " + Quoted(originalName_) + " " + *why);
    }
    if (expandedName.empty()) {
        Note(1, "the expanded file's name is missing");
    } else if (ClimbsAboveFolder(expandedName)) {
        Note(1, "the expanded name " + Quoted(expandedName) +
                    " leads out of the folder with '..', which a run refuses: name a file in "
                    "the folder or below it");
    } else if (const std::optional<std::string> why = WhyNotPortable(expandedName)) {
        Note(1, "the expanded name " + Quoted(expandedName) + " " + *why);
    }
}

void NoteTaker::SizeLine(const std::string& line) {
    const auto fields = Fields(2, line);
    if (!fields) {
        return;
    }
    originalSizeField_ = fields->At(1);
    finalSizeField_ = fields->At(2);
    originalSize_ = Number(2, "the original size", originalSizeField_);
    finalSize_ = Number(2, "the expanded size", finalSizeField_);
    const std::string checksum(fields->At(3));
    if (checksum.empty()) {
        return;
    }
    const bool hex = std::all_of(checksum.begin(), checksum.end(), IsHexDigit);
    if (checksum.size() != 32 || !hex) {
        Note(2, "the checksum " + Quoted(checksum) +
                    " is not 32 hex digits, so it never matches: put the MD5 that "
                    "kelbrin-cli --info prints, or leave the field out");
    } else if (std::any_of(checksum.begin(), checksum.end(),
                           [](char c) { return c >= 'a' && c <= 'f'; })) {
        Note(2, "the checksum is in lower case; a run compares it exactly with the upper-case "
                "digest, so it never matches: write it in upper case");
    }
}

void NoteTaker::HeaderLine(const std::string& line) {
    const auto fields = Fields(3, line);
    if (!fields) {
        return;
    }
    headerSizeField_ = fields->At(1);
    headerSize_ = Number(3, "the header size", headerSizeField_);
    if (!headerSize_) {
        return;
    }
    if (*headerSize_ == 0) {
        Note(3, "the header size is 0, so this kind of ROM has no header: 'Expand and "
                "Add/Replace Header' always ends in an error, and players use 'Expand and "
                "Ignore/Remove Header'");
        return;
    }
    std::int64_t count = 0;
    fields->From(2, [&](std::string_view field) {
        if (field.empty()) {
            return false;
        }
        ++count;
        const auto value = NumberOf(field);
        if ((!value || *value > 0xFF) && TellsByteNote()) {
            Note(3, WhatIsWrongWithByte("the header byte", field, value));
        }
        return true;
    });
    EndByteNotes(3);
    if (count == 0) {
        Note(3, "no header bytes follow the header size, so 'Expand and Add/Replace Header' "
                "fails on the first, empty one: list the header's bytes (at least its first; "
                "those not listed are 00)");
    }
    if (count > *headerSize_) {
        Note(3, "the line lists " + std::to_string(count) + " header bytes for a header of " +
                    Bytes(*headerSize_) + " (" + ScriptHex(*headerSize_) +
                    " hex): the header size counts in hex");
    }
}

bool NoteTaker::HeaderLineMissing(const std::string& line) {
    const LineFields byBlanks(line, LineFields::Split::AtBlanks);
    if (!byBlanks.HasOne() || !IsRowName(byBlanks.Front(), 4)) {
        return false;
    }
    Note(3, "the HEADER line is missing: a run reads this line in its place and stops here; "
            "put the HEADER line before it (HEADER, the header size and the header's bytes; "
            "HEADER and 0 for a kind of ROM without one)");
    directivesFrom_ = 3;
    return true;
}

void NoteTaker::LengthNotes() {
    if (originalLength_ < 0 || !originalSize_) {
        return;
    }
    const std::int64_t length = originalLength_;
    const std::int64_t size = *originalSize_;
    const std::int64_t header = headerSize_.value_or(0);
    const bool fits = length == size || length == size + header;
    bool explained = fits;
    // An image is a whole number of KiB; an original and a size a header's length over one
    // are the header counted in.
    const auto round = [](std::int64_t bytes) { return bytes % 0x400 == 0; };
    if (length == size && header > 0 && size > header && round(size - header) && !round(size)) {
        std::string text = "the original size " + originalSizeField_ + " counts the header of " +
                           Bytes(header) + ": a run takes your original for an image without a " +
                           "header and expands it header and all, every byte " + Bytes(header) +
                           " off its place. Sizes count without the header: write " +
                           ScriptHex(size - header);
        if (finalSize_ && *finalSize_ > header && round(*finalSize_ - header) &&
            !round(*finalSize_)) {
            text += ", and " + ScriptHex(*finalSize_ - header) + " for the expanded size";
        }
        Note(2, text);
        sizesCountHeader_ = true;
    }
    bool sizeTypedInDecimal = false;
    if (!explained && IsDecimal(originalSizeField_)) {
        const std::int64_t meant = DecimalValue(originalSizeField_);
        if (length == meant || length == meant + header) {
            Note(2, "the original size " + Quoted(originalSizeField_) + " is hex for " +
                        Bytes(size) + ", but your original is " + Bytes(length) +
                        ": it was probably meant as decimal, which is " + ScriptHex(meant) +
                        " in hex");
            explained = sizeTypedInDecimal = true;
        }
    }
    if (!explained && headerSize_ && IsDecimal(headerSizeField_) &&
        length == size + DecimalValue(headerSizeField_)) {
        const std::int64_t meant = DecimalValue(headerSizeField_);
        Note(3, "the header size " + Quoted(headerSizeField_) + " is hex for " + Bytes(header) +
                    ", but your original is " + Bytes(length - size) +
                    " longer than its image: it was probably meant as decimal, which is " +
                    ScriptHex(meant) + " in hex");
        explained = true;
    }
    if (!explained && length > size) {
        Note(3, "your original is " + Bytes(length - size) + " (" + ScriptHex(length - size) +
                    " hex) longer than the image size on the SIZE line, but the HEADER line "
                    "declares a header of " +
                    Bytes(header) + ": it may carry another kind of header, or be another dump");
    } else if (!explained) {
        Note(2, "your original " + Quoted(originalName_) + " is " + Bytes(length) +
                    ", shorter than the image size on this line (" + Bytes(size) +
                    "): it is another dump, or the wrong file");
    }
    if (finalSize_ && IsDecimal(finalSizeField_)) {
        const std::int64_t meant = DecimalValue(finalSizeField_);
        const bool roundAsDecimal = meant % 0x400 == 0 && *finalSize_ % 0x400 != 0;
        if (meant > 0 && (roundAsDecimal || sizeTypedInDecimal)) {
            Note(2, "the expanded size " + Quoted(finalSizeField_) + " is hex for " +
                        Bytes(*finalSize_) + "; if it was meant as decimal, write " +
                        ScriptHex(meant));
        }
    }
}

void NoteTaker::DirectiveLine(std::int32_t line, const std::string& text) {
    const auto fields = Fields(line, text);
    if (!fields) {
        return;
    }
    const std::string row = UpperCaseRowName(fields->Front());
    const Row kind = row == "COPY" ? Row::Copy : row == "FILL" ? Row::Fill : Row::Replace;
    if (kind == Row::Replace && !anyDirective_) {
        Note(line, "a REPLACE line cannot come first: start with a COPY or FILL line at 0");
        return;
    }
    const std::string startField(fields->At(1));
    const auto start = Number(line, "the start address", startField);
    if (!start) {
        return;
    }
    if (*start < position_) {
        StartGoesBack(line, startField, *start);
        return;
    }
    if (!anyDirective_ && *start != 0) {
        Note(line, "the first COPY or FILL line starts at " + startField +
                       ": the image is described from address 0 on");
    }
    if (finalSize_ && *start > *finalSize_) {
        std::string text = "starts at " + startField + ", past the expanded size " +
                           finalSizeField_ + " on the SIZE line: ";
        text += kind == Row::Replace
                    ? "its bytes land after the image"
                    : "the range before it runs past the end and makes the expanded file " +
                          Bytes(*start) + " long, and this line writes nothing";
        if (LooksDecimal(startField) && DecimalValue(startField) < *finalSize_) {
            text += "; if the address was meant as decimal, write " +
                    ScriptHex(DecimalValue(startField));
        }
        Note(line, text);
    }
    PositionSetter setter{line, kind, startField, *start, position_};
    if (kind == Row::Replace) {
        ReplaceLine(line, *fields, *start);
        setter.Count = position_ - *start;
    } else {
        EndRange(*start, line);
        const std::string valueField(fields->At(2));
        const auto value =
            Number(line, kind == Row::Copy ? "the source address" : "the fill byte", valueField);
        if (value && kind == Row::Copy && originalSize_ && *value > *originalSize_) {
            Note(line, "copies from " + valueField + ", past the end of the original's image (" +
                           originalSizeField_ +
                           " on the SIZE line): source addresses count without the header");
        } else if (value && kind == Row::Fill && *value > 0xFF) {
            Note(line, "the fill byte " + Quoted(valueField) + " is above FF");
        }
        range_ = Range{line, kind, *start, value.value_or(0)};
        if (!value) {
            range_.reset();
        }
        position_ = *start;
    }
    anyDirective_ = true;
    setter_ = setter;
}

void NoteTaker::StartGoesBack(std::int32_t line, const std::string& field, std::int64_t start) {
    const std::string where =
        setter_.Kind == Row::Replace
            ? "where the REPLACE on line " + std::to_string(setter_.Line) + " ended"
            : "the start of the " + std::string(RowName(setter_.Kind)) + " on line " +
                  std::to_string(setter_.Line) + " (start addresses never go back)";
    Note(line,
         "the start address " + field + " must be at least " + ScriptHex(position_) + ", " + where);
    // A start address typed in decimal is read as a larger hex number and pushes the next
    // line's start below it. A REPLACE address is any address, so only a tight fit tells;
    // a COPY or FILL address is a round one. A start inside the bytes of a REPLACE, not
    // below it, is an overlap, whatever the notation.
    if (!IsDecimal(setter_.StartField) || start >= setter_.Start) {
        return;
    }
    const std::int64_t meant = DecimalValue(setter_.StartField);
    const std::int64_t meantEnd = meant + setter_.Count;
    const bool fits =
        setter_.Kind == Row::Replace
            ? meant >= setter_.Before && meantEnd <= start && start - meantEnd < 0x100
            : LooksDecimal(setter_.StartField) && meant >= setter_.Before && meant <= start;
    if (fits) {
        Note(setter_.Line, "the start address " + setter_.StartField +
                               " was probably meant as decimal: in hex it is " + ScriptHex(meant) +
                               ", which fits before line " + std::to_string(line));
    }
}

void NoteTaker::ReplaceLine(std::int32_t line, const LineFields& fields, std::int64_t start) {
    std::int64_t count = 0;
    // Whether every byte is the one the range in force puts there anyway.
    bool same = range_.has_value();
    const auto byte = [&](std::string_view field) {
        const auto value = NumberOf(field);
        if ((!value || *value > 0xFF) && TellsByteNote()) {
            Note(line, WhatIsWrongWithByte("the byte", field, value));
        }
        if (same) {
            const std::int64_t offset = start + count - range_->Start;
            const std::optional<std::uint8_t> there =
                range_->Kind == Row::Copy ? OriginalByte(range_->Value + offset)
                                          : std::optional<std::uint8_t>(range_->Value);
            same = value && *value <= 0xFF && there == *value;
        }
        ++count;
    };
    // As in a run, the first byte field is read even when it is empty; the list ends at the
    // first empty field after it.
    fields.From(2, [&](std::string_view field) {
        if (count != 0 && field.empty()) {
            return false;
        }
        byte(field);
        return true;
    });
    if (count == 0) {
        byte({});
    }
    EndByteNotes(line);
    if (finalSize_ && start <= *finalSize_ && start + count > *finalSize_) {
        Note(line, "its last " + Bytes(start + count - *finalSize_) +
                       " land past the expanded size " + finalSizeField_ + ", after the image");
    }
    if (same) {
        Note(line, "writes the bytes that the " + std::string(RowName(range_->Kind)) + " on line " +
                       std::to_string(range_->Line) +
                       " puts there anyway: the line changes nothing");
    }
    position_ = start + count;
}

void NoteTaker::EndByteNotes(std::int32_t line) {
    if (byteNotes_ > kByteNotesTold) {
        Note(line, "and " + GroupedDecimal(byteNotes_ - kByteNotesTold) +
                       " more byte fields like those above");
    }
    byteNotes_ = 0;
}

void NoteTaker::EndRange(std::int64_t end, std::int32_t endedBy) {
    if (!range_) {
        return;
    }
    const Range range = *range_;
    range_.reset();
    if (end == range.Start && endedBy != 0) {
        Note(range.Line, "starts at the same address as line " + std::to_string(endedBy) +
                             ", so it writes nothing");
        return;
    }
    if (range.Kind != Row::Copy || !originalSize_) {
        return;
    }
    // The last range ends at the expanded size. A copy that takes most of the rest of the
    // original but not all was probably meant to take it all.
    const std::int64_t copied = end - range.Start;
    const std::int64_t rest = *originalSize_ - range.Value;
    if (endedBy == 0 && !sizesCountHeader_ && copied > 0 && copied < rest &&
        rest - copied < copied) {
        Note(2, "the expanded size " + finalSizeField_ + " ends the COPY on line " +
                    std::to_string(range.Line) + " " + Bytes(rest - copied) +
                    " before the original's image ends: if it was meant to copy the rest of the "
                    "original, the expanded size is " +
                    ScriptHex(range.Start + rest));
    }
    const std::int64_t sourceEnd = range.Value + (end - range.Start);
    if (sourceEnd > *originalSize_) {
        const std::int64_t past = sourceEnd - std::max(range.Value, *originalSize_);
        Note(range.Line, "copies " + Bytes(end - range.Start) + " from " + ScriptHex(range.Value) +
                             ", but the original's image ends at " + originalSizeField_ +
                             ": the last " + Bytes(past) + " of the range become 00");
    }
}

bool NoteTaker::OriginalHasHeader() const {
    return originalSize_ && headerSize_ && *headerSize_ != 0 &&
           originalLength_ == *originalSize_ + *headerSize_;
}

std::optional<std::uint8_t> NoteTaker::OriginalByte(std::int64_t address) {
    if (originalUnreadable_ || originalLength_ < 0) {
        return std::nullopt;
    }
    try {
        if (!original_) {
            original_.emplace(originalPath_, originalLength_);
        }
        original_->Seek(address + (OriginalHasHeader() ? *headerSize_ : 0));
        std::uint8_t byte = 0;
        original_->Read({&byte, 1});
        return byte;
    } catch (const RuntimeError&) {
        originalUnreadable_ = true;
        return std::nullopt;
    }
}

} // namespace

std::vector<ScriptNote> NotesOnScript(const std::string& folder) {
    return NoteTaker(folder).Take();
}

std::string NoteLine(const ScriptNote& note) {
    return "line " + std::to_string(note.Line) + ": " + note.Text;
}

} // namespace kelbrin
