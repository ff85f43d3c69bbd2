// kelbrin-bench: times kelbrin-cli, kelbrin-md5 and a run from the window on generated
// workloads against cp, md5sum and xdelta3, and prints as it goes a row for each tool (median
// time, peak memory) and for each target. It reports; it does not gate: a missed target still
// exits 0, while a run that fails (or a wrong output) exits 1. A workload is a function below
// and its row in kWorkloads, working in a folder of its own, emptied before and removed after.

#include <charconv>
#include <cstdlib>
#include <iterator>
#include <random>
#include <sstream>

#include "Crc32.h"
#include "Measure.h"

namespace {

using namespace bench;
namespace fs = std::filesystem;

// The standard fixes this engine's sequence, so a seed gives the same bytes on every machine.
using Random = std::mt19937_64;

std::string RandomBytes(std::size_t size, std::uint64_t seed) {
    Random random(seed);
    std::string bytes(size, '\0');
    std::generate(bytes.begin(), bytes.end(), [&random] { return static_cast<char>(random()); });
    return bytes;
}

void WriteText(const fs::path& path, const std::string& text) {
    if (!(std::ofstream(path, std::ios::binary) << text).flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string Hex(std::uint64_t value) {
    char text[16];
    return {text, std::to_chars(text, text + sizeof text, value, 16).ptr};
}

// The script in dir that makes expanded.bin of original.bin, from its lines after NAME.
void WriteScript(const fs::path& dir, const std::vector<std::string>& lines) {
    std::string text = "NAME\toriginal.bin\texpanded.bin\r\n";
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    WriteText(dir / "Kelbrin.txt", text);
}

// The W2 folder: a 4 MiB original and the longest script there may be, 32,763 COPY, FILL and
// REPLACE lines by chance, one every 80 hex bytes. Returns what the REPLACE lines write: the
// last ones prove that a run reached the end of the script.
Probes WriteLongestScript(const fs::path& dir) {
    WriteText(dir / "original.bin", RandomBytes(0x400000, 2));
    Random random(4);
    std::vector<std::string> lines = {"SIZE\t400000\t400000", "HEADER\t0"};
    Probes probes;
    for (std::uint64_t at = 0; lines.size() < 32765; at += 0x80) { // 32,766 with NAME
        // The first directive may not be a REPLACE.
        const std::uint64_t kind = at == 0 ? 0 : random() % 3;
        if (kind == 0) {
            lines.push_back("COPY\t" + Hex(at) + "\t" + Hex(random() % 0x400000));
        } else if (kind == 1) {
            lines.push_back("FILL\t" + Hex(at) + "\t" + Hex(random() % 256));
        } else {
            lines.push_back("REPLACE\t" + Hex(at));
            probes.emplace_back(at, "");
            for (std::uint64_t n = 1 + random() % 8; n > 0; --n) {
                probes.back().second += static_cast<char>(random() % 256);
                lines.back() += "\t" + Hex(static_cast<unsigned char>(probes.back().second.back()));
            }
        }
    }
    WriteScript(dir, lines);
    return probes;
}

// ROM-like bytes: stretches of code (a few opcodes most of the time), tables of rising words,
// tiles drawn from a small set, and padding runs of FF and 00, as real images hold them.
std::string RomLike(std::size_t size, std::uint64_t seed) {
    Random random(seed);
    const std::string tiles = RandomBytes(64 * 32, seed);
    std::string bytes;
    while (bytes.size() < size) {
        const std::uint64_t kind = random() % 10;
        const std::uint64_t length = 256 + random() % 16384;
        for (std::size_t i = 0; i < length; ++i) {
            const std::uint64_t word = random();
            const char code =
                static_cast<char>(word % 2 == 0 ? 0x20 + (word >> 8) % 16 : word >> 16);
            const char table = static_cast<char>((i / 2 * 3) >> (i % 2 == 0 ? 0 : 8));
            const char tile = tiles[(i / 32 % 7 * 9 + kind) % 64 * 32 + i % 32];
            bytes +=
                std::string{code, code, code, code, table, table, tile, tile, '\xFF', '\0'}[kind];
        }
    }
    bytes.resize(size);
    return bytes;
}

// Changes `changes` bytes at places by chance.
std::string Scattered(std::string bytes, std::size_t changes, std::uint64_t seed) {
    Random random(seed);
    for (std::size_t i = 0; i < changes; ++i) {
        char& byte = bytes[random() % bytes.size()];
        byte = static_cast<char>(static_cast<unsigned char>(byte) ^ (1 + random() % 255));
    }
    return bytes;
}

// The largest image a script allows; the digest refuses 2^28 bytes or more, so it is also the
// largest file kelbrin-md5 can digest.
constexpr std::uint64_t kLargest = 0xFFFFFFF;

// A program to time: the one built next to this, or the command line the variable holds (the
// Windows program under Wine, for one).
CommandLine Program(const char* variable, const char* built) {
    std::istringstream words(std::getenv(variable) != nullptr ? std::getenv(variable) : "");
    const CommandLine set{std::istream_iterator<std::string>(words), {}};
    return !set.empty() ? set : *built ? CommandLine{built} : CommandLine{};
}

const CommandLine Cli = Program("KELBRIN_BENCH_CLI", KELBRIN_BENCH_CLI);
const CommandLine Window = Program("KELBRIN_BENCH_WINDOW", KELBRIN_BENCH_WINDOW);

CommandLine With(CommandLine command, const std::vector<std::string>& arguments) {
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

// The file's digest, in upper case as a script carries it and kelbrin-md5 prints it.
std::string Digest(const fs::path& file) {
    std::string printed;
    Run({"md5sum", file}, &printed);
    printed.resize(32);
    std::transform(printed.begin(), printed.end(), printed.begin(), ::toupper);
    return printed;
}

// The target on a tool's time: at most `limit` times the other's.
void AtMost(const std::string& name, const std::string& tool, const Series& runs,
            const Series& other, const std::string& limit, const std::string& what) {
    const double ratio = Median(runs) / Median(other);
    Row(name, tool, runs, "time <= " + limit + " x " + what, ratio <= std::stod(limit), ratio);
}

// kelbrin-cli's run of the script in dir, which must leave `size` bytes in expanded.bin. With
// `digest` it must print no MD5 row, which it prints only when the original's digest is wrong.
Job CliRun(const fs::path& dir, std::uint64_t size, Probes probes, bool digest) {
    return {.Label = "kelbrin-cli",
            .Command = With(Cli, {"--remove-header", "--dir", dir}),
            .Output = dir / "expanded.bin",
            .Size = size,
            .Probes = std::move(probes),
            .Hides = digest ? "MD5:" : ""};
}

// Long COPY and FILL ranges with a few REPLACE lines inside them, from a 128 MiB original to
// the largest image, beside as large a file for cp. With `digest`, the SIZE line carries the
// original's MD5.
Job PrepareW1(const fs::path& dir, bool digest) {
    WriteText(dir / "original.bin", RandomBytes(0x8000000, 1));
    WriteText(dir / "cp-source.bin", RandomBytes(kLargest, 3));
    const std::string size =
        "SIZE\t8000000\tFFFFFFF" + (digest ? "\t" + Digest(dir / "original.bin") : "");
    WriteScript(dir, {size, "HEADER\t0", "COPY\t0\t0", "REPLACE\t1000\t4B\t45\t4C\t42",
                      "FILL\t4000000\tFF", "REPLACE\t5000000\t1\t2\t3", "COPY\t6000000\t1000000",
                      "REPLACE\t8000000\tAA\tBB", "FILL\tA000000\t0", "COPY\tC000000\t4000000"});
    return CliRun(dir, kLargest,
                  {{0x1000, "KELB"},
                   {0x4000000, "\xFF"},
                   {0x5000000, "\x01\x02\x03\xFF"},
                   {0x8000000, "\xAA\xBB"},
                   {0xA000000, std::string(1, '\0')},
                   {0xBFFFFFF, std::string(1, '\0')}},
                  digest);
}

// The run of W1's script against what a person would do by hand: cp of as many bytes (after
// md5sum of the original when the script carries its digest), and the same followed by a sync
// of the copy, as a run has its file on the disk before the file takes the expanded name.
Series AgainstCopy(const std::string& name, const fs::path& dir, bool digest,
                   const std::string& limit) {
    std::vector<Job> jobs = {PrepareW1(dir, digest)};
    const std::string script = digest ? "md5sum \"$1\" && cp \"$2\" \"$3\"" : "cp \"$2\" \"$3\"";
    for (const std::string sync : {"", " && sync \"$3\""}) {
        jobs.push_back(
            {.Label = (digest ? "md5sum + cp" : "cp") + std::string(sync.empty() ? "" : " + sync"),
             .Command = {"sh", "-c", script + sync, "sh", dir / "original.bin",
                         dir / "cp-source.bin", dir / "copy.bin"},
             .Output = dir / "copy.bin",
             .Size = kLargest});
    }
    const auto runs = Measure(name, jobs);
    for (std::size_t i : {1, 2}) {
        AtMost(name, "kelbrin-cli", runs[0], runs[i], limit, jobs[i].Label);
    }
    return runs[0];
}

void W1(const std::string& name, const fs::path& dir) {
    const Series run = AgainstCopy(name, dir, false, "1.3");
    Row(name, "kelbrin-cli", run, "peak RSS < 16 MiB", PeakMiB(run) < 16);
}

void W1Md5(const std::string& name, const fs::path& dir) {
    AgainstCopy(name, dir, true, "1.15");
}

// The longest script, run by kelbrin-cli and from the window, and the window's start-up. The
// window prints the run's own time, from the click to the controls enabled again, so it is held
// against kelbrin-cli's time less that of its start (--version), which Wine makes long.
void W2(const std::string& name, const fs::path& dir) {
    const Job run = CliRun(dir, 0x400000, WriteLongestScript(dir), false);
    Job window = run;
    window.Label = "run from the window";
    window.Command = With(Window, {dir});
    window.Prints = {"run-seconds "};
    std::vector<Job> jobs = {run, {.Label = "--version", .Command = With(Cli, {"--version"})}};
    if (!Window.empty()) {
        jobs.insert(jobs.end(),
                    {window, {.Label = "window shown", .Command = With(Window, {dir, "--shown"})}});
    }
    const auto runs = Measure(name, jobs);
    Row(name, run.Label, runs[0], "time < 0.1 s", Median(runs[0]) < 0.1);
    if (!Window.empty()) {
        const double ratio = Median(runs[2]) / (Median(runs[0]) - Median(runs[1]));
        Row("W2-window", window.Label, runs[2], "time <= 1.2 x kelbrin-cli's run",
            ratio > 0 && ratio <= 1.2, ratio);
    }
}

// An author's check of a script rehearses both buttons' runs: on the longest script and on the
// largest image, it may cost no more than one run, and it writes nothing.
void AgainstRun(const std::string& name, const fs::path& dir, const Job& run) {
    const Job check{.Label = "kelbrin-cli --check",
                    .Command = With(Cli, {"--check", "--dir", dir}),
                    .Absent = run.Output,
                    .Prints = {"Remove Header: Expansion Done\n"}};
    const auto runs = Measure(name, {run, check});
    AtMost(name, check.Label, runs[1], runs[0], "1.0", "the run");
}

void CheckLines(const std::string& name, const fs::path& dir) {
    AgainstRun(name, dir, CliRun(dir, 0x400000, WriteLongestScript(dir), false));
}

void CheckImage(const std::string& name, const fs::path& dir) {
    AgainstRun(name, dir, PrepareW1(dir, true));
}

// The largest file, digested by kelbrin-md5 and md5sum; kelbrin-md5 must print what md5sum does.
void M1(const std::string& name, const fs::path& dir) {
    const fs::path file = dir / "data.bin";
    WriteText(file, RandomBytes(kLargest, 5));
    const Job md5{
        .Label = "kelbrin-md5", .Command = {KELBRIN_BENCH_MD5, file}, .Prints = {Digest(file)}};
    const auto runs = Measure(name, {md5, {.Label = "md5sum", .Command = {"md5sum", file}}});
    // Both read the same bytes, so the ratio of the times is the ratio of throughputs.
    const double ratio = Median(runs[1]) / Median(runs[0]);
    Row(name, md5.Label, runs[0], "throughput >= 0.9 x md5sum", ratio >= 0.9, ratio);
}

// The largest original a script allows, with its digest to check and one COPY of it all: the
// run reads the whole file twice, once for the digest and once for the copy.
void M2(const std::string& name, const fs::path& dir) {
    const std::string original = RandomBytes(kLargest, 6);
    WriteText(dir / "original.bin", original);
    WriteScript(dir, {"SIZE\tFFFFFFF\tFFFFFFF\t" + Digest(dir / "original.bin"), "HEADER\t0",
                      "COPY\t0\t0"});
    const Job run = CliRun(dir, kLargest, {{0, original.substr(0, 64)}}, true);
    const Series runs = Measure(name, {run})[0];
    Row(name, run.Label, runs, "peak RSS < 16 MiB", PeakMiB(runs) < 16);
}

// --info on the largest image with a 512-byte header, against md5sum of the file: every run must
// find the header and print the whole file's MD5 as md5sum does.
void I1(const std::string& name, const fs::path& dir) {
    const fs::path original = dir / "original.bin";
    WriteText(original, RandomBytes(kLargest + 0x200, 7));
    WriteScript(dir, {"SIZE\tFFFFFFF\tFFFFFFF", "HEADER\t200"});
    const Job info{.Label = "kelbrin-cli --info",
                   .Command = With(Cli, {"--info", "--dir", dir}),
                   .Prints = {"Header: 512 bytes", "File MD5: " + Digest(original)}};
    const auto runs = Measure(name, {info, {.Label = "md5sum", .Command = {"md5sum", original}}});
    AtMost(name, info.Label, runs[0], runs[1], "1.5", "md5sum");
    Row(name, info.Label, runs[0], "peak RSS < 16 MiB", PeakMiB(runs[0]) < 16);
}

// A BPS number: seven bits a byte, the last byte marked, each further byte counting from the
// previous ones' end.
std::string BpsNumber(std::uint64_t value) {
    std::string bytes;
    for (;;) {
        const auto low = static_cast<char>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            return bytes + static_cast<char>(low | 0x80);
        }
        bytes += low;
        --value;
    }
}

std::string LittleEndian(std::uint32_t value) {
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

std::uint32_t Crc32Of(const std::string& bytes) {
    kelbrin::Crc32 crc;
    crc.Update({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    return crc.Value();
}

// A BPS patch that changes 64 bytes in the middle of `source` (the rest read from it where it
// lies), and the ROM it makes.
std::pair<std::string, std::string> MiddlePatch(const std::string& source) {
    const std::size_t at = source.size() / 2;
    std::string target = source;
    std::fill_n(target.begin() + static_cast<std::ptrdiff_t>(at), 64, '\xEA');
    std::string patch = "BPS1" + BpsNumber(source.size()) + BpsNumber(target.size()) +
                        BpsNumber(0) + BpsNumber((at - 1) << 2) + BpsNumber(63 << 2 | 1) +
                        std::string(64, '\xEA') + BpsNumber((source.size() - at - 64 - 1) << 2) +
                        LittleEndian(Crc32Of(source)) + LittleEndian(Crc32Of(target));
    patch += LittleEndian(Crc32Of(patch));
    return {patch, target};
}

constexpr std::uint64_t kPatchedSize = 0x2000000; // 32 MiB

// --apply of a BPS patch to a 32 MiB ROM, against cp of the patched ROM and a sync of the copy:
// kelbrin-cli has the file on the disk before it takes its name, as every file it writes.
void PApply(const std::string& name, const fs::path& dir) {
    const std::string rom = RomLike(kPatchedSize, 8);
    const auto [patch, target] = MiddlePatch(rom);
    WriteText(dir / "rom.bin", rom);
    WriteText(dir / "hack.bps", patch);
    WriteText(dir / "target.bin", target);
    const Job apply{.Label = "kelbrin-cli --apply",
                    .Command = With(Cli, {"--apply", dir / "hack.bps", dir / "rom.bin", "--output",
                                          dir / "patched.bin", "--force"}),
                    .Output = dir / "patched.bin",
                    .Size = kPatchedSize,
                    .Probes = {{kPatchedSize / 2, std::string(64, '\xEA')}}};
    const Job copy{.Label = "cp + sync",
                   .Command = {"sh", "-c", "cp \"$1\" \"$2\" && sync \"$2\"", "sh",
                               dir / "target.bin", dir / "copy.bin"},
                   .Output = dir / "copy.bin",
                   .Size = kPatchedSize};
    const auto runs = Measure(name, {apply, copy});
    AtMost(name, apply.Label, runs[0], runs[1], "1.2", copy.Label);
    Row(name, apply.Label, runs[0], "peak RSS < 2 x 32 MiB + 16 MiB",
        PeakMiB(runs[0]) < 2 * 32 + 16);
}

// A run that expands a 32 MiB original as it is and applies a BPS patch to it, against the same
// run without the patch followed by cp of the patched ROM and a sync of the copy (the run has
// both its files on the disk before they take their names).
void PRun(const std::string& name, const fs::path& dir) {
    const std::string original = RomLike(kPatchedSize, 9);
    const auto [patch, target] = MiddlePatch(original);
    WriteText(dir / "original.bin", original);
    WriteText(dir / "hack.bps", patch);
    WriteText(dir / "target.bin", target);
    WriteScript(dir, {"SIZE\t2000000\t2000000", "HEADER\t0", "COPY\t0\t0"});
    const Job patched{.Label = "kelbrin-cli --patch",
                      .Command =
                          With(Cli, {"--remove-header", "--dir", dir, "--patch", dir / "hack.bps"}),
                      .Output = dir / "hack.bin",
                      .Size = kPatchedSize,
                      .Probes = {{kPatchedSize / 2, std::string(64, '\xEA')}}};
    CommandLine plain = With(Cli, {"--remove-header", "--dir", dir});
    // sh gets the folder as $0 and the run's command line as its arguments.
    const Job runAndCopy{.Label = "run + cp + sync",
                         .Command = {"sh", "-c",
                                     "\"$@\" > /dev/null && cp \"$0/target.bin\" \"$0/copy.bin\" "
                                     "&& sync \"$0/copy.bin\"",
                                     dir},
                         .Output = dir / "copy.bin",
                         .Size = kPatchedSize};
    Job withRun = runAndCopy;
    withRun.Command.insert(withRun.Command.end(), plain.begin(), plain.end());
    const auto runs = Measure(name, {patched, withRun});
    AtMost(name, patched.Label, runs[0], runs[1], "1.2", runAndCopy.Label);
    Row(name, patched.Label, runs[0], "peak RSS < 2 x 32 MiB + 16 MiB",
        PeakMiB(runs[0]) < 2 * 32 + 16);
}

// A number a shell script printed about a file.
long Counted(const std::string& script, const fs::path& file) {
    std::string printed;
    Run({"sh", "-c", script, "sh", file}, &printed);
    return std::stol(printed);
}

// kelbrin-cli --make-script against xdelta3 -e on a pair of files, with the headers they carry.
// The script is proved by a real run beside a copy of the original, and its directive lines are
// counted against xdelta3's instructions (each row of its printed delta holds one or two of
// ADD, RUN and CPY_n).
void AgainstXdelta(const std::string& name, const fs::path& dir, const std::string& original,
                   const std::string& expanded, unsigned originalHeader = 0,
                   unsigned expandedHeader = 0) {
    const fs::path check = dir / "check";
    const fs::path script = dir / "Kelbrin.txt";
    fs::create_directory(check);
    WriteText(check / "original.bin", original);
    WriteText(dir / "expanded.bin", expanded);
    const long limit = static_cast<long>((original.size() + expanded.size()) >> 20) + 64;
    const Job make{.Label = "--make-script",
                   .Command =
                       With(Cli, {"--make-script", check / "original.bin", dir / "expanded.bin",
                                  "--original-header", Hex(originalHeader), "--expanded-header",
                                  Hex(expandedHeader), "--output", script, "--force"})};
    const auto runs =
        Measure(name, {make,
                       {.Label = "xdelta3 -e",
                        .Command = {"xdelta3", "-e", "-f", "-s", check / "original.bin",
                                    dir / "expanded.bin", dir / "delta"}}});
    fs::copy_file(script, check / "Kelbrin.txt");
    Run(With(Cli, {expandedHeader != 0 ? "--add-header" : "--remove-header", "--dir", check}));
    Run({"cmp", check / "expanded.bin", dir / "expanded.bin"});
    const long lines = Counted("wc -l < \"$1\"", script) - 3; // NAME, SIZE, HEADER
    const long instructions = Counted(
        "xdelta3 printdelta \"$1\" | grep -oE ' (ADD|RUN|CPY_[0-9]+) ' | wc -l", dir / "delta");
    AtMost(name, make.Label, runs[0], runs[1], "1.0", "xdelta3");
    Row(name, make.Label, runs[0],
        std::to_string(lines) + " lines <= 1.5 x " + std::to_string(instructions) + " instr.",
        static_cast<double>(lines) <= 1.5 * static_cast<double>(instructions),
        static_cast<double>(lines) / static_cast<double>(instructions));
    Row(name, make.Label, runs[0], "peak <= files + 64 = " + std::to_string(limit) + " MiB",
        PeakMiB(runs[0]) <= static_cast<double>(limit));
}

constexpr std::size_t MiB = 1 << 20;

// ROM-like: a grown image, padded with FF, with two bytes patched.
void SGrow(const std::string& name, const fs::path& dir) {
    const std::string original = RomLike(MiB, 11);
    std::string expanded = original + std::string(3 * MiB, '\xFF');
    expanded[0x1234] = '\x60';
    expanded[0x54321] = '\xEA';
    AgainstXdelta(name, dir, original, expanded);
}

// 32 KiB banks in a new order, each bank twice.
void SBanks(const std::string& name, const fs::path& dir) {
    const std::string original = RomLike(2 * MiB, 12);
    std::string expanded;
    for (std::size_t bank = 0, size = 32 * 1024; bank < 64; ++bank) {
        expanded +=
            original.substr(bank * size, size) + original.substr((bank + 32) % 64 * size, size);
    }
    AgainstXdelta(name, dir, original, expanded);
}

// 64 MiB to 128 MiB: long pieces from anywhere, some padding between them, 2,000 bytes changed.
void SMoves(const std::string& name, const fs::path& dir) {
    const std::string original = RomLike(64 * MiB, 13);
    Random random(14);
    std::string expanded;
    while (expanded.size() < 128 * MiB) {
        const std::size_t length = 64 * 1024 + random() % MiB;
        expanded += original.substr(random() % (original.size() - length), length);
        if (random() % 4 == 0) {
            const std::size_t padding = 4096 + random() % (256 * 1024);
            expanded += std::string(padding, random() % 2 == 0 ? '\xFF' : '\0');
        }
    }
    expanded.resize(128 * MiB);
    AgainstXdelta(name, dir, original, Scattered(std::move(expanded), 2000, 15));
}

// A 16-byte header on both sides.
void SHeader(const std::string& name, const fs::path& dir) {
    const std::string image = RomLike(MiB / 2, 16);
    const std::string padding(MiB / 2, '\xFF');
    AgainstXdelta(name, dir, "NES\x1A" + std::string(12, '\x01') + image,
                  std::string("NES\x1A\x20\x10\x40", 7) + std::string(9, '\0') + image + padding,
                  16, 16);
}

// A 512-byte copier header on the original only.
void SCopier(const std::string& name, const fs::path& dir) {
    const std::string image = RomLike(2 * MiB, 17);
    AgainstXdelta(name, dir, '\x40' + std::string(511, '\0') + image,
                  Scattered(image + image.substr(0, MiB) + std::string(MiB, '\0'), 16, 18), 512);
}

void SUnrelated(const std::string& name, const fs::path& dir) {
    AgainstXdelta(name, dir, RandomBytes(MiB, 19), RandomBytes(MiB, 20));
}

void SScattered(const std::string& name, const fs::path& dir) {
    const std::string original = RandomBytes(4 * MiB, 21);
    AgainstXdelta(name, dir, original, Scattered(original, 100000, 22));
}

// kelbrin-cli --make-patch (BPS) against xdelta3 -e on a pair: its time against xdelta3's, its
// size against xdelta3's without the second compression. The patch is applied back with --apply
// and the result compared with the target.
void PatchAgainstXdelta(const std::string& name, const fs::path& dir, const std::string& source,
                        const std::string& target) {
    const fs::path sourceFile = dir / "source.bin", targetFile = dir / "target.bin";
    WriteText(sourceFile, source);
    WriteText(targetFile, target);
    const long limit = static_cast<long>((source.size() + target.size()) >> 20) + 64;
    const Job make{.Label = "--make-patch",
                   .Command = With(Cli, {"--make-patch", sourceFile, targetFile, "--output",
                                         dir / "made.bps", "--force"})};
    const auto runs = Measure(
        name, {make,
               {.Label = "xdelta3 -e",
                .Command = {"xdelta3", "-e", "-f", "-s", sourceFile, targetFile, dir / "delta"}}});
    Run(make.Command);
    Run({"xdelta3", "-S", "none", "-e", "-f", "-s", sourceFile, targetFile, dir / "plain"});
    Run(With(Cli, {"--apply", dir / "made.bps", sourceFile, "--output", dir / "check.bin"}));
    Run({"cmp", dir / "check.bin", targetFile});
    const auto made = fs::file_size(dir / "made.bps"), plain = fs::file_size(dir / "plain");
    AtMost(name, make.Label, runs[0], runs[1], "1.0", "xdelta3");
    Row(name, make.Label, runs[0],
        std::to_string(made) + " B <= 1.05 x " + std::to_string(plain) + " B", made <= 1.05 * plain,
        1.0 * made / plain);
    Row(name, make.Label, runs[0], "peak <= files + 64 = " + std::to_string(limit) + " MiB",
        PeakMiB(runs[0]) <= limit);
}

// A hack of a ROM image: `edits` bytes changed by chance and `moves` blocks of up to 4 KiB
// copied to new places.
std::string Hacked(const std::string& rom, std::size_t edits, std::size_t moves,
                   std::uint64_t seed) {
    Random random(seed);
    std::string hack = rom;
    for (std::size_t i = 0; i < moves; ++i) {
        const std::size_t length = 256 + random() % 3840;
        hack.replace(random() % (hack.size() - length), length,
                     rom.substr(random() % (rom.size() - length), length));
    }
    return Scattered(std::move(hack), edits, seed + 1);
}

void P4M(const std::string& name, const fs::path& dir) {
    const std::string rom = RomLike(4 * MiB, 31);
    PatchAgainstXdelta(name, dir, rom, Hacked(rom, 3000, 30, 32));
}

void P32M(const std::string& name, const fs::path& dir) {
    const std::string rom = RomLike(32 * MiB, 33);
    PatchAgainstXdelta(name, dir, rom, Hacked(rom, 8000, 40, 34));
}

// The largest image a script allows, with a hack's few edits: the maker's time and memory on
// the largest pair it may meet.
void PHuge(const std::string& name, const fs::path& dir) {
    const std::string rom = RomLike(kLargest, 40);
    PatchAgainstXdelta(name, dir, rom, Hacked(rom, 2000, 20, 41));
}

// 64 KiB of new code in the middle, the rest moved up behind it.
void PInsert(const std::string& name, const fs::path& dir) {
    const std::string rom = RomLike(4 * MiB, 35);
    PatchAgainstXdelta(
        name, dir, rom,
        Hacked(rom.substr(0, 2 * MiB) + RandomBytes(64 * 1024, 36) + rom.substr(2 * MiB), 500, 0,
               37));
}

void PUnrelated(const std::string& name, const fs::path& dir) {
    PatchAgainstXdelta(name, dir, RandomBytes(4 * MiB, 38), RandomBytes(4 * MiB, 39));
}

// clang-format off
constexpr std::pair<const char*, void (*)(const std::string&, const fs::path&)> kWorkloads[] = {
    {"W1", W1}, {"W2", W2}, {"C-LINES", CheckLines}, {"C-IMAGE", CheckImage}, {"W1-MD5", W1Md5},
    {"M1", M1}, {"M2", M2}, {"I1", I1}, {"S-GROW", SGrow}, {"S-BANKS", SBanks},
    {"S-MOVES", SMoves}, {"S-HEADER", SHeader}, {"S-COPIER", SCopier},
    {"S-UNRELATED", SUnrelated}, {"S-SCATTERED", SScattered}, {"P-APPLY", PApply},
    {"P-RUN", PRun}, {"P-4M", P4M}, {"P-32M", P32M}, {"P-INSERT", PInsert},
    {"P-UNRELATED", PUnrelated}, {"P-HUGE", PHuge}};
// clang-format on

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // rows show as they come, even through a pipe
    const char* work = std::getenv("KELBRIN_BENCH_WORK");
    std::string only;
    bool usable = argc % 2 == 1;
    for (int i = 1; usable && i < argc; i += 2) {
        const std::string option = argv[i];
        usable = option == "--only"
                     ? !(only = argv[i + 1]).empty()
                     : option == "--repeat" && (Repeat = std::atoi(argv[i + 1])) >= 1;
    }
    usable = usable && (only.empty() || std::any_of(std::begin(kWorkloads), std::end(kWorkloads),
                                                    [&only](auto& w) { return only == w.first; }));
    if (!usable) {
        std::fputs("usage: kelbrin-bench [--repeat N] [--only WORKLOAD]\n", stderr);
        return 2;
    }
    std::printf("%-11s %-22s %8s %6s  %-34s %-7s %s\n", "workload", "tool", "median s", "ratio",
                "target", "verdict", "peak RSS");
    try {
        // What the program holds before it touches any data: the floor under every workload.
        const Series idle{Run(With(Cli, {"--version"}))};
        for (const auto& [name, workload] : kWorkloads) {
            if (only.empty() || only == name) {
                const fs::path dir = fs::absolute(work ? work : KELBRIN_BENCH_WORK) / name;
                fs::remove_all(dir);
                fs::create_directories(dir);
                workload(name, dir);
                fs::remove_all(dir);
            }
        }
        Row("-", "kelbrin-cli --version", idle, "(RSS floor)");
        return 0;
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "kelbrin-bench: %s\n", error.what());
        return 1;
    }
}
