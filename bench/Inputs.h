#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

// splitmix64: fixed seeds give the same bytes on every machine.
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

// Bytes that a file must hold at an offset.
struct Probe {
    std::uint64_t Offset;
    std::vector<std::uint8_t> Bytes;
};

// Random(seed)'s words, `size` bytes of them.
void WriteRandomFile(const std::filesystem::path& path, std::uint64_t size, std::uint64_t seed);
void WriteText(const std::filesystem::path& path, const std::string& text);
std::string ReadBytes(const std::filesystem::path& path);
std::string Hex(std::uint64_t value);
// A script that makes expanded.bin of original.bin, from its lines after the NAME line.
std::string Script(const std::vector<std::string>& lines);

// The W2 folder: a 4 MiB original and the longest script there may be, 32,763 COPY, FILL and
// REPLACE lines by chance, one every 80 hex bytes. Returns what the last REPLACE lines write,
// which proves that a run reached the end of the script.
std::vector<Probe> WriteLongestScript(const std::filesystem::path& folder);

// An original and an expanded file for the script maker, with the header each carries.
struct ScriptPair {
    std::string Original{}, Expanded{};
    unsigned OriginalHeader = 0, ExpandedHeader = 0;
};
// The pair of the workload `name`: S-GROW, S-BANKS, S-MOVES, S-HEADER, S-COPIER, S-UNRELATED or
// S-SCATTERED.
ScriptPair MakePair(const std::string& name);

} // namespace bench
