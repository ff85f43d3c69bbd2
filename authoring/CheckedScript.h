#pragma once

#include <cstdint>
#include <functional>
#include <span>
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

// Where a script goes as it is proved: nowhere (it is given out by ForEachLine), or to its
// path, as a new file or over an existing one.
enum class ScriptFile { None, New, NewOrReplacing };

// A script made from two files that a rehearsal of it has proved to rebuild the expanded file
// exactly; no other script is ever given out.
class CheckedScript {
public:
    // Reads both files whole, makes the script and proves it: a rehearsal of a run of its text,
    // beside the original and as if it were at `scriptPath`, must build the expanded file's
    // bytes exactly. The text is made a line at a time as the rehearsal reads it and, unless
    // `file` is None, written as it goes, lines ending in CR LF, to a new file beside
    // `scriptPath` that takes the name once the proof is done: `scriptPath` is never a part of
    // a script. An existing file is replaced only when `file` is NewOrReplacing (error 58
    // otherwise). A failure leaves as a RuntimeError whose description is one line that says
    // what went wrong.
    CheckedScript(const ScriptRequest& request, const std::string& scriptPath,
                  ScriptFile file = ScriptFile::None);

    const ScriptPlan& Plan() const noexcept { return plan_; }
    // Where each byte of the expanded file comes from, as the proof's rehearsal found it.
    const ImageLayout& Layout() const noexcept { return layout_; }
    // Each line of the script, without its line end.
    void ForEachLine(const std::function<void(std::string_view)>& line) const;

private:
    // Whether the rehearsal builds the expanded file exactly; `copy` gets the script's text,
    // piece by piece, as the rehearsal reads it.
    bool Proves(const ScriptRequest& request, const std::string& scriptPath,
                const std::function<void(std::string_view)>& copy);
    std::span<const std::uint8_t> ExpandedImage() const;

    // The files it is made from: its writing never takes one of them for its unfinished file.
    std::vector<std::string> inputs_;
    WholeFile original_;
    WholeFile expanded_;
    ScriptPlan plan_;
    ImageLayout layout_;
};

} // namespace kelbrin
