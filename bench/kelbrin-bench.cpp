// kelbrin-bench: times kelbrin-cli, kelbrin-md5 and a run from the window on generated
// workloads against cp, md5sum and xdelta3, and prints as it goes a row for each tool (median
// time, peak memory) and for each target. It reports; it does not gate: a missed target still
// exits 0, while a run that fails (or a wrong output) exits 1. A workload is a short function in
// kWorkloads, working in a folder of its own, emptied before and removed after; what each one
// times and against what is in docs/ARCHITECTURE.md.

#include <array>
#include <charconv>
#include <cstdlib>
#include <iterator>
#include <random>
#include <sstream>

#include "Measure.h"

namespace {

using namespace bench;
namespace fs = std::filesystem;

// The standard fixes this engine's sequence, so a seed gives the same bytes on every machine.
using Random = std::mt19937_64;

constexpr std::size_t MiB = 1 << 20;
// The largest image a script allows; the digest refuses 2^28 bytes or more, so it is also the
// largest file kelbrin-md5 can digest.
constexpr std::uint64_t kLargest = 0xFFFFFFF;
constexpr std::uint64_t kPatched = 32 * MiB;

std::string RandomBytes(std::size_t size, std::uint64_t seed) {
    Random random(seed);
    std::string bytes(size, '\0');
    std::generate(bytes.begin(), bytes.end(), [&random] { return static_cast<char>(random()); });
    return bytes;
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

fs::path WriteText(const fs::path& path, const std::string& text) {
    if (!(std::ofstream(path, std::ios::binary) << text).flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
    return path;
}

std::string Hex(std::uint64_t value) {
    char text[16];
    return {text, std::to_chars(text, text + sizeof text, value, 16).ptr};
}

// A workload's name, and the folder of its own where it writes its files.
struct Place {
    std::string Name;
    fs::path Dir;
    fs::path operator/(const char* file) const { return Dir / file; }
};

// The script that makes expanded.bin of original.bin, from its lines after NAME.
void WriteScript(const Place& at, const std::vector<std::string>& lines) {
    std::string text = "NAME\toriginal.bin\texpanded.bin\r\n";
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    WriteText(at / "Kelbrin.txt", text);
}

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

// What a shell script prints about a file.
std::string Printed(const std::string& script, const fs::path& file) {
    std::string printed;
    Run({"sh", "-c", script, "sh", file}, &printed);
    return printed;
}

long Number(const std::string& script, const fs::path& file) {
    return std::stol(Printed(script, file));
}

// md5sum's digest of the file, in upper case as a script carries it and kelbrin-md5 prints it.
std::string Digest(const fs::path& file) {
    std::string digest = Printed("md5sum \"$1\"", file).substr(0, 32);
    std::transform(digest.begin(), digest.end(), digest.begin(), ::toupper);
    return digest;
}

// kelbrin-cli's run of the script, which must leave `size` bytes in expanded.bin. With `digest`
// it must print no MD5 row, which it prints only when the original's digest is wrong.
Job CliRun(const Place& at, std::uint64_t size, Probes probes, bool digest) {
    return {.Label = "kelbrin-cli",
            .Command = With(Cli, {"--remove-header", "--dir", at.Dir}),
            .Output = at / "expanded.bin",
            .Size = size,
            .Probes = std::move(probes),
            .Hides = digest ? "MD5:" : ""};
}

// The longest script there may be, on a 4 MiB original: 32,763 COPY, FILL and REPLACE lines by
// chance, one every 80 hex bytes. The last REPLACE lines' bytes prove that a run reached the end.
Job LongestScriptRun(const Place& at) {
    WriteText(at / "original.bin", RandomBytes(0x400000, 2));
    Random random(4);
    std::vector<std::string> lines = {"SIZE\t400000\t400000", "HEADER\t0"};
    Probes probes;
    for (std::uint64_t to = 0; lines.size() < 32765; to += 0x80) { // 32,766 with NAME
        const std::uint64_t kind = to == 0 ? 0 : random() % 3;     // the first may not be a REPLACE
        lines.push_back(std::array{"COPY\t", "FILL\t", "REPLACE\t"}[kind] + Hex(to));
        if (kind < 2) {
            lines.back() += "\t" + Hex(random() % (kind == 0 ? 0x400000 : 256));
            continue;
        }
        std::string& bytes = probes.emplace_back(to, "").second;
        for (std::uint64_t n = 1 + random() % 8; n > 0; --n) {
            bytes += static_cast<char>(random() % 256);
            lines.back() += "\t" + Hex(static_cast<unsigned char>(bytes.back()));
        }
    }
    WriteScript(at, lines);
    return CliRun(at, 0x400000, probes, false);
}

// Long COPY and FILL ranges with a few REPLACE lines inside them, from a 128 MiB original to
// the largest image, beside as large a file for cp. With `digest`, the SIZE line carries the
// original's MD5.
Job LargestImageRun(const Place& at, bool digest) {
    const fs::path original = WriteText(at / "original.bin", RandomBytes(0x8000000, 1));
    WriteText(at / "cp-source.bin", RandomBytes(kLargest, 3));
    WriteScript(at, {"SIZE\t8000000\tFFFFFFF" + (digest ? "\t" + Digest(original) : ""),
                     "HEADER\t0", "COPY\t0\t0", "REPLACE\t1000\t4B\t45\t4C\t42",
                     "FILL\t4000000\tFF", "REPLACE\t5000000\t1\t2\t3", "COPY\t6000000\t1000000",
                     "REPLACE\t8000000\tAA\tBB", "FILL\tA000000\t0", "COPY\tC000000\t4000000"});
    const std::string zero(1, '\0');
    return CliRun(at, kLargest,
                  {{0x1000, "KELB"},
                   {0x4000000, "\xFF"},
                   {0x5000000, "\x01\x02\x03\xFF"},
                   {0x8000000, "\xAA\xBB"},
                   {0xA000000, zero},
                   {0xBFFFFFF, zero}},
                  digest);
}

// cp of a file to copy.bin, as a person would copy it by hand, after the command line `before`
// if any and, with `sync`, followed by a sync of the copy, as kelbrin-cli has its files on the
// disk before they take their names.
Job Copy(const Place& at, const std::string& label, const std::string& file, std::uint64_t size,
         bool sync, const CommandLine& before) {
    const std::string copy = " \"$0/copy.bin\"";
    // sh gets the folder as $0 and the command line to run before as its arguments.
    return {.Label = label + (sync ? " + sync" : ""),
            .Command = With({"sh", "-c",
                             "\"$@\" > /dev/null && cp \"$0/" + file + "\"" + copy +
                                 (sync ? " && sync" + copy : ""),
                             at.Dir},
                            before),
            .Output = at / "copy.bin",
            .Size = size};
}

// The run of the largest image against cp of as many bytes (after md5sum of the original when
// the script carries its digest), and the same followed by a sync of the copy.
Timing AgainstCopy(const Place& at, bool digest, const std::string& limit) {
    const CommandLine md5sum = digest ? CommandLine{"md5sum", at / "original.bin"} : CommandLine{};
    const std::string cp = digest ? "md5sum + cp" : "cp";
    Timing timing = Measure(at.Name, {LargestImageRun(at, digest),
                                      Copy(at, cp, "cp-source.bin", kLargest, false, md5sum),
                                      Copy(at, cp, "cp-source.bin", kLargest, true, md5sum)});
    timing.TimeAtMost(0, 1, limit);
    timing.TimeAtMost(0, 2, limit);
    return timing;
}

// An author's check of a script rehearses both buttons' runs: on the longest script and on the
// largest image, it may cost no more than one run, and it writes nothing.
void AgainstRun(const Place& at, const Job& run) {
    const Job check{.Label = "kelbrin-cli --check",
                    .Command = With(Cli, {"--check", "--dir", at.Dir}),
                    .Absent = run.Output,
                    .Prints = {"Remove Header: Expansion Done\n"}};
    Measure(at.Name, {run, check}).TimeAtMost(1, 0, "1.0", "the run");
}

// A BPS patch of a 32 MiB ROM-like original that changes 64 bytes in its middle, applied by
// --apply or (`run`) by a run that expands the original as it is, against cp of the patched ROM
// and a sync of the copy, after that run without the patch when there is one.
void PatchAgainstCopy(const Place& at, bool run) {
    std::string target = RomLike(kPatched, run ? 9 : 8);
    const fs::path original = WriteText(at / "original.bin", target);
    std::fill_n(target.begin() + kPatched / 2, 64, '\xEA');
    const fs::path patch = at / "hack.bps";
    Run(With(Cli,
             {"--make-patch", original, WriteText(at / "target.bin", target), "--output", patch}));
    WriteScript(at, {"SIZE\t2000000\t2000000", "HEADER\t0", "COPY\t0\t0"});
    const CommandLine expand = With(Cli, {"--remove-header", "--dir", at.Dir});
    const fs::path output = at / (run ? "hack.bin" : "patched.bin");
    const Job patched{
        .Label = run ? "kelbrin-cli --patch" : "kelbrin-cli --apply",
        .Command = run ? With(expand, {"--patch", patch})
                       : With(Cli, {"--apply", patch, original, "--output", output, "--force"}),
        .Output = output,
        .Size = kPatched,
        .Probes = {{kPatched / 2, std::string(64, '\xEA')}}};
    const Timing timing =
        Measure(at.Name, {patched, Copy(at, run ? "run + cp" : "cp", "target.bin", kPatched, true,
                                        run ? expand : CommandLine{})});
    timing.TimeAtMost(0, 1, "1.2");
    timing.PeakBelow(0, 2 * 32 + 16, "2 x 32 MiB + 16 MiB");
}

// kelbrin-cli making a script (with the headers the files carry) or else a BPS patch of a pair
// of files, against xdelta3 -e on the same pair, in time and in the size of what each made.
// The script is proved by a real run beside the original, the patch by --apply of it to the
// original, and each is measured against xdelta3's delta: the script's directive lines against
// its instructions (each row of its printed delta holds one or two of ADD, RUN and CPY_n), the
// patch's bytes against its bytes without the second compression.
void AgainstXdelta(const Place& at, bool script, const std::string& original,
                   const std::string& expanded, unsigned originalHeader = 0,
                   unsigned expandedHeader = 0) {
    const fs::path check = at / "check";
    const fs::path made = at / (script ? "Kelbrin.txt" : "made.bps");
    fs::create_directory(check);
    const fs::path from = WriteText(check / "source.bin", original);
    const fs::path to = WriteText(at / "target.bin", expanded);
    const std::string option = script ? "--make-script" : "--make-patch";
    CommandLine make = With(Cli, {option, from, to, "--output", made, "--force"});
    if (script) {
        make = With(make, {"--original-header", Hex(originalHeader), "--expanded-header",
                           Hex(expandedHeader)});
    }
    const Timing timing =
        Measure(at.Name, {{option, make},
                          {"xdelta3 -e", {"xdelta3", "-e", "-f", "-s", from, to, at / "delta"}}});
    long ours = 0; // what it made, in directive lines or bytes, and what xdelta3 made
    long theirs = 0;
    if (script) {
        fs::copy_file(made, check / "Kelbrin.txt");
        Run(With(Cli, {expandedHeader != 0 ? "--add-header" : "--remove-header", "--dir", check}));
        ours = Number("wc -l < \"$1\"", made) - 3; // NAME, SIZE, HEADER
        theirs = Number("xdelta3 printdelta \"$1\" | grep -oE ' (ADD|RUN|CPY_[0-9]+) ' | wc -l",
                        at / "delta");
    } else {
        Run(With(Cli, {"--apply", made, from, "--output", check / "target.bin"}));
        Run({"xdelta3", "-S", "none", "-e", "-f", "-s", from, to, at / "plain"});
        ours = static_cast<long>(fs::file_size(made));
        theirs = static_cast<long>(fs::file_size(at / "plain"));
    }
    Run({"cmp", check / "target.bin", to});
    const long limit = static_cast<long>((original.size() + expanded.size()) >> 20) + 64;
    timing.TimeAtMost(0, 1, "1.0", "xdelta3");
    timing.Target(0,
                  std::to_string(ours) + (script ? " lines <= 1.5 x " : " B <= 1.05 x ") +
                      std::to_string(theirs) + (script ? " instr." : " B"),
                  static_cast<double>(ours) <= (script ? 1.5 : 1.05) * static_cast<double>(theirs),
                  static_cast<double>(ours) / static_cast<double>(theirs));
    timing.Target(0, "peak <= files + 64 = " + std::to_string(limit) + " MiB",
                  PeakMiB(timing.Runs[0]) <= static_cast<double>(limit));
}

// A ROM-like image and a hack of it, made into a patch.
void HackAgainstXdelta(const Place& at, std::size_t size, std::uint64_t seed, std::size_t edits,
                       std::size_t moves) {
    const std::string rom = RomLike(size, seed);
    AgainstXdelta(at, false, rom, Hacked(rom, edits, moves, seed + 1));
}

// The workloads, in the order they run.
const std::pair<const char*, void (*)(const Place&)> kWorkloads[] = {
    {"W1", [](const Place& at) { AgainstCopy(at, false, "1.3").PeakBelow(0, 16, "16 MiB"); }},
    // The longest script, run by kelbrin-cli and from the window, and the window's start-up. The
    // window prints the run's own time, from the click to the controls enabled again, so it is
    // held against kelbrin-cli's time less that of its start (--version), which Wine makes long.
    {"W2",
     [](const Place& at) {
         Job run = LongestScriptRun(at);
         std::vector<Job> jobs = {run, {"--version", With(Cli, {"--version"})}};
         if (!Window.empty()) {
             run.Label = "run from the window";
             run.Command = With(Window, {at.Dir});
             run.Prints = {"run-seconds "};
             jobs.insert(jobs.end(), {run, {"window shown", With(Window, {at.Dir, "--shown"})}});
         }
         const Timing timing = Measure(at.Name, jobs);
         const auto& runs = timing.Runs;
         timing.Target(0, "time < 0.1 s", Median(runs[0]) < 0.1);
         if (!Window.empty()) {
             const double ratio = Median(runs[2]) / (Median(runs[0]) - Median(runs[1]));
             Row("W2-window", run.Label, runs[2], "time <= 1.2 x kelbrin-cli's run",
                 ratio > 0 && ratio <= 1.2, ratio);
         }
     }},
    {"C-LINES", [](const Place& at) { AgainstRun(at, LongestScriptRun(at)); }},
    {"C-IMAGE", [](const Place& at) { AgainstRun(at, LargestImageRun(at, true)); }},
    {"W1-MD5", [](const Place& at) { AgainstCopy(at, true, "1.15"); }},
    // The largest file, digested by kelbrin-md5 and md5sum; kelbrin-md5 must print what md5sum
    // does. Both read the same bytes, so the ratio of the times is the ratio of throughputs.
    {"M1",
     [](const Place& at) {
         const fs::path file = WriteText(at / "data.bin", RandomBytes(kLargest, 5));
         const Timing timing = Measure(at.Name, {{.Label = "kelbrin-md5",
                                                  .Command = {KELBRIN_BENCH_MD5, file},
                                                  .Prints = {Digest(file)}},
                                                 {"md5sum", {"md5sum", file}}});
         const double ratio = Median(timing.Runs[1]) / Median(timing.Runs[0]);
         timing.Target(0, "throughput >= 0.9 x md5sum", ratio >= 0.9, ratio);
     }},
    // The largest original a script allows, with its digest to check and one COPY of it all: the
    // run reads the whole file twice, once for the digest and once for the copy.
    {"M2",
     [](const Place& at) {
         const std::string original = RandomBytes(kLargest, 6);
         const std::string digest = Digest(WriteText(at / "original.bin", original));
         WriteScript(at, {"SIZE\tFFFFFFF\tFFFFFFF\t" + digest, "HEADER\t0", "COPY\t0\t0"});
         Measure(at.Name, {CliRun(at, kLargest, {{0, original.substr(0, 64)}}, true)})
             .PeakBelow(0, 16, "16 MiB");
     }},
    // --info on the largest image with a 512-byte header, against md5sum of the file: every run
    // must find the header and print the whole file's MD5 as md5sum does.
    {"I1",
     [](const Place& at) {
         const fs::path original = WriteText(at / "original.bin", RandomBytes(kLargest + 0x200, 7));
         WriteScript(at, {"SIZE\tFFFFFFF\tFFFFFFF", "HEADER\t200"});
         const Timing timing =
             Measure(at.Name, {{.Label = "kelbrin-cli --info",
                                .Command = With(Cli, {"--info", "--dir", at.Dir}),
                                .Prints = {"Header: 512 bytes", "File MD5: " + Digest(original)}},
                               {"md5sum", {"md5sum", original}}});
         timing.TimeAtMost(0, 1, "1.5");
         timing.PeakBelow(0, 16, "16 MiB");
     }},
    {"S-GROW",
     [](const Place& at) {
         const std::string original = RomLike(MiB, 11);
         std::string expanded = original + std::string(3 * MiB, '\xFF');
         expanded[0x1234] = '\x60';
         expanded[0x54321] = '\xEA';
         AgainstXdelta(at, true, original, expanded);
     }},
    {"S-BANKS",
     [](const Place& at) {
         const std::string original = RomLike(2 * MiB, 12);
         std::string expanded;
         for (std::size_t bank = 0, size = 32 * 1024; bank < 64; ++bank) {
             expanded += original.substr(bank * size, size) +
                         original.substr((bank + 32) % 64 * size, size);
         }
         AgainstXdelta(at, true, original, expanded);
     }},
    {"S-MOVES",
     [](const Place& at) {
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
         AgainstXdelta(at, true, original, Scattered(std::move(expanded), 2000, 15));
     }},
    {"S-HEADER",
     [](const Place& at) {
         const std::string image = RomLike(MiB / 2, 16);
         AgainstXdelta(at, true, "NES\x1A" + std::string(12, '\x01') + image,
                       std::string("NES\x1A\x20\x10\x40", 7) + std::string(9, '\0') + image +
                           std::string(MiB / 2, '\xFF'),
                       16, 16);
     }},
    {"S-COPIER",
     [](const Place& at) {
         const std::string image = RomLike(2 * MiB, 17);
         AgainstXdelta(at, true, '\x40' + std::string(511, '\0') + image,
                       Scattered(image + image.substr(0, MiB) + std::string(MiB, '\0'), 16, 18),
                       512);
     }},
    {"S-UNRELATED",
     [](const Place& at) { AgainstXdelta(at, true, RandomBytes(MiB, 19), RandomBytes(MiB, 20)); }},
    {"S-SCATTERED",
     [](const Place& at) {
         const std::string original = RandomBytes(4 * MiB, 21);
         AgainstXdelta(at, true, original, Scattered(original, 100000, 22));
     }},
    {"P-APPLY", [](const Place& at) { PatchAgainstCopy(at, false); }},
    {"P-RUN", [](const Place& at) { PatchAgainstCopy(at, true); }},
    {"P-4M", [](const Place& at) { HackAgainstXdelta(at, 4 * MiB, 31, 3000, 30); }},
    {"P-32M", [](const Place& at) { HackAgainstXdelta(at, 32 * MiB, 33, 8000, 40); }},
    {"P-INSERT",
     [](const Place& at) {
         const std::string rom = RomLike(4 * MiB, 35);
         const std::string inserted =
             rom.substr(0, 2 * MiB) + RandomBytes(64 * 1024, 36) + rom.substr(2 * MiB);
         AgainstXdelta(at, false, rom, Hacked(inserted, 500, 0, 37));
     }},
    {"P-UNRELATED",
     [](const Place& at) {
         AgainstXdelta(at, false, RandomBytes(4 * MiB, 38), RandomBytes(4 * MiB, 39));
     }},
    {"P-HUGE", [](const Place& at) { HackAgainstXdelta(at, kLargest, 40, 2000, 20); }}};

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
                const Place at{name, fs::absolute(work ? work : KELBRIN_BENCH_WORK) / name};
                fs::remove_all(at.Dir);
                fs::create_directories(at.Dir);
                workload(at);
                fs::remove_all(at.Dir);
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
