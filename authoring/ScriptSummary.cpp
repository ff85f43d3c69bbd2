#include "ScriptSummary.h"

#include <array>

#include "LineBudget.h"

namespace kelbrin {

std::string ScriptSummary(const ScriptPlan& plan) {
    // Lines and bytes by kind: COPY, FILL, REPLACE. A range gives the bytes up to the next
    // range but those its REPLACE lines put there.
    std::array<std::size_t, 3> lines{};
    std::array<std::uint64_t, 3> bytes{};
    const auto& directives = plan.Directives;
    for (std::size_t i = 0; i < directives.size(); ++i) {
        const Directive& directive = directives[i];
        const auto kind = static_cast<std::size_t>(directive.Kind);
        ++lines[kind];
        if (directive.Kind == DirectiveKind::Replace) {
            bytes[kind] += directive.Value;
            continue;
        }
        std::uint64_t end = plan.FinalSize;
        std::uint64_t replaced = 0;
        for (std::size_t j = i + 1; j < directives.size(); ++j) {
            if (directives[j].Kind != DirectiveKind::Replace) {
                end = directives[j].Start;
                break;
            }
            replaced += directives[j].Value;
        }
        bytes[kind] += end - directive.Start - replaced;
    }
    static constexpr const char* kNames[] = {"COPY", "FILL", "REPLACE"};
    std::string text;
    for (std::size_t kind = 0; kind < lines.size(); ++kind) {
        text += std::string(kNames[kind]) + " lines: " + std::to_string(lines[kind]) + " (" +
                std::to_string(bytes[kind]) + " bytes)\n";
    }
    text += "Directive lines: " + std::to_string(directives.size()) + " of at most " +
            std::to_string(kMostDirectiveLines) + "\n";
    return text;
}

} // namespace kelbrin
