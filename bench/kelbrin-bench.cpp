// kelbrin-bench: times kelbrin-cli and kelbrin-md5 on generated workloads and reports the
// medians, the ratios against cp, md5sum and xdelta3, and the peak memory. It reports; it does
// not gate: a missed target still exits 0, while a run that fails (or a wrong output) exits 1.
// A workload is a function below and its row in kWorkloads; it works in a folder of its own
// in the work folder, emptied before and removed after.

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "Inputs.h"
#include "Measure.h"
#include "Table.h"

namespace {

using namespace bench;
namespace fs = std::filesystem;

// The largest image a script allows; the digest refuses 2^28 bytes or more, so it is also the
// largest file kelbrin-md5 can digest.
constexpr std::uint64_t kLargest = 0xFFFFFFF;

struct Bench {
    std::string Cli = KELBRIN_BENCH_CLI, Md5 = KELBRIN_BENCH_MD5;
    fs::path Work = KELBRIN_BENCH_WORK;
    int Repeat = 5;
    std::string Cp = SystemTool("cp"), Md5sum = SystemTool("md5sum"), Sync = SystemTool("sync");
    Table Rows;

    std::vector<Series> Measure(const std::vector<Job>& jobs) const {
        return bench::Measure(jobs, Repeat);
    }
};

// The first word of what md5sum or kelbrin-md5 printed, in upper case as a script carries it.
std::string DigestIn(const std::string& printed) {
    std::string digest = printed.substr(0, printed.find_first_of(" \n"));
    for (char& c : digest) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (digest.size() != 32 || digest.find_first_not_of("0123456789ABCDEF") != std::string::npos) {
        throw std::runtime_error("no digest in '" + printed + "'");
    }
    return digest;
}

std::string ScriptDigest(const Bench& b, const fs::path& file) {
    std::string printed;
    Run({b.Md5sum, file}, &printed);
    return DigestIn(printed);
}

// kelbrin-cli prints an MD5 row only when the original's digest differs from the script's.
void RequireNoMD5Row(const std::string& printed) {
    if (printed.find("MD5:") != std::string::npos) {
        throw std::runtime_error("kelbrin-cli found the original's digest wrong: " + printed);
    }
}

// kelbrin-cli's run of the script in dir, which must leave `size` bytes in expanded.bin.
Job CliRun(const Bench& b, const fs::path& dir, std::uint64_t size) {
    return {.Label = "kelbrin-cli",
            .Commands = {{b.Cli, "--remove-header", "--dir", dir}},
            .Output = dir / "expanded.bin",
            .Size = size};
}

// Long COPY and FILL ranges with a few REPLACE lines inside them, from a 128 MiB original to
// the largest image, beside as large a file for cp. With `digest`, the SIZE line carries the
// original's MD5, which the run must find right.
Job PrepareW1(const Bench& b, const fs::path& dir, bool digest) {
    WriteRandomFile(dir / "original.bin", 0x8000000, 1);
    WriteRandomFile(dir / "cp-source.bin", kLargest, 3);
    const std::string size =
        "SIZE\t8000000\tFFFFFFF" + (digest ? "\t" + ScriptDigest(b, dir / "original.bin") : "");
    WriteText(dir / "Kelbrin.txt",
              Script({size, "HEADER\t0", "COPY\t0\t0", "REPLACE\t1000\t4B\t45\t4C\t42",
                      "FILL\t4000000\tFF", "REPLACE\t5000000\t1\t2\t3", "COPY\t6000000\t1000000",
                      "REPLACE\t8000000\tAA\tBB", "FILL\tA000000\t0", "COPY\tC000000\t4000000"}));
    Job run = CliRun(b, dir, kLargest);
    run.Probes = {{0x1000, {0x4B, 0x45, 0x4C, 0x42}},
                  {0x4000000, {0xFF}},
                  {0x5000000, {0x01, 0x02, 0x03, 0xFF}},
                  {0x8000000, {0xAA, 0xBB}},
                  {0xA000000, {0x00}},
                  {0xBFFFFFF, {0x00}}};
    if (digest) {
        run.CheckStdout = RequireNoMD5Row;
    }
    return run;
}

Job PrepareW2(const Bench& b, const fs::path& dir) {
    Job run = CliRun(b, dir, 0x400000);
    run.Probes = WriteLongestScript(dir);
    return run;
}

// The run of W1's script against what a person would do by hand: cp of as many bytes (after
// md5sum of the original when the script carries its digest), and the same followed by a sync
// of the copy, as a run has its file on the disk before the file takes the expanded name.
std::vector<Series> AgainstCopy(Bench& b, const fs::path& dir, const std::string& name,
                                bool digest) {
    const fs::path copy = dir / "cp-destination.bin";
    Job byHand{.Label = digest ? "md5sum + cp" : "cp", .Output = copy, .Size = kLargest};
    if (digest) {
        byHand.Commands.push_back({b.Md5sum, dir / "original.bin"});
    }
    byHand.Commands.push_back({b.Cp, dir / "cp-source.bin", copy});
    Job synced = byHand;
    synced.Label += " + sync";
    synced.Commands.push_back({b.Sync, copy});
    const auto runs = b.Measure({PrepareW1(b, dir, digest), byHand, synced});
    b.Rows.Time(name, byHand.Label, runs[1]);
    b.Rows.Time(name, synced.Label, runs[2]);
    return runs;
}

void W1(Bench& b, const fs::path& dir, const std::string& name) {
    std::printf("W1: generating a 128 MiB original and a %" PRIu64 "-byte file for cp\n", kLargest);
    const auto runs = AgainstCopy(b, dir, name, false);
    const double ratio = Ratio(runs[0], runs[1]), synced = Ratio(runs[0], runs[2]);
    b.Rows.Time(name, "kelbrin-cli", runs[0])
        .Against("time <= 1.3 x cp", Verdict(ratio <= 1.3), ratio);
    b.Rows.Time(name, "kelbrin-cli", runs[0])
        .Against("time <= 1.3 x cp + sync", Verdict(synced <= 1.3), synced);
    b.Rows.Time(name, "kelbrin-cli", runs[0])
        .Against("peak RSS < 16 MiB", Verdict(PeakMiB(runs[0]) < 16));
}

void W1Md5(Bench& b, const fs::path& dir, const std::string& name) {
    std::printf("W1-MD5: W1 with the original's digest on the SIZE line, against md5sum of the "
                "original and cp\n");
    const auto runs = AgainstCopy(b, dir, name, true);
    const double ratio = Ratio(runs[0], runs[1]), synced = Ratio(runs[0], runs[2]);
    b.Rows.Time(name, "kelbrin-cli", runs[0])
        .Against("time <= 1.15 x md5sum + cp", Verdict(ratio <= 1.15), ratio);
    b.Rows.Time(name, "kelbrin-cli", runs[0])
        .Against("time <= 1.15 x ... + sync", Verdict(synced <= 1.15), synced);
}

void W2(Bench& b, const fs::path& dir, const std::string& name) {
    std::printf("W2: generating a 4 MiB original and a script of 32763 directive lines\n");
    std::vector<Job> jobs = {PrepareW2(b, dir)};
#ifdef KELBRIN_BENCH_WINDOW
    // The window reports the run's own time: Qt's start-up is not part of the run.
    std::vector<double> reported;
    jobs.push_back(jobs[0]);
    jobs[1].Label = "window run";
    jobs[1].Commands = {{KELBRIN_BENCH_WINDOW, dir.string()}};
    jobs[1].CheckStdout = [&reported](const std::string& printed) {
        reported.push_back(std::strtod(printed.c_str() + std::strlen("run-seconds "), nullptr));
    };
#endif
    auto runs = b.Measure(jobs);
    b.Rows.Time(name, "kelbrin-cli", runs[0])
        .Against("time < 0.1 s", Verdict(Median(runs[0]) < 0.1));
    b.Rows.Time(name, "kelbrin-cli", runs[0]).Against("peak RSS flat", "info");
#ifdef KELBRIN_BENCH_WINDOW
    for (std::size_t i = 0; i < runs[1].size(); ++i) {
        runs[1][i].Seconds = reported[i + 1]; // the first report is the warm-up's
    }
    const double ratio = Ratio(runs[1], runs[0]);
    b.Rows.Time("W2-window", "run from the window", runs[1])
        .Against("time <= 1.2 x kelbrin-cli", Verdict(ratio <= 1.2), ratio);
#endif
}

// An author's check of a script rehearses both buttons' runs: on the longest script and on the
// largest image, it may cost no more than one run, and it writes nothing.
void AgainstRun(Bench& b, const fs::path& dir, const std::string& name, const Job& run) {
    Job check{.Label = "--check", .Commands = {{b.Cli, "--check", "--dir", dir}}};
    check.CheckStdout = [expanded = run.Output](const std::string& printed) {
        if (printed.find("Expand and Ignore/Remove Header: Expansion Done\n") ==
                std::string::npos ||
            fs::exists(expanded)) {
            throw std::runtime_error("--check did not find the run done, or wrote " +
                                     expanded.string() + ": " + printed.substr(0, 400));
        }
    };
    const auto runs = b.Measure({run, check});
    const double ratio = Ratio(runs[1], runs[0]);
    b.Rows.Time(name, "kelbrin-cli run", runs[0]);
    b.Rows.Time(name, "kelbrin-cli --check", runs[1])
        .Against("time <= 1.0 x the run", Verdict(ratio <= 1.0), ratio);
}

void CheckLines(Bench& b, const fs::path& dir, const std::string& name) {
    std::printf("C-LINES: --check of W2's script, against the run itself\n");
    AgainstRun(b, dir, name, PrepareW2(b, dir));
}

void CheckImage(Bench& b, const fs::path& dir, const std::string& name) {
    std::printf("C-IMAGE: --check of W1-MD5's script, against the run itself\n");
    AgainstRun(b, dir, name, PrepareW1(b, dir, true));
}

void M1(Bench& b, const fs::path& dir, const std::string& name) {
    std::printf("M1: generating a %" PRIu64 "-byte file, digested by kelbrin-md5 and md5sum\n",
                kLargest);
    const fs::path file = dir / "data.bin";
    WriteRandomFile(file, kLargest, 5);
    // Every run of either tool must print the digest the first run printed.
    std::string digest;
    const auto agrees = [&digest](const std::string& printed) {
        digest = digest.empty() ? DigestIn(printed) : digest;
        if (DigestIn(printed) != digest) {
            throw std::runtime_error("the digests differ: " + printed + " and " + digest);
        }
    };
    const auto runs =
        b.Measure({{.Label = "kelbrin-md5", .Commands = {{b.Md5, file}}, .CheckStdout = agrees},
                   {.Label = "md5sum", .Commands = {{b.Md5sum, file}}, .CheckStdout = agrees}});
    // Both read the same bytes, so the ratio of the times is the ratio of throughputs.
    const double ratio = Ratio(runs[1], runs[0]);
    const double mib = static_cast<double>(kLargest) / (1024.0 * 1024.0);
    std::printf("  digest %s; kelbrin-md5 %.0f MiB/s, md5sum %.0f MiB/s\n", digest.c_str(),
                mib / Median(runs[0]), mib / Median(runs[1]));
    b.Rows.Time(name, "md5sum", runs[1]);
    b.Rows.Time(name, "kelbrin-md5", runs[0])
        .Against("throughput >= 0.9 x md5sum", Verdict(ratio >= 0.9), ratio);
}

// The largest original a script allows, with its digest to check and one COPY of it all: the
// run reads the whole file twice, once for the digest and once for the copy.
void M2(Bench& b, const fs::path& dir, const std::string& name) {
    std::printf("M2: generating a %" PRIu64 "-byte original with its digest on the SIZE line\n",
                kLargest);
    WriteRandomFile(dir / "original.bin", kLargest, 6);
    WriteText(dir / "Kelbrin.txt",
              Script({"SIZE\tFFFFFFF\tFFFFFFF\t" + ScriptDigest(b, dir / "original.bin"),
                      "HEADER\t0", "COPY\t0\t0"}));
    Job run = CliRun(b, dir, kLargest);
    // The generator's first word opens the copy.
    const std::uint64_t first = Random(6).Next();
    run.Probes = {{0, std::vector<std::uint8_t>(8)}};
    std::memcpy(run.Probes[0].Bytes.data(), &first, sizeof first);
    run.CheckStdout = RequireNoMD5Row;
    const auto runs = b.Measure({run});
    b.Rows.Time(name, "kelbrin-cli", runs[0])
        .Against("peak RSS < 16 MiB", Verdict(PeakMiB(runs[0]) < 16));
}

void I1(Bench& b, const fs::path& dir, const std::string& name) {
    std::printf("I1: --info on a %" PRIu64 "-byte image with a 512-byte header, against md5sum "
                "of the file\n",
                kLargest);
    WriteRandomFile(dir / "original.bin", kLargest + 0x200, 7);
    WriteText(dir / "Kelbrin.txt", Script({"SIZE\tFFFFFFF\tFFFFFFF", "HEADER\t200"}));
    // Every run must find the header and print the whole file's MD5 as md5sum does.
    std::string digest;
    const Job info{.Label = "kelbrin-cli --info",
                   .Commands = {{b.Cli, "--info", "--dir", dir}},
                   .CheckStdout = [&digest](const std::string& printed) {
                       const std::size_t at = printed.find("File MD5: ");
                       if (printed.find("Header: 512 bytes") == std::string::npos ||
                           at == std::string::npos) {
                           throw std::runtime_error("--info printed: " + printed);
                       }
                       digest = printed.substr(at + 10, 32);
                   }};
    const auto runs =
        b.Measure({info, {.Label = "md5sum", .Commands = {{b.Md5sum, dir / "original.bin"}}}});
    const double ratio = Ratio(runs[0], runs[1]);
    std::printf("  the whole file's MD5: %s\n", digest.c_str());
    b.Rows.Time(name, "md5sum", runs[1]);
    b.Rows.Time(name, info.Label, runs[0])
        .Against("time <= 1.5 x md5sum", Verdict(ratio <= 1.5), ratio);
    b.Rows.Time(name, info.Label, runs[0])
        .Against("peak RSS < 16 MiB", Verdict(PeakMiB(runs[0]) < 16));
}

// The script's directive lines, once a real run of it beside a copy of the original has
// rebuilt the expanded file.
std::size_t ProvenLines(const Bench& b, const fs::path& dir, const std::string& button) {
    fs::create_directory(dir / "check");
    fs::copy_file(dir / "original.bin", dir / "check" / "original.bin");
    fs::copy_file(dir / "Kelbrin.txt", dir / "check" / "Kelbrin.txt");
    Run({b.Cli, button, "--dir", dir / "check"});
    if (ReadBytes(dir / "check" / "expanded.bin") != ReadBytes(dir / "expanded.bin")) {
        throw std::runtime_error(dir.string() + ": the script does not rebuild the expanded file");
    }
    const std::string text = ReadBytes(dir / "Kelbrin.txt");
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) -
           3; // NAME, SIZE, HEADER
}

