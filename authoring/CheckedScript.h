#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ImageLayout.h"
#include "ScriptPlan.h"
#include "WholeFile.h"

namespace kelbrin {

// What an author asks for: the original and the expanded file, and the header each carries
// (0 for none).
struct ScriptRequest {
    std::string OriginalPath;
    std::string ExpandedPath;
    std::uint32_t OriginalHeader = 0;
    std::uint32_t ExpandedHeader = 0;
};

// Where a script goes unless the author says otherwise: Kelbrin.txt beside the original, where
// a run looks for both.
std::string DefaultScriptPath(const std::string& originalPath);

// A script made from two files that a rehearsal of it has proved to rebuild the expanded file
// exactly; no other script is ever given out.
class CheckedScript {
public:
    // Reads both files whole, makes the script and proves it: a rehearsal of a run of its text,
    // beside the original and as if it were at `scriptPath`, must build the expanded file's
    // bytes exactly. A failure leaves as a RuntimeError whose description is one line that says
    // what went wrong.
    CheckedScript(const ScriptRequest& request, const std::string& scriptPath);

    const ScriptPlan& Plan() const noexcept { return plan_; }
    // Where each byte of the expanded file comes from, as the proof's rehearsal found it.
    const ImageLayout& Layout() const noexcept { return layout_; }
    // Each line of the script, without its line end.
    void ForEachLine(const std::function<void(std::string_view)>& line) const;
    // Writes the script, lines ending in CR LF, to a new file beside `path` that takes the name
    // only when it is complete: `path` is never a part of a script. An existing file is
    // replaced only when `replaceExisting` (error 58 otherwise).
    void WriteFile(const std::string& path, bool replaceExisting) const;

private:
    void Prove(const ScriptRequest& request, const std::string& scriptPath);

    // The files it is made from: its writing never takes one of them for its unfinished file.
    std::vector<std::string> inputs_;
    WholeFile original_;
    WholeFile expanded_;
    ScriptPlan plan_;
    ImageLayout layout_;
};

} // namespace kelbrin
