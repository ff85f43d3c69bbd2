#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/BinaryReader.h"
#include "common/BinaryWriter.h"
#include "common/TextInputFile.h"
#include "engine/RunWindow.h"

namespace kelbrin {

// The state of one expansion run; it lives for one call of Expand.
struct ExpansionRun {
    explicit ExpansionRun(RunWindow& window) : Window(window) {
        ShortenedBox.reserve(kShortenedBoxRoom);
    }

    RunWindow& Window;

    bool WantHeader = false;
    // What the error box shows under its error line if the run fails now.
    std::string ContextText;
    std::string ScriptPath;
    std::string OriginalPath;
    std::string ExpandedPath;
    // The expanded file's name as the script writes it.
    std::string ExpandedName;
    std::int32_t OriginalSize = 0;
    std::int32_t FinalSize = 0;
    std::string ExpectedMD5;
    std::int32_t HeaderSize = 0;
    bool OriginalHasHeader = false;

    std::optional<TextInputFile> Script;
    std::optional<BinaryReader> Original;
    std::optional<BinaryWriter> Expanded;

    // The output writer's state.
    std::int16_t LineNumber = 3;
    bool FirstDirective = true;
    // Image address (without header) of the next byte to be written.
    std::int32_t WritePosition = 0;
    bool RangeIsCopy = false;
    // Source address of the last COPY line, or fill byte of the last FILL line.
    std::int32_t RangeValue = 0;

    // Room set aside for the error box of a failure whose whole message does not fit in the
    // memory left (a script line of hundreds of megabytes under a tight limit).
    static constexpr std::size_t kShortenedBoxRoom = 4096;
    std::string ShortenedBox;
};

} // namespace kelbrin
