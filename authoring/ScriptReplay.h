#pragma once

#include <cstdint>
#include <functional>
#include <future>
#include <span>
#include <string>
#include <string_view>

#include "ImageDigest.h"
#include "ScriptPlan.h"

namespace kelbrin {

// A run of a script in memory: its lines are taken one at a time, read with the run's own
// field and number routines and checked by the run's rules, and every byte the run would write
// is compared with the expanded file instead of being written. It never touches a file.
class ScriptReplay {
public:
    // The checksum of an original image, as the run computes it.
    using Digest = std::function<std::string(std::span<const std::uint8_t>)>;

    // `addsHeader`: the button the run is started with.
    ScriptReplay(std::span<const std::uint8_t> originalFile,
                 std::span<const std::uint8_t> expandedFile, bool addsHeader,
                 Digest digest = ImageDigest);

    // The script's next line, without its line end.
    void Line(std::string_view line);
    // After the last line: true when the run would end done, with the expanded file's bytes
    // exactly and no checksum warning.
    bool Rebuilt();

private:
    void Name(std::string_view line);
    void Size(std::string_view line);
    void Header(std::string_view line);
    void DirectiveLine(std::string_view line);
    bool CountLine();
    // The bytes of the range in progress, up to `end`, compared with the expanded image.
    void WritePending(std::int64_t end);
    void Fail() { failed_ = true; }

    std::span<const std::uint8_t> originalFile_;
    std::span<const std::uint8_t> expandedFile_;
    const bool addsHeader_;
    Digest digestOf_;
    bool failed_ = false;
    int headLines_ = 0;

    std::int32_t originalSize_ = 0;
    std::int32_t finalSize_ = 0;
    std::string expectedMD5_;
    std::int32_t headerSize_ = 0;
    bool originalHasHeader_ = false;
    std::future<std::string> digest_;
    // The image the run must write: the expanded file behind its header, if the run adds one.
    std::span<const std::uint8_t> image_;

    std::int32_t lineNumber_ = 3;
    bool firstDirective_ = true;
    std::int64_t writePosition_ = 0;
    bool rangeIsCopy_ = false;
    std::int32_t rangeValue_ = 0;
    // The original file's offset that the next copied byte comes from.
    std::int64_t source_ = 0;
};

// Whether a run of `scriptText` (lines ending in CR LF, LF or CR) with the given button rebuilds
// the expanded file from the original file exactly.
bool RebuildsExactly(std::string_view scriptText, std::span<const std::uint8_t> originalFile,
                     std::span<const std::uint8_t> expandedFile, bool addsHeader);

// Whether the script `plan` describes rebuilds the expanded file exactly, run with the plan's
// button: the check a script passes before it is written.
bool RebuildsExactly(const ScriptPlan& plan, std::span<const std::uint8_t> originalFile,
                     std::span<const std::uint8_t> expandedFile);

} // namespace kelbrin
