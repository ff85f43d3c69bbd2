#include "ScriptSummary.h"

#include <array>

#include "LineBudget.h"

namespace kelbrin {

std::string ScriptSummary(const ScriptPlan& plan) {
    std::array<std::size_t, 3> lines{};
    for (const Directive& directive : plan.Directives) {
        ++lines[static_cast<std::size_t>(directive.Kind)];
    }
    static constexpr const char* kNames[] = {"COPY", "FILL", "REPLACE"};
    std::string text;
    for (std::size_t kind = 0; kind < lines.size(); ++kind) {
        text += std::string(kNames[kind]) + " lines: " + std::to_string(lines[kind]) + "\n";
    }
    text += "Directive lines: " + std::to_string(plan.Directives.size()) + " of at most " +
            std::to_string(kMostDirectiveLines) + "\n";
    return text;
}

} // namespace kelbrin
