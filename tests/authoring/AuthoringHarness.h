#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "RunFolder.h"

namespace kelbrin::test {

inline std::span<const std::uint8_t> BytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// What a real run of `script` beside `original` writes with the button `addsHeader` names,
// or nothing when it does not end done without a box (a checksum warning included).
inline std::optional<std::string> RealRun(const std::string& script, const std::string& original,
                                          bool addsHeader) {
    RunFolder run;
    run.Folder.Write("Kelbrin.txt", script);
    run.Original(original);
    run.Run(addsHeader ? 0 : 1);
    if (!run.Window.Boxes.empty() || run.Window.LastStatus() != "Expansion Done") {
        return std::nullopt;
    }
    return run.File();
}

} // namespace kelbrin::test
