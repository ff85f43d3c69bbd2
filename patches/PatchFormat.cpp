#include "PatchFormat.h"

#include <algorithm>
#include <array>

namespace kelbrin {

namespace {

struct KnownStart {
    PatchFormat Format;
    std::string_view Magic;
    std::string_view Name;
};

using namespace std::string_view_literals;

// Each magic is unique in its first bytes, so the order does not matter.
constexpr std::array kKnownStarts = {
    KnownStart{PatchFormat::Ips, "PATCH"sv, "IPS"sv},
    KnownStart{PatchFormat::Ips32, "IPS32"sv, "IPS32"sv},
    KnownStart{PatchFormat::Bps, "BPS1"sv, "BPS"sv},
    KnownStart{PatchFormat::Ups, "UPS1"sv, "UPS"sv},
    KnownStart{PatchFormat::Vcdiff, "\xD6\xC3\xC4"sv, "xdelta (VCDIFF)"sv},
    KnownStart{PatchFormat::Xdelta1, "%XDZ"sv, "xdelta 1"sv},
    KnownStart{PatchFormat::Ppf, "PPF"sv, "PPF"sv},
    KnownStart{PatchFormat::Aps, "APS1"sv, "APS"sv},
    KnownStart{PatchFormat::Rup, "NINJA2"sv, "RUP (NINJA 2)"sv},
    KnownStart{PatchFormat::Bsdiff, "BSDIFF4"sv, "bsdiff"sv},
    KnownStart{PatchFormat::Bsdiff, "ENDSLEY/BSDIFF4"sv, "bsdiff"sv},
    KnownStart{PatchFormat::Gdiff, "\xD1\xFF\xD1\xFF"sv, "GDIFF"sv},
    KnownStart{PatchFormat::ZipArchive, "PK\x03\x04"sv, "zip archive"sv},
    KnownStart{PatchFormat::GzipArchive, "\x1F\x8B"sv, "gzip archive"sv},
    KnownStart{PatchFormat::SevenZipArchive, "7z\xBC\xAF\x27\x1C"sv, "7-Zip archive"sv},
    KnownStart{PatchFormat::RarArchive, "Rar!\x1A\x07"sv, "RAR archive"sv},
};

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view magic) {
    return bytes.size() >= magic.size() &&
           std::equal(magic.begin(), magic.end(), bytes.begin(),
                      [](char m, std::uint8_t b) { return static_cast<std::uint8_t>(m) == b; });
}

} // namespace

PatchFormat RecognisePatch(std::span<const std::uint8_t> firstBytes) {
    for (const KnownStart& start : kKnownStarts) {
        if (StartsWith(firstBytes, start.Magic)) {
            return start.Format;
        }
    }
    return PatchFormat::Unknown;
}

std::string_view PatchFormatName(PatchFormat format) {
    for (const KnownStart& start : kKnownStarts) {
        if (start.Format == format) {
            return start.Name;
        }
    }
    return {};
}

bool KelbrinApplies(PatchFormat format) {
    return format == PatchFormat::Ips || format == PatchFormat::Ips32 ||
           format == PatchFormat::Bps || format == PatchFormat::Ups;
}

bool IsArchive(PatchFormat format) {
    return format == PatchFormat::ZipArchive || format == PatchFormat::GzipArchive ||
           format == PatchFormat::SevenZipArchive || format == PatchFormat::RarArchive;
}

} // namespace kelbrin