// xdelta3's instructions in its printed delta: each row holds one or two of ADD, RUN and CPY_n.
std::size_t DeltaInstructions(const std::string& xdelta3, const fs::path& delta) {
    std::string printed;
    Run({xdelta3, "printdelta", delta}, &printed);
    std::size_t count = 0;
    for (const char* word : {" ADD ", " RUN ", " CPY_"}) {
        for (std::size_t at = 0; (at = printed.find(word, at)) != std::string::npos; ++at) {
            ++count;
        }
    }
    return count;
}

// One pair: kelbrin-cli --make-script against xdelta3 -e, the script proved by a real run.
void MakeScript(Bench& b, const fs::path& dir, const std::string& name) {
    const fs::path original = dir / "original.bin", expanded = dir / "expanded.bin";
    Command make = {b.Cli, "--make-script", original, expanded};
    std::string button = "--remove-header";
    {
        // The pair is freed before the timings: a forked child counts its parent's pages.
        const ScriptPair pair = MakePair(name);
        WriteText(original, pair.Original);
        WriteText(expanded, pair.Expanded);
        if (pair.OriginalHeader != 0) {
            make.insert(make.end(), {"--original-header", Hex(pair.OriginalHeader)});
        }
        if (pair.ExpandedHeader != 0) {
            make.insert(make.end(), {"--expanded-header", Hex(pair.ExpandedHeader)});
            button = "--add-header";
        }
    }
    make.insert(make.end(), {"--output", dir / "Kelbrin.txt", "--force"});
    const double inputMiB =
        static_cast<double>(fs::file_size(original) + fs::file_size(expanded)) / (1024.0 * 1024.0);
    std::printf("%s: %.1f MiB original and expanded file\n", name.c_str(), inputMiB);
    const std::string xdelta3 = SystemTool("xdelta3");
    const Command encode = {xdelta3, "-e", "-f", "-s", original, expanded, dir / "delta.vcdiff"};
    const auto runs = b.Measure({{.Label = "--make-script", .Commands = {make}},
                                 {.Label = "xdelta3 -e", .Commands = {encode}}});
    const std::size_t lines = ProvenLines(b, dir, button);
    const std::size_t instructions = DeltaInstructions(xdelta3, dir / "delta.vcdiff");
    const double ratio = Ratio(runs[0], runs[1]);
    const double perInstruction = static_cast<double>(lines) / static_cast<double>(instructions);
    const double peakLimit = inputMiB + 64;
    b.Rows.Time(name, "xdelta3 -e", runs[1])
        .Against(std::to_string(instructions) + " instructions", "-");
    b.Rows.Time(name, "--make-script", runs[0])
        .Against("time <= 1.0 x xdelta3", Verdict(ratio <= 1.0), ratio);
    b.Rows.Time(name, "--make-script", runs[0])
        .Against("lines <= 1.5 x instructions", Verdict(perInstruction <= 1.5), perInstruction)
        .Median = std::to_string(lines) + " lines";
    b.Rows.Time(name, "--make-script", runs[0])
        .Against("peak <= files + 64 = " + Fixed(peakLimit, 0) + " MiB",
                 Verdict(PeakMiB(runs[0]) <= peakLimit));
}

