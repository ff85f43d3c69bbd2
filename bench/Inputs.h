#pragma once

// The workloads' inputs: the same bytes on every machine, from fixed seeds.

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Measure.h"

namespace bench {

// splitmix64.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }

private:
    std::uint64_t state_;
};

// Random(seed)'s words, `size` bytes of them.
inline std::string RandomBytes(std::size_t size, std::uint64_t seed) {
    Random random(seed);
    std::string bytes(size + 8, '\0');
    for (std::size_t at = 0; at < size; at += 8) {
        const std::uint64_t word = random.Next();
        std::memcpy(&bytes[at], &word, sizeof word);
    }
    bytes.resize(size);
    return bytes;
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    if (!file.write(text.data(), static_cast<std::streamsize>(text.size())).flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

inline std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%" PRIX64, value);
    return text;
}

// A script that makes expanded.bin of original.bin, from its lines after the NAME line.
inline std::string Script(const std::vector<std::string>& lines) {
    std::string text = "NAME\toriginal.bin\texpanded.bin\r\n";
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// The W2 folder: a 4 MiB original and the longest script there may be, 32,763 COPY, FILL and
// REPLACE lines by chance, one every 80 hex bytes. Returns what the last REPLACE lines write,
// which proves that a run reached the end of the script.
inline std::vector<Probe> WriteLongestScript(const std::filesystem::path& folder) {
    constexpr std::uint64_t lines = 32763; // and the NAME, SIZE and HEADER lines: 32,766
    WriteText(folder / "original.bin", RandomBytes(0x400000, 2));
    Random random(4);
    std::string script = Script({"SIZE\t400000\t400000", "HEADER\t0"});
    std::vector<Probe> probes;
    for (std::uint64_t i = 0; i < lines; ++i) {
        // The first directive may not be a REPLACE.
        const std::uint64_t kind = i == 0 ? 0 : random.Below(3);
        if (kind == 0) {
            script += "COPY\t" + Hex(i * 0x80) + "\t" + Hex(random.Below(0x400000)) + "\r\n";
        } else if (kind == 1) {
            script += "FILL\t" + Hex(i * 0x80) + "\t" + Hex(random.Below(256)) + "\r\n";
        } else {
            Probe probe{i * 0x80, {}};
            script += "REPLACE\t" + Hex(i * 0x80);
            for (std::uint64_t n = 1 + random.Below(8); n > 0; --n) {
                probe.Bytes.push_back(static_cast<std::uint8_t>(random.Below(256)));
                script += "\t" + Hex(probe.Bytes.back());
            }
            script += "\r\n";
            if (i >= lines - 64) {
                probes.push_back(std::move(probe));
            }
        }
    }
    WriteText(folder / "Kelbrin.txt", script);
    return probes;
}

// ROM-like bytes: stretches of code (a few opcodes most of the time), tables of rising words,
// tiles drawn from a small set, and padding runs of FF and 00, as real images hold them.
inline std::string RomLike(std::size_t size, std::uint64_t seed) {
    Random random(seed);
    std::string tiles(64 * 32, '\0');
    std::generate(tiles.begin(), tiles.end(),
                  [&random] { return static_cast<char>(random.Next()); });
    std::string bytes;
    bytes.reserve(size);
    while (bytes.size() < size) {
        const std::size_t length =
            std::min<std::size_t>(size - bytes.size(), 256 + random.Below(16384));
        const std::uint64_t kind = random.Below(10);
        for (std::size_t i = 0; i < length; ++i) {
            const std::uint64_t word = random.Next();
            const auto code =
                static_cast<char>(word % 2 == 0 ? 0x20 + (word >> 8) % 16 : word >> 16);
            const auto table = static_cast<char>((i / 2 * 3) >> (i % 2 == 0 ? 0 : 8));
            const char tile = tiles[(i / 32 % 7 * 9 + kind) % 64 * 32 + i % 32];
            bytes += kind < 4    ? code
                     : kind < 6  ? table
                     : kind < 8  ? tile
                     : kind == 8 ? '\xFF'
                                 : '\0';
        }
    }
    return bytes;
}

// Changes `changes` bytes at places by chance.
inline std::string Scattered(std::string bytes, std::size_t changes, std::uint64_t seed) {
    Random random(seed);
    for (std::size_t i = 0; i < changes; ++i) {
        char& c = bytes[random.Below(bytes.size())];
        c = static_cast<char>(c ^ (1 + random.Below(255)));
    }
    return bytes;
}

// An original and an expanded file for the script maker, with the header each carries: the
// pair of the workload `name`, S-GROW, S-BANKS, S-MOVES, S-HEADER, S-COPIER, S-UNRELATED or
// S-SCATTERED.
struct ScriptPair {
    std::string Original{}, Expanded{};
    unsigned OriginalHeader = 0, ExpandedHeader = 0;
};
inline ScriptPair MakePair(const std::string& name) {
    constexpr std::size_t MiB = 1024 * 1024;
    if (name == "S-GROW") {
        ScriptPair pair{RomLike(MiB, 11)};
        pair.Expanded = pair.Original + std::string(3 * MiB, '\xFF');
        pair.Expanded[0x1234] = '\x60';
        pair.Expanded[0x54321] = '\xEA';
        return pair;
    }
    if (name == "S-BANKS") { // 32 KiB banks in a new order, each bank twice
        ScriptPair pair{RomLike(2 * MiB, 12)};
        for (std::size_t bank = 0, size = 32 * 1024; bank < 64; ++bank) {
            pair.Expanded += pair.Original.substr(bank * size, size) +
                             pair.Original.substr((bank + 32) % 64 * size, size);
        }
        return pair;
    }
    if (name == "S-MOVES") { // long pieces from anywhere, some padding between them
        ScriptPair pair{RomLike(64 * MiB, 13)};
        Random random(14);
        pair.Expanded.reserve(128 * MiB);
        while (pair.Expanded.size() < 128 * MiB) {
            const std::size_t length = 64 * 1024 + random.Below(MiB);
            pair.Expanded +=
                pair.Original.substr(random.Below(pair.Original.size() - length), length);
            if (random.Below(4) == 0) {
                pair.Expanded += std::string(4096 + random.Below(256 * 1024),
                                             random.Below(2) == 0 ? '\xFF' : '\0');
            }
        }
        pair.Expanded.resize(128 * MiB);
        pair.Expanded = Scattered(std::move(pair.Expanded), 2000, 15);
        return pair;
    }
    if (name == "S-HEADER") {
        const std::string image = RomLike(MiB / 2, 16);
        return {"NES\x1A" + std::string(12, '\x01') + image,
                std::string("NES\x1A\x20\x10\x40", 7) + std::string(9, '\0') + image +
                    std::string(MiB / 2, '\xFF'),
                16, 16};
    }
    if (name == "S-COPIER") {
        const std::string image = RomLike(2 * MiB, 17);
        return {'\x40' + std::string(511, '\0') + image,
                Scattered(image + image.substr(0, MiB) + std::string(MiB, '\0'), 16, 18), 512, 0};
    }
    if (name == "S-UNRELATED") {
        return {RandomBytes(MiB, 19), RandomBytes(MiB, 20)};
    }
    const std::string original = RandomBytes(4 * MiB, 21); // S-SCATTERED
    return {original, Scattered(original, 100000, 22)};
}

} // namespace bench
