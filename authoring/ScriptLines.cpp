#include "ScriptLines.h"

#include <string>

#include "NumberText.h"

namespace kelbrin {

namespace {

void AppendField(std::string& text, std::uint32_t value) {
    text += '\t';
    AppendScriptHex(text, value);
}

} // namespace

void ForEachScriptLine(const ScriptPlan& plan, std::span<const std::uint8_t> expandedImage,
                       const std::function<void(std::string_view)>& line) {
    std::string text = "NAME\t" + plan.OriginalName + "\t" + plan.ExpandedName;
    line(text);

    text = "SIZE";
    AppendField(text, plan.OriginalSize);
    AppendField(text, plan.FinalSize);
    text += "\t" + plan.OriginalMD5;
    line(text);

    text = "HEADER";
    AppendField(text, plan.HeaderSize);
    for (const std::uint8_t byte : plan.HeaderBytes) {
        AppendField(text, byte);
    }
    line(text);

    for (const Directive& directive : plan.Directives) {
        switch (directive.Kind) {
        case DirectiveKind::Copy: text = "COPY"; break;
        case DirectiveKind::Fill: text = "FILL"; break;
        case DirectiveKind::Replace: text = "REPLACE"; break;
        }
        AppendField(text, directive.Start);
        if (directive.Kind != DirectiveKind::Replace) {
            AppendField(text, directive.Value);
        } else {
            for (const std::uint8_t byte :
                 expandedImage.subspan(directive.Start, directive.Value)) {
                AppendField(text, byte);
            }
        }
        line(text);
    }
}

} // namespace kelbrin
