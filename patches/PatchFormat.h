#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kelbrin {

// What a file is, told by its first bytes. Kelbrin applies the first four; the others are named
// so that the player learns what the file is instead of reading that it is no patch.
enum class PatchFormat {
    Unknown,
    Ips,
    Ips32,
    Bps,
    Ups,
    Vcdiff,
    Xdelta1,
    Ppf,
    Aps,
    Rup,
    Bsdiff,
    Gdiff,
    ZipArchive,
    GzipArchive,
    SevenZipArchive,
    RarArchive,
};

PatchFormat RecognisePatch(std::span<const std::uint8_t> firstBytes);

// The name a player knows the format by ("BPS", "xdelta (VCDIFF)", "zip archive"); the empty
// text for Unknown.
std::string_view PatchFormatName(PatchFormat format);

bool KelbrinApplies(PatchFormat format);
bool IsArchive(PatchFormat format);

} // namespace kelbrin
