// kelbrin-bench: times kelbrin-cli, kelbrin-md5 and a run from the window on generated
// workloads, and prints a row for each tool and each target as it is measured: the median, the
// ratio against cp, md5sum or xdelta3, and the peak memory. It reports; it does not gate: a
// missed target still exits 0, while a run that fails (or a wrong output) exits 1. A workload is
// a function below and its row in kWorkloads; it works in a folder of its own in the work
// folder, emptied before and removed after. --cli and --window take command lines, so that the
// Windows programs can be timed under Wine.

#include <map>
#include <sstream>

#include "Inputs.h"
#include "Measure.h"

namespace {

using namespace bench;
namespace fs = std::filesystem;

// The largest image a script allows; the digest refuses 2^28 bytes or more, so it is also the
// largest file kelbrin-md5 can digest.
constexpr std::uint64_t kLargest = 0xFFFFFFF;

CommandLine Cli{KELBRIN_BENCH_CLI}, Md5{KELBRIN_BENCH_MD5};
CommandLine Window = *KELBRIN_BENCH_WINDOW ? CommandLine{KELBRIN_BENCH_WINDOW} : CommandLine{};
int Repeat = 5;

CommandLine With(CommandLine command, const std::vector<std::string>& arguments) {
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

std::vector<Series> Measure(const std::vector<Job>& jobs) {
    return bench::Measure(Repeat, jobs);
}

// The digest md5sum or kelbrin-md5 printed first, in upper case as a script carries it.
std::string DigestIn(std::string printed) {
    printed.resize(std::min<std::size_t>(printed.size(), 32));
    std::transform(printed.begin(), printed.end(), printed.begin(), ::toupper);
    return printed;
}

std::string Digest(const fs::path& file) {
    std::string printed;
    Run({"md5sum", file}, &printed);
    return DigestIn(printed);
}

// kelbrin-cli prints an MD5 row only when the original's digest differs from the script's.
void RequireNoMD5Row(const std::string& printed) {
    if (printed.find("MD5:") != std::string::npos) {
        throw std::runtime_error("kelbrin-cli found the original's digest wrong: " + printed);
    }
}

// kelbrin-cli's run of the script in dir, which must leave `size` bytes in expanded.bin.
Job CliRun(const fs::path& dir, std::uint64_t size, std::vector<Probe> probes) {
    return {.Label = "kelbrin-cli",
            .Command = With(Cli, {"--remove-header", "--dir", dir}),
            .Output = dir / "expanded.bin",
            .Size = size,
            .Probes = std::move(probes)};
}

// Long COPY and FILL ranges with a few REPLACE lines inside them, from a 128 MiB original to
// the largest image, beside as large a file for cp. With `digest`, the SIZE line carries the
// original's MD5.
Job PrepareW1(const fs::path& dir, bool digest) {
    WriteText(dir / "original.bin", RandomBytes(0x8000000, 1));
    WriteText(dir / "cp-source.bin", RandomBytes(kLargest, 3));
    const std::string size =
        "SIZE\t8000000\tFFFFFFF" + (digest ? "\t" + Digest(dir / "original.bin") : "");
    WriteText(dir / "Kelbrin.txt",
              Script({size, "HEADER\t0", "COPY\t0\t0", "REPLACE\t1000\t4B\t45\t4C\t42",
                      "FILL\t4000000\tFF", "REPLACE\t5000000\t1\t2\t3", "COPY\t6000000\t1000000",
                      "REPLACE\t8000000\tAA\tBB", "FILL\tA000000\t0", "COPY\tC000000\t4000000"}));
    Job run = CliRun(dir, kLargest,
                     {{0x1000, {0x4B, 0x45, 0x4C, 0x42}},
                      {0x4000000, {0xFF}},
                      {0x5000000, {0x01, 0x02, 0x03, 0xFF}},
                      {0x8000000, {0xAA, 0xBB}},
                      {0xA000000, {0x00}},
                      {0xBFFFFFF, {0x00}}});
    run.CheckStdout = digest ? RequireNoMD5Row : nullptr;
    return run;
}

// The run of W1's script against what a person would do by hand: cp of as many bytes (after
// md5sum of the original when the script carries its digest), and the same followed by a sync
// of the copy, as a run has its file on the disk before the file takes the expanded name.
Series AgainstCopy(const fs::path& dir, const std::string& name, bool digest, double limit) {
    std::vector<Job> jobs = {PrepareW1(dir, digest)};
    for (const char* sync : {"", " && sync \"$3\""}) {
        jobs.push_back(
            {.Label = (digest ? "md5sum + cp" : "cp") + std::string(*sync ? " + sync" : ""),
             .Command = {"sh", "-c",
                         (digest ? "md5sum \"$1\" && " : "") + std::string("cp \"$2\" \"$3\"") +
                             sync,
                         "sh", dir / "original.bin", dir / "cp-source.bin", dir / "copy.bin"},
             .Output = dir / "copy.bin",
             .Size = kLargest});
    }
    const auto runs = Measure(jobs);
    for (std::size_t i : {1, 2}) {
        const double ratio = Median(runs[0]) / Median(runs[i]);
        Row(name, jobs[i].Label, runs[i]);
        Row(name, "kelbrin-cli", runs[0],
            "time <= " + std::to_string(limit).substr(0, 4) + " x " + jobs[i].Label,
            Verdict(ratio <= limit), ratio);
    }
    return runs[0];
}

void W1(const fs::path& dir, const std::string& name) {
    const Series run = AgainstCopy(dir, name, false, 1.3);
    Row(name, "kelbrin-cli", run, "peak RSS < 16 MiB", Verdict(PeakMiB(run) < 16));
}

void W1Md5(const fs::path& dir, const std::string& name) {
    AgainstCopy(dir, name, true, 1.15);
}

// The longest script, run by kelbrin-cli and from the window. The window prints the run's own
// time, from the click to the controls enabled again, without its toolkit's start (and on
// Windows that start); so it is held against kelbrin-cli's time less that of a start
// (--version), which Wine makes long.
void W2(const fs::path& dir, const std::string& name) {
    std::vector<Job> jobs = {CliRun(dir, 0x400000, WriteLongestScript(dir)),
                             {.Label = "--version", .Command = With(Cli, {"--version"})}};
    std::map<std::string, std::vector<double>> printed; // each time's word and its values
    if (!Window.empty()) {
        jobs.push_back(jobs[0]);
        jobs[2].Command = With(Window, {dir});
        jobs[2].CheckStdout = [&printed](const std::string& text) {
            std::istringstream words(text);
            std::string word;
            for (double value = 0; words >> word >> value;) {
                printed[word].push_back(value);
            }
        };
    }
    const auto runs = Measure(jobs);
    Row(name, "kelbrin-cli", runs[0], "time < 0.1 s", Verdict(Median(runs[0]) < 0.1));
    Row(name, "kelbrin-cli", runs[0], "peak RSS flat", "info");
    Row(name, "kelbrin-cli --version", runs[1]);
    if (!Window.empty() && printed["run-seconds"].size() != runs[2].size() + 1) {
        throw std::runtime_error("the window did not print its run-seconds");
    }
    for (const auto& [word, values] : printed) {
        Series window = runs[2]; // the values without the warm-up's
        for (std::size_t i = 0; i < window.size() && i + 1 < values.size(); ++i) {
            window[i].Seconds = values[i + 1];
        }
        const double ratio = Median(window) / (Median(runs[0]) - Median(runs[1]));
        if (word == "run-seconds") {
            Row("W2-window", "run from the window", window, "time <= 1.2 x kelbrin-cli's run",
                Verdict(ratio > 0 && ratio <= 1.2), ratio);
        } else {
            Row("W2-window", word, window, "-", "info");
        }
    }
}

// An author's check of a script rehearses both buttons' runs: on the longest script and on the
// largest image, it may cost no more than one run, and it writes nothing.
void AgainstRun(const fs::path& dir, const std::string& name, const Job& run) {
    const Job check{.Label = "--check",
                    .Command = With(Cli, {"--check", "--dir", dir}),
                    .CheckStdout = [expanded = run.Output](const std::string& printed) {
                        if (printed.find("Remove Header: Expansion Done\n") == std::string::npos ||
                            fs::exists(expanded)) {
                            throw std::runtime_error(
                                "--check did not find the run done, or wrote " + expanded.string() +
                                ": " + printed.substr(0, 400));
                        }
                    }};
    const auto runs = Measure({run, check});
    const double ratio = Median(runs[1]) / Median(runs[0]);
    Row(name, "kelbrin-cli run", runs[0]);
    Row(name, "kelbrin-cli --check", runs[1], "time <= 1.0 x the run", Verdict(ratio <= 1.0),
        ratio);
}

void CheckLines(const fs::path& dir, const std::string& name) {
    AgainstRun(dir, name, CliRun(dir, 0x400000, WriteLongestScript(dir)));
}

void CheckImage(const fs::path& dir, const std::string& name) {
    AgainstRun(dir, name, PrepareW1(dir, true));
}

// The largest file, digested by kelbrin-md5 and md5sum; every run of either must print the
// digest the first run printed.
void M1(const fs::path& dir, const std::string& name) {
    const fs::path file = dir / "data.bin";
    WriteText(file, RandomBytes(kLargest, 5));
    std::string digest;
    const auto agrees = [&digest](const std::string& printed) {
        digest = digest.empty() ? DigestIn(printed) : digest;
        if (DigestIn(printed) != digest) {
            throw std::runtime_error("the digests differ: " + printed + " and " + digest);
        }
    };
    const auto runs =
        Measure({{.Label = "kelbrin-md5", .Command = With(Md5, {file}), .CheckStdout = agrees},
                 {.Label = "md5sum", .Command = {"md5sum", file}, .CheckStdout = agrees}});
    // Both read the same bytes, so the ratio of the times is the ratio of throughputs.
    const double ratio = Median(runs[1]) / Median(runs[0]);
    Row(name, "md5sum", runs[1]);
    Row(name, "kelbrin-md5", runs[0], "throughput >= 0.9 x md5sum", Verdict(ratio >= 0.9), ratio);
}

// The largest original a script allows, with its digest to check and one COPY of it all: the
// run reads the whole file twice, once for the digest and once for the copy.
void M2(const fs::path& dir, const std::string& name) {
    const std::string original = RandomBytes(kLargest, 6);
    WriteText(dir / "original.bin", original);
    WriteText(dir / "Kelbrin.txt",
              Script({"SIZE\tFFFFFFF\tFFFFFFF\t" + Digest(dir / "original.bin"), "HEADER\t0",
                      "COPY\t0\t0"}));
    Job run = CliRun(dir, kLargest, {{0, {original.begin(), original.begin() + 64}}});
    run.CheckStdout = RequireNoMD5Row;
    const Series runs = Measure({run})[0];
    Row(name, "kelbrin-cli", runs, "peak RSS < 16 MiB", Verdict(PeakMiB(runs) < 16));
}

// --info on the largest image with a 512-byte header, against md5sum of the file: every run must
// find the header and print the whole file's MD5 as md5sum does.
void I1(const fs::path& dir, const std::string& name) {
    const fs::path original = dir / "original.bin";
    WriteText(original, RandomBytes(kLargest + 0x200, 7));
    WriteText(dir / "Kelbrin.txt", Script({"SIZE\tFFFFFFF\tFFFFFFF", "HEADER\t200"}));
    const std::string digest = Digest(original);
    const Job info{.Label = "kelbrin-cli --info",
                   .Command = With(Cli, {"--info", "--dir", dir}),
                   .CheckStdout = [&digest](const std::string& printed) {
                       if (printed.find("Header: 512 bytes") == std::string::npos ||
                           printed.find("File MD5: " + digest) == std::string::npos) {
                           throw std::runtime_error("--info printed: " + printed);
                       }
                   }};
    const auto runs = Measure({info, {.Label = "md5sum", .Command = {"md5sum", original}}});
    const double ratio = Median(runs[0]) / Median(runs[1]);
    Row(name, "md5sum", runs[1]);
    Row(name, info.Label, runs[0], "time <= 1.5 x md5sum", Verdict(ratio <= 1.5), ratio);
    Row(name, info.Label, runs[0], "peak RSS < 16 MiB", Verdict(PeakMiB(runs[0]) < 16));
}

// A number a shell command printed.
double Counted(const std::string& script, const fs::path& file) {
    std::string printed;
    Run({"sh", "-c", script, "sh", file}, &printed);
    return std::stod(printed);
}

// One pair: kelbrin-cli --make-script against xdelta3 -e. The script is proved by a real run
// beside a copy of the original, and its directive lines are counted against xdelta3's
// instructions (each row of its printed delta holds one or two of ADD, RUN and CPY_n).
void MakeScript(const fs::path& dir, const std::string& name) {
    const fs::path original = dir / "original.bin", expanded = dir / "expanded.bin";
    const ScriptPair pair = MakePair(name);
    WriteText(original, pair.Original);
    WriteText(expanded, pair.Expanded);
    const Job make{.Label = "--make-script",
                   .Command = With(Cli, {"--make-script", original, expanded, "--original-header",
                                         Hex(pair.OriginalHeader), "--expanded-header",
                                         Hex(pair.ExpandedHeader), "--output", dir / "Kelbrin.txt",
                                         "--force"})};
    const Job encode{.Label = "xdelta3 -e",
                     .Command = {"xdelta3", "-e", "-f", "-s", original, expanded, dir / "delta"}};
    const auto runs = Measure({make, encode});
    fs::create_directory(dir / "check");
    fs::copy_file(original, dir / "check" / "original.bin");
    fs::copy_file(dir / "Kelbrin.txt", dir / "check" / "Kelbrin.txt");
    Run(With(Cli, {pair.ExpandedHeader != 0 ? "--add-header" : "--remove-header", "--dir",
                   dir / "check"}));
    Run({"cmp", dir / "check" / "expanded.bin", expanded});
    const double lines = Counted("wc -l < \"$1\"", dir / "Kelbrin.txt") - 3; // NAME, SIZE, HEADER
    const double instructions = Counted(
        "xdelta3 printdelta \"$1\" | grep -oE ' (ADD|RUN|CPY_[0-9]+) ' | wc -l", dir / "delta");
    const double ratio = Median(runs[0]) / Median(runs[1]),
                 files =
                     static_cast<double>(pair.Original.size() + pair.Expanded.size()) / (1 << 20);
    Row(name, encode.Label, runs[1],
        std::to_string(static_cast<long>(instructions)) + " instructions");
    Row(name, make.Label, runs[0], "time <= 1.0 x xdelta3", Verdict(ratio <= 1.0), ratio);
    Row(name, make.Label, runs[0],
        std::to_string(static_cast<long>(lines)) + " lines <= 1.5 x instructions",
        Verdict(lines <= 1.5 * instructions), lines / instructions);
    Row(name, make.Label, runs[0],
        "peak <= files + 64 = " + std::to_string(static_cast<int>(files + 64)) + " MiB",
        Verdict(PeakMiB(runs[0]) <= files + 64));
}

// In the order they run.
using Workload = void (*)(const fs::path&, const std::string&);
// clang-format off
constexpr std::pair<const char*, Workload> kWorkloads[] = {
    {"W1", W1}, {"W2", W2}, {"C-LINES", CheckLines}, {"C-IMAGE", CheckImage}, {"W1-MD5", W1Md5},
    {"M1", M1}, {"M2", M2}, {"I1", I1}, {"S-GROW", MakeScript}, {"S-BANKS", MakeScript},
    {"S-MOVES", MakeScript}, {"S-HEADER", MakeScript}, {"S-COPIER", MakeScript},
    {"S-UNRELATED", MakeScript}, {"S-SCATTERED", MakeScript}};
// clang-format on

CommandLine Words(const std::string& line) {
    std::istringstream in(line);
    CommandLine words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // rows show as they come, even through a pipe
    std::string work = KELBRIN_BENCH_WORK;
    std::string only;
    bool usable = argc % 2 == 1;
    for (int i = 1; usable && i < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--cli" || option == "--md5" || option == "--window") {
            (option == "--cli" ? Cli : option == "--md5" ? Md5 : Window) = Words(value);
        } else if (option == "--work" || option == "--only") {
            (option == "--work" ? work : only) = value;
        } else {
            usable = option == "--repeat" && (Repeat = std::atoi(value.c_str())) >= 1;
        }
    }
    if (!usable) {
        std::fputs("usage: kelbrin-bench [--cli COMMAND] [--md5 COMMAND] [--window COMMAND] "
                   "[--work DIR] [--repeat N] [--only WORKLOAD]\n",
                   stderr);
        return 2;
    }
    try {
        // What the program holds before it touches any data: the floor under every workload.
        const Series idle{Run(With(Cli, {"--version"}))};
        for (const auto& [name, workload] : kWorkloads) {
            if (only.empty() || only == name) {
                const fs::path dir = fs::absolute(work) / name;
                fs::remove_all(dir);
                fs::create_directories(dir);
                workload(dir, name);
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
