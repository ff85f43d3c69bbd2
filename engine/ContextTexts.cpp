#include "ContextTexts.h"

#include "General_Routines.h"

namespace kelbrin::ContextText {

std::string Script() {
    return "Can't open 'Kelbrin.txt' file";
}

namespace {

// Messages name a file by the last part of its name in the script, made in one piece: a name
// may be hundreds of megabytes.
std::string Naming(std::string_view text, std::string_view name) {
    const std::string_view part = name.substr(PathPart(name).size());
    std::string context;
    context.reserve(text.size() + part.size() + 1);
    context.append(text).append(part) += '\'';
    return context;
}

} // namespace

std::string Original(const std::string& name) {
    return Naming("Can't open Original ROM file: '", name);
}

std::string Expanded(const std::string& name) {
    return Naming("Can't save to Expanded ROM file: '", name);
}

std::string SizeLine() {
    return "Issue with SIZE line";
}

std::string HeaderLine() {
    return "Issue with HEADER line";
}

std::string DirectiveLine(std::int32_t lineNumber) {
    return "Issue with line # " + std::to_string(lineNumber);
}

std::string Patch(const std::string& path) {
    return "Can't apply the patch: '" + path + "'";
}

std::string Patched(const std::string& path) {
    return "Can't save to Patched ROM file: '" + path + "'";
}

std::string PatchedAfterExpanded(const std::string& expandedName, const std::string& path) {
    return Naming("Expanded ROM file saved as '", expandedName) +
           ", but the Patched ROM file could not take its name: '" + path + "'";
}

} // namespace kelbrin::ContextText
