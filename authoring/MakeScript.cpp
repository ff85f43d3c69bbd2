#include "MakeScript.h"

#include <algorithm>
#include <future>

#include "DirectiveFinder.h"
#include "ImageDigest.h"
#include "LineBudget.h"
#include "Refusal.h"
#include "ScriptHead.h"

namespace kelbrin {

namespace {

// Every size on a script is 1 to 7 hex digits.
constexpr std::uint64_t kLargestNumber = 0xFFFFFFF;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

void CheckName(const std::string& name, const char* which) {
    if (name.empty()) {
        Refuse(std::string("the ") + which + " file has no name");
    }
    // A field ends at a TAB and a line at CR or LF; a run reads a backslash as a folder.
    if (name.find_first_of("\t\r\n\\") != std::string::npos) {
        Refuse(std::string("the ") + which + " file's name '" + name +
               "' holds a TAB, a line break or a backslash, which a NAME line cannot hold");
    }
}

void CheckNames(const ScriptSources& sources) {
    CheckName(sources.OriginalName, "original");
    CheckName(sources.ExpandedName, "expanded");
    // Windows takes names that differ only in letter case for one file.
    if (Lower(sources.OriginalName) == Lower(sources.ExpandedName)) {
        Refuse("the original and the expanded file are both named '" + sources.ExpandedName +
               "': a run beside the original could not tell them apart");
    }
    if (Lower(sources.ExpandedName) == Lower(kScriptName)) {
        Refuse("the expanded file may not be named like the script, '" + std::string(kScriptName) +
               "'");
    }
}

std::span<const std::uint8_t> ImageOf(std::span<const std::uint8_t> file, std::uint32_t header,
                                      const std::string& name) {
    if (file.size() < header) {
        Refuse("'" + name + "' is " + std::to_string(file.size()) +
               " bytes, fewer than its header of " + std::to_string(header) + " bytes");
    }
    const auto image = file.subspan(header);
    if (image.size() > kLargestNumber) {
        Refuse("'" + name + "' holds an image of " + std::to_string(image.size()) +
               " bytes; a script describes at most " + std::to_string(kLargestNumber));
    }
    return image;
}

// The expanded file's header without its trailing 00 bytes, which a run writes by itself; but
// at least one byte, since a run that adds a header reads the first byte field even when it is
// empty, and refuses it then.
std::vector<std::uint8_t> HeaderBytes(std::span<const std::uint8_t> header) {
    std::size_t length = header.size();
    while (length > 1 && header[length - 1] == 0) {
        --length;
    }
    return {header.begin(), header.begin() + static_cast<std::ptrdiff_t>(length)};
}

} // namespace

ScriptPlan MakeScript(const ScriptSources& sources) {
    CheckNames(sources);
    if (sources.OriginalHeader != 0 && sources.ExpandedHeader != 0 &&
        sources.OriginalHeader != sources.ExpandedHeader) {
        Refuse("the original's header of " + std::to_string(sources.OriginalHeader) +
               " bytes and the expanded file's of " + std::to_string(sources.ExpandedHeader) +
               " differ: a script has one header size");
    }
    const auto original =
        ImageOf(sources.OriginalFile, sources.OriginalHeader, sources.OriginalName);
    const auto expanded =
        ImageOf(sources.ExpandedFile, sources.ExpandedHeader, sources.ExpandedName);

    ScriptPlan plan;
    plan.OriginalName = sources.OriginalName;
    plan.ExpandedName = sources.ExpandedName;
    plan.OriginalSize = static_cast<std::uint32_t>(original.size());
    plan.FinalSize = static_cast<std::uint32_t>(expanded.size());
    plan.HeaderSize = std::max(sources.OriginalHeader, sources.ExpandedHeader);
    plan.AddsHeader = sources.ExpandedHeader != 0;
    if (plan.AddsHeader) {
        plan.HeaderBytes = HeaderBytes(sources.ExpandedFile.first(sources.ExpandedHeader));
    } else if (sources.OriginalHeader != 0) {
        // Only the original carries one: its bytes let a player who asks for a header get the
        // one the original had, where an empty list would make that button fail on its first
        // field.
        plan.HeaderBytes = HeaderBytes(sources.OriginalFile.first(sources.OriginalHeader));
    }
    // The checksum takes as long as finding the directives; they share nothing.
    auto digest = std::async(std::launch::async, [original] { return ImageDigest(original); });
    plan.Directives = FitLineBudget(FindDirectives(original, expanded), plan.FinalSize);
    plan.OriginalMD5 = digest.get();
    return plan;
}

} // namespace kelbrin
