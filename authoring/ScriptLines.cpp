#include "ScriptLines.h"

#include "NumberText.h"

namespace kelbrin {

namespace {

constexpr std::size_t kFixedLines = 3;

void AppendField(std::string& text, std::uint32_t value) {
    text += '\t';
    AppendScriptHex(text, value);
}

// A REPLACE line's bytes are most of a large script's text: each is written without the
// general number routine.
void AppendByteFields(std::string& text, std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const std::size_t at = text.size();
    text.resize(at + 3 * bytes.size());
    char* out = text.data() + at;
    for (const std::uint8_t byte : bytes) {
        *out++ = '\t';
        if (byte >= 0x10) {
            *out++ = kDigits[byte >> 4];
        }
        *out++ = kDigits[byte & 0xF];
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
}

} // namespace

bool ScriptLines::AppendNext(std::string& text) {
    const std::size_t line = next_++;
    switch (line) {
    case 0: text += "NAME\t" + plan_.OriginalName + "\t" + plan_.ExpandedName; return true;
    case 1:
        text += "SIZE";
        AppendField(text, plan_.OriginalSize);
        AppendField(text, plan_.FinalSize);
        text += "\t" + plan_.OriginalMD5;
        return true;
    case 2:
        text += "HEADER";
        AppendField(text, plan_.HeaderSize);
        AppendByteFields(text, plan_.HeaderBytes);
        return true;
    default: break;
    }
    if (line - kFixedLines >= plan_.Directives.size()) {
        next_ = kFixedLines + plan_.Directives.size();
        return false;
    }
    const Directive& directive = plan_.Directives[line - kFixedLines];
    switch (directive.Kind) {
    case DirectiveKind::Copy: text += "COPY"; break;
    case DirectiveKind::Fill: text += "FILL"; break;
    case DirectiveKind::Replace: text += "REPLACE"; break;
    }
    AppendField(text, directive.Start);
    if (directive.Kind == DirectiveKind::Replace) {
        AppendByteFields(text, image_.subspan(directive.Start, directive.Value));
    } else {
        AppendField(text, directive.Value);
    }
    return true;
}

void ForEachScriptLine(const ScriptPlan& plan, std::span<const std::uint8_t> expandedImage,
                       const std::function<void(std::string_view)>& line) {
    ScriptLines lines(plan, expandedImage);
    std::string text;
    while (lines.AppendNext(text)) {
        line(text);
        text.clear();
    }
}

} // namespace kelbrin
