#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelbrin {

// A remark for a script's author about one of its lines: what a run reads there that the
// author probably did not mean, the likely cause and the fix, in plain words. A run's own
// messages stay as they are; a note is the second voice that explains them.
struct ScriptNote {
    std::int32_t Line = 0;
    std::string Text;

    bool operator==(const ScriptNote&) const = default;
};

// Reads Kelbrin.txt in `folder` and the original it names, and returns the notes on the script
// in the order of its lines. Unlike a run it reads every line, also past one where a run would
// stop, so that one mistake does not hide the next. It writes nothing; a script that cannot be
// read gets no notes (a run reports that itself).
std::vector<ScriptNote> NotesOnScript(const std::string& folder);

// The note as one line of text: "line N: " and its words.
std::string NoteLine(const ScriptNote& note);

} // namespace kelbrin