// In the order they run.
using Workload = void (*)(Bench&, const fs::path&, const std::string&);
// clang-format off
constexpr std::pair<const char*, Workload> kWorkloads[] = {
    {"W1", W1}, {"W2", W2}, {"C-LINES", CheckLines}, {"C-IMAGE", CheckImage}, {"W1-MD5", W1Md5},
    {"M1", M1}, {"M2", M2}, {"I1", I1}, {"S-GROW", MakeScript}, {"S-BANKS", MakeScript},
    {"S-MOVES", MakeScript}, {"S-HEADER", MakeScript}, {"S-COPIER", MakeScript},
    {"S-UNRELATED", MakeScript}, {"S-SCATTERED", MakeScript}};
// clang-format on

int RunWorkloads(Bench& b, const std::string& only) {
    for (const std::string& program : {b.Cli, b.Md5}) {
        if (::access(program.c_str(), X_OK) != 0) {
            throw std::runtime_error("cannot run " + program);
        }
    }
    b.Work = fs::absolute(b.Work);
    std::printf("kelbrin-bench: %s, %d timed runs each (after one warm-up), work in %s\n",
                b.Cli.c_str(), b.Repeat, b.Work.c_str());
    // What the program holds before it touches any data: the floor under every workload.
    const Series idle{Run({b.Cli, "--version"})};
    for (const auto& [name, workload] : kWorkloads) {
        if (only.empty() || only == name) {
            const fs::path dir = b.Work / name;
            fs::remove_all(dir);
            fs::create_directories(dir);
            workload(b, dir, name);
            fs::remove_all(dir);
        }
    }
    b.Rows.Time("-", "kelbrin-cli --version", idle).Against("(RSS floor)", "-");
    b.Rows.Print();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // progress shows even through a pipe
    Bench b;
    std::string only;
    bool usable = argc % 2 == 1;
    for (int i = 1; usable && i < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--cli" || option == "--md5") {
            (option == "--cli" ? b.Cli : b.Md5) = value;
        } else if (option == "--work") {
            b.Work = value;
        } else if (option == "--repeat") {
            usable = (b.Repeat = std::atoi(value.c_str())) >= 1;
        } else {
            only = value;
            usable =
                option == "--only" && std::any_of(std::begin(kWorkloads), std::end(kWorkloads),
                                                  [&](const auto& w) { return only == w.first; });
        }
    }
    if (!usable) {
        std::string names;
        for (const auto& workload : kWorkloads) {
            names += (names.empty() ? "" : "|") + std::string(workload.first);
        }
        std::fprintf(stderr,
                     "usage: kelbrin-bench [--cli PATH] [--md5 PATH] [--work DIR] "
                     "[--repeat N] [--only %s]\n",
                     names.c_str());
        return 2;
    }
    try {
        return RunWorkloads(b, only);
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "kelbrin-bench: %s\n", error.what());
        return 1;
    }
}
