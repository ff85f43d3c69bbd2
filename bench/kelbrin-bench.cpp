// kelbrin-bench: times kelbrin-cli and kelbrin-md5 on generated workloads and reports the
// medians, the ratios against cp and md5sum and the peak memory. It reports; it does not gate:
// a missed target still exits 0, while a run that fails (or a wrong output) exits 1.

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kW1OriginalSize = 0x8000000; // 128 MiB
constexpr std::uint64_t kW1FinalSize = 0xFFFFFFF;    // the largest image a script allows
constexpr std::uint64_t kW2OriginalSize = 0x400000;  // 4 MiB
constexpr std::uint64_t kW2FinalSize = 0x400000;
constexpr std::uint64_t kW2Step = 0x80;  // 32,763 lines x 80 hex stays inside 4 MiB
constexpr int kW2DirectiveLines = 32763; // the most a script may hold (32,766 lines in all)
constexpr double kW1MaxRatio = 1.3;
constexpr double kW1MaxRssMiB = 16.0;
constexpr double kW2MaxSeconds = 0.1;
#ifdef KELBRIN_BENCH_WINDOW
constexpr double kW2MaxWindowRatio = 1.2;
#endif
// The digest refuses 2^28 bytes or more, so the largest original a script allows is also
// the largest file kelbrin-md5 can digest.
constexpr std::uint64_t kM1FileSize = 0xFFFFFFF;
constexpr double kM1MinThroughputRatio = 0.9;
constexpr double kW1Md5MaxRatio = 1.15;
constexpr std::uint64_t kM2OriginalSize = 0xFFFFFFF;
constexpr double kM2MaxRssMiB = 16.0;
// The largest image a script allows behind the largest header in common use (SNES, 200 hex).
constexpr std::uint64_t kI1ImageSize = 0xFFFFFFF;
constexpr std::uint64_t kI1HeaderSize = 0x200;
constexpr double kI1MaxRatio = 1.5;
constexpr double kI1MaxRssMiB = 16.0;
// The script maker against a delta encoder on the same pair.
constexpr double kScriptMaxTimeRatio = 1.0;
constexpr double kScriptMaxLineRatio = 1.5;
constexpr double kScriptMemoryMarginMiB = 64.0;
// An author's check of a script against a run of it.
constexpr double kCheckMaxRatio = 1.0;
constexpr const char* kWorkloads[] = {
    "W1",     "W2",      "W1-MD5",  "M1",       "M2",       "I1",          "C-LINES",    "C-IMAGE",
    "S-GROW", "S-BANKS", "S-MOVES", "S-HEADER", "S-COPIER", "S-UNRELATED", "S-SCATTERED"};

std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

struct Options {
    std::string Cli = KELBRIN_BENCH_CLI;
    std::string Md5 = KELBRIN_BENCH_MD5;
    std::string Work = KELBRIN_BENCH_WORK;
    int Repeat = 5;
    std::string Only; // empty: every workload

    bool Runs(const char* workload) const { return Only.empty() || Only == workload; }
};

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

void WriteAll(int fd, const void* data, std::size_t size, const fs::path& path) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            throw std::runtime_error(SystemError("cannot write " + path.string()));
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
}

int CreateFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        throw std::runtime_error(SystemError("cannot create " + path.string()));
    }
    return fd;
}

void WriteText(const fs::path& path, const std::string& text) {
    const int fd = CreateFile(path);
    WriteAll(fd, text.data(), text.size(), path);
    ::close(fd);
}

void WriteRandomFile(const fs::path& path, std::uint64_t size, std::uint64_t seed) {
    // A small static buffer keeps this process lean: a forked child starts as a copy of our
    // anonymous pages, and Linux counts that copy in the child's ru_maxrss.
    static std::array<std::uint64_t, 8192> buffer;
    Random random(seed);
    const int fd = CreateFile(path);
    for (std::uint64_t left = size; left > 0;) {
        for (auto& word : buffer) {
            word = random.Next();
        }
        const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(left, sizeof buffer));
        WriteAll(fd, buffer.data(), chunk, path);
        left -= chunk;
    }
    ::close(fd);
}

struct Sample {
    double Seconds;
    long PeakKiB; // ru_maxrss
};

std::string CommandText(const std::vector<std::string>& argv) {
    std::string text;
    for (const auto& arg : argv) {
        text += (text.empty() ? "" : " ") + arg;
    }
    return text;
}

double Now() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Runs argv to its end with stdin and stderr on /dev/null. Its stdout goes to *out when
// given, read while it runs, so no output is large enough to stall it on a full pipe.
Sample Run(const std::vector<std::string>& argv, std::string* out = nullptr) {
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    if (out != nullptr && ::pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error(SystemError("pipe"));
    }
    const double start = Now();
    const pid_t pid = ::fork();
    if (pid < 0) {
        const std::string error = SystemError("fork");
        if (out != nullptr) {
            ::close(pipeFds[0]);
            ::close(pipeFds[1]);
        }
        throw std::runtime_error(error);
    }
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        const int stdoutFd = out != nullptr ? pipeFds[1] : null;
        if (null < 0 || ::dup2(null, 0) < 0 || ::dup2(stdoutFd, 1) < 0 || ::dup2(null, 2) < 0) {
            ::_exit(126);
        }
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    if (out != nullptr) {
        ::close(pipeFds[1]);
        out->clear();
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            out->append(buffer, static_cast<std::size_t>(got));
        }
        ::close(pipeFds[0]);
    }
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error(SystemError("wait4"));
        }
    }
    const double seconds = Now() - start;
    if (WIFSIGNALED(status)) {
        throw std::runtime_error("'" + CommandText(argv) + "' was killed by signal " +
                                 std::to_string(WTERMSIG(status)));
    }
    if (WEXITSTATUS(status) != 0) {
        throw std::runtime_error("'" + CommandText(argv) + "' exited with status " +
                                 std::to_string(WEXITSTATUS(status)) +
                                 " (run it by hand to see its messages)");
    }
    return {seconds, usage.ru_maxrss};
}

// coreutils live in /usr/bin on a merged /usr and in /bin on older systems.
std::string SystemTool(const std::string& name) {
    const std::string usrBin = "/usr/bin/" + name;
    return ::access(usrBin.c_str(), X_OK) == 0 ? usrBin : "/bin/" + name;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// The first word of what a tool printed, which for kelbrin-md5 and md5sum is the digest.
std::string DigestIn(const std::string& printed, const std::string& tool) {
    const std::string digest = printed.substr(0, printed.find_first_of(" \t\r\n"));
    const bool hex = std::all_of(digest.begin(), digest.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c));
    });
    if (digest.size() != 32 || !hex) {
        throw std::runtime_error(tool + " printed no digest: '" + printed + "'");
    }
    return digest;
}

// A script's digest is compared case-sensitively, so it must be written in upper case.
std::string ScriptDigest(const std::string& md5sum, const fs::path& file) {
    std::string printed;
    Run({md5sum, file}, &printed);
    return Upper(DigestIn(printed, md5sum));
}

// kelbrin-cli prints an MD5 row only when the original's digest differs from the script's.
void RequireNoMD5Row(const std::string& printed) {
    const auto at = printed.find("MD5:");
    if (at != std::string::npos) {
        throw std::runtime_error("kelbrin-cli found the original's digest wrong: '" +
                                 printed.substr(at, printed.find('\n', at) - at) + "'");
    }
}

// Bytes the expanded file must hold where a REPLACE or FILL line put them.
struct Probe {
    std::uint64_t Offset;
    std::vector<std::uint8_t> Bytes;
};

using Command = std::vector<std::string>;

// What one timing covers: one program, or several run back to back, with the file they
// must leave behind (none when Output is empty) and a check of what they print.
struct Job {
    const char* Label;
    std::vector<Command> Commands;
    fs::path Output;
    std::uint64_t Size = 0;
    std::vector<Probe> Probes;
    std::function<void(const std::string&)> CheckStdout; // gets every command's stdout
};

const char* const kScriptHead = "NAME\toriginal.bin\texpanded.bin\r\n";

// Long COPY and FILL ranges with a few REPLACE lines inside them.
constexpr const char* kW1Lines[] = {
    "SIZE\t8000000\tFFFFFFF",
    "HEADER\t0",
    "COPY\t0\t0",
    "REPLACE\t1000\t4B\t45\t4C\t42",
    "FILL\t4000000\tFF",
    "REPLACE\t5000000\t1\t2\t3",
    "COPY\t6000000\t1000000",
    "REPLACE\t8000000\tAA\tBB",
    "FILL\tA000000\t0",
    "COPY\tC000000\t4000000", // runs on to FFFFFFF
};

Job CliJob(const fs::path& dir, const std::string& cli, std::uint64_t size) {
    fs::create_directories(dir);
    return {"kelbrin-cli",
            {{cli, "--remove-header", "--dir", dir}},
            dir / "expanded.bin",
            size,
            {},
            {}};
}

// With md5sum given, the SIZE line carries the original's digest, and the run must find
// that it matches.
Job PrepareW1(const fs::path& dir, const std::string& cli, const std::string& md5sum = "") {
    Job w = CliJob(dir, cli, kW1FinalSize);
    WriteRandomFile(dir / "original.bin", kW1OriginalSize, 1);
    // cp copies a file as large as the expansion, so both tools move the same bytes.
    WriteRandomFile(dir / "cp-source.bin", kW1FinalSize, 3);
    std::string script = kScriptHead;
    for (const char* line : kW1Lines) {
        script += line;
        // The first line is the SIZE line; the digest is its 4th field.
        if (line == kW1Lines[0] && !md5sum.empty()) {
            script += "\t" + ScriptDigest(md5sum, dir / "original.bin");
            w.CheckStdout = RequireNoMD5Row;
        }
        script += "\r\n";
    }
    WriteText(dir / "Kelbrin.txt", script);
    w.Probes = {{0x1000, {0x4B, 0x45, 0x4C, 0x42}},
                {0x4000000, {0xFF}},
                {0x5000000, {0x01, 0x02, 0x03, 0xFF}},
                {0x8000000, {0xAA, 0xBB}},
                {0xA000000, {0x00}},
                {0xBFFFFFF, {0x00}}};
    return w;
}

// `--check` of the script that `run` runs: it must find both buttons' runs done, and write
// nothing.
Job CheckJob(const Job& run, const fs::path& dir, const std::string& cli) {
    Job check{"--check", {{cli, "--check", "--dir", dir}}, {}, 0, {}, {}};
    const fs::path expanded = run.Output;
    check.CheckStdout = [expanded](const std::string& printed) {
        if (printed.find("Expand and Ignore/Remove Header: Expansion Done\n") ==
            std::string::npos) {
            throw std::runtime_error("--check did not find the run done: " +
                                     printed.substr(0, 400));
        }
        if (fs::exists(expanded)) {
            throw std::runtime_error("--check wrote " + expanded.string());
        }
    };
    return check;
}

Job PrepareW2(const fs::path& dir, const std::string& cli) {
    Job w = CliJob(dir, cli, kW2FinalSize);
    WriteRandomFile(dir / "original.bin", kW2OriginalSize, 2);
    Random random(4);
    std::string script = std::string(kScriptHead) + "SIZE\t400000\t400000\r\nHEADER\t0\r\n";
    char text[64];
    for (int i = 0; i < kW2DirectiveLines; ++i) {
        const auto address = static_cast<unsigned long long>(i) * kW2Step;
        // The first directive may not be a REPLACE.
        const std::uint64_t kind = i == 0 ? 0 : random.Below(3);
        if (kind == 0) {
            std::snprintf(text, sizeof text, "COPY\t%llX\t%llX\r\n", address,
                          static_cast<unsigned long long>(random.Below(kW2OriginalSize)));
            script += text;
        } else if (kind == 1) {
            std::snprintf(text, sizeof text, "FILL\t%llX\t%X\r\n", address,
                          static_cast<unsigned>(random.Below(256)));
            script += text;
        } else {
            std::snprintf(text, sizeof text, "REPLACE\t%llX", address);
            script += text;
            Probe probe{address, {}};
            for (std::uint64_t n = 1 + random.Below(8); n > 0; --n) {
                probe.Bytes.push_back(static_cast<std::uint8_t>(random.Below(256)));
                std::snprintf(text, sizeof text, "\t%X", probe.Bytes.back());
                script += text;
            }
            script += "\r\n";
            // The last few prove that the run reached the end of the script.
            if (i >= kW2DirectiveLines - 64) {
                w.Probes.push_back(std::move(probe));
            }
        }
    }
    WriteText(dir / "Kelbrin.txt", script);
    return w;
}

// The largest original a script allows, with its digest to check and one COPY of it all:
// the run reads the whole file twice, once for the digest and once for the copy.
Job PrepareM2(const fs::path& dir, const std::string& cli, const std::string& md5sum) {
    Job w = CliJob(dir, cli, kM2OriginalSize);
    constexpr std::uint64_t seed = 6;
    WriteRandomFile(dir / "original.bin", kM2OriginalSize, seed);
    char size[32];
    std::snprintf(size, sizeof size, "%llX", static_cast<unsigned long long>(kM2OriginalSize));
    WriteText(dir / "Kelbrin.txt", std::string(kScriptHead) + "SIZE\t" + size + "\t" + size + "\t" +
                                       ScriptDigest(md5sum, dir / "original.bin") +
                                       "\r\nHEADER\t0\r\nCOPY\t0\t0\r\n");
    // The generator's first word opens the copy.
    const std::uint64_t first = Random(seed).Next();
    Probe probe{0, {}};
    for (int i = 0; i < 8; ++i) {
        probe.Bytes.push_back(static_cast<std::uint8_t>(first >> (8 * i)));
    }
    w.Probes = {probe};
    w.CheckStdout = RequireNoMD5Row;
    return w;
}

void CheckOutput(const fs::path& path, std::uint64_t size, const std::vector<Probe>& probes) {
    std::error_code error;
    const auto actual = fs::file_size(path, error);
    if (error) {
        throw std::runtime_error("no output after the run: " + path.string() + ": " +
                                 error.message());
    }
    if (actual != size) {
        throw std::runtime_error(path.string() + " is " + std::to_string(actual) +
                                 " bytes, expected " + std::to_string(size));
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw std::runtime_error(SystemError("cannot open " + path.string()));
    }
    for (const Probe& probe : probes) {
        std::vector<std::uint8_t> bytes(probe.Bytes.size());
        const auto got = ::pread(fd, bytes.data(), bytes.size(), static_cast<off_t>(probe.Offset));
        if (got != static_cast<ssize_t>(bytes.size()) || bytes != probe.Bytes) {
            ::close(fd);
            throw std::runtime_error(path.string() + " holds wrong bytes at offset " +
                                     std::to_string(probe.Offset));
        }
    }
    ::close(fd);
}

void RemoveIfThere(const fs::path& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        throw std::runtime_error(SystemError("cannot remove " + path.string()));
    }
}

// Every run writes a new file, and the previous run's dirty pages are not left to be
// written back inside the next run's timing. The commands of a job run back to back inside
// one timing; its peak is the largest of theirs.
Sample TimedRun(const Job& job) {
    const bool writes = !job.Output.empty();
    if (writes) {
        RemoveIfThere(job.Output);
    }
    ::sync();
    Sample total{0.0, 0};
    std::string printed;
    const double start = Now();
    for (const Command& command : job.Commands) {
        std::string out;
        const Sample sample = Run(command, job.CheckStdout ? &out : nullptr);
        total.PeakKiB = std::max(total.PeakKiB, sample.PeakKiB);
        printed += out;
    }
    total.Seconds = Now() - start;
    if (writes) {
        CheckOutput(job.Output, job.Size, job.Probes);
        RemoveIfThere(job.Output);
    }
    if (job.CheckStdout) {
        job.CheckStdout(printed);
    }
    return total;
}

using Series = std::vector<Sample>;

double Median(Series runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Sample& a, const Sample& b) { return a.Seconds < b.Seconds; });
    const std::size_t mid = runs.size() / 2;
    return runs.size() % 2 == 1 ? runs[mid].Seconds
                                : (runs[mid - 1].Seconds + runs[mid].Seconds) / 2;
}

double PeakMiB(const Series& runs) {
    long peak = 0;
    for (const Sample& sample : runs) {
        peak = std::max(peak, sample.PeakKiB);
    }
    return static_cast<double>(peak) / 1024.0;
}

// One untimed warm-up each (it also proves the jobs work), then the jobs take turns, so a
// change in the machine's load falls on all of them alike.
std::vector<Series> Measure(const std::vector<Job>& jobs, int repeat) {
    std::vector<Series> series(jobs.size());
    for (int round = -1; round < repeat; ++round) {
        for (std::size_t j = 0; j < jobs.size(); ++j) {
            const Sample sample = TimedRun(jobs[j]);
            if (round >= 0) {
                series[j].push_back(sample);
            }
        }
    }
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        std::printf("  %-12s", jobs[j].Label);
        for (const Sample& sample : series[j]) {
            std::printf(" %.3f", sample.Seconds);
        }
        std::printf("  s\n");
    }
    return series;
}

struct Row {
    std::string Workload, Tool, Median, Ratio, Target, Verdict;
    double PeakMiB;
};

void PrintTable(const std::vector<Row>& rows) {
    std::printf("\n%-9s %-22s %9s %6s  %-27s %-8s %9s\n", "workload", "tool", "median s", "ratio",
                "target", "verdict", "peak RSS");
    for (const Row& r : rows) {
        std::printf("%-9s %-22s %9s %6s  %-27s %-8s %5.1f MiB\n", r.Workload.c_str(),
                    r.Tool.c_str(), r.Median.c_str(), r.Ratio.c_str(), r.Target.c_str(),
                    r.Verdict.c_str(), r.PeakMiB);
    }
}

std::string Fixed(double value, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}

const char* Verdict(bool met) {
    return met ? "PASS" : "MISS";
}

std::optional<Options> Parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--cli" && hasValue) {
            options.Cli = argv[++i];
        } else if (arg == "--md5" && hasValue) {
            options.Md5 = argv[++i];
        } else if (arg == "--work" && hasValue) {
            options.Work = argv[++i];
        } else if (arg == "--repeat" && hasValue) {
            options.Repeat = std::atoi(argv[++i]);
            if (options.Repeat < 1) {
                return std::nullopt;
            }
        } else if (arg == "--only" && hasValue &&
                   std::any_of(std::begin(kWorkloads), std::end(kWorkloads), [&](const char* name) {
                       return std::strcmp(name, argv[i + 1]) == 0;
                   })) {
            options.Only = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    return options;
}

void RemoveInputs(const fs::path& dir, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        RemoveIfThere(dir / name);
    }
}

// ROM-like bytes: stretches of code (a few opcodes most of the time), tables of rising words,
// tiles drawn from a small set, and padding runs of FF and 00, as real images hold them.
std::string RomLike(std::size_t size, std::uint64_t seed) {
    Random random(seed);
    std::string tiles(64 * 32, '\0');
    for (char& c : tiles) {
        c = static_cast<char>(random.Next());
    }
    std::string bytes;
    bytes.reserve(size);
    while (bytes.size() < size) {
        const std::size_t length =
            std::min<std::size_t>(size - bytes.size(), 256 + random.Below(16384));
        const std::uint64_t kind = random.Below(10);
        for (std::size_t i = 0; i < length; ++i) {
            const std::uint64_t word = random.Next();
            switch (kind) {
            case 0:
            case 1:
            case 2:
            case 3:
                bytes += static_cast<char>(word % 2 == 0 ? 0x20 + (word >> 8) % 16 : word >> 16);
                break;
            case 4:
            case 5: bytes += static_cast<char>((i / 2 * 3) >> (i % 2 == 0 ? 0 : 8)); break;
            case 6:
            case 7: bytes += tiles[(i / 32 % 7 * 9 + kind) % 64 * 32 + i % 32]; break;
            case 8: bytes += '\xFF'; break;
            default: bytes += '\0'; break;
            }
        }
    }
    return bytes;
}

std::string RandomBytes(std::size_t size, std::uint64_t seed) {
    Random random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random.Next() >> 32);
    }
    return bytes;
}

void Scatter(std::string& bytes, std::size_t changes, std::uint64_t seed) {
    Random random(seed);
    for (std::size_t i = 0; i < changes; ++i) {
        char& c = bytes[random.Below(bytes.size())];
        c = static_cast<char>(c ^ (1 + random.Below(255)));
    }
}

std::string ReadFileBytes(const fs::path& path) {
    std::string bytes(fs::file_size(path), '\0');
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr || std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        throw std::runtime_error(SystemError("cannot read " + path.string()));
    }
    std::fclose(file);
    return bytes;
}

// A pair for the script maker, with the header each file carries.
struct ScriptPair {
    std::string Original;
    std::string Expanded;
    unsigned OriginalHeader = 0;
    unsigned ExpandedHeader = 0;
};

ScriptPair MakePair(const std::string& workload) {
    constexpr std::size_t MiB = 1024 * 1024;
    ScriptPair pair;
    if (workload == "S-GROW") {
        pair.Original = RomLike(MiB, 11);
        pair.Expanded = pair.Original + std::string(3 * MiB, '\xFF');
        pair.Expanded[0x1234] = '\x60';
        pair.Expanded[0x54321] = '\xEA';
    } else if (workload == "S-BANKS") {
        constexpr std::size_t bank = 32 * 1024;
        pair.Original = RomLike(2 * MiB, 12);
        for (std::size_t k = 0; k < 64; ++k) {
            pair.Expanded += pair.Original.substr(k * bank, bank);
            pair.Expanded += pair.Original.substr((k + 32) % 64 * bank, bank);
        }
    } else if (workload == "S-MOVES") {
        pair.Original = RomLike(64 * MiB, 13);
        Random random(14);
        pair.Expanded.reserve(128 * MiB);
        while (pair.Expanded.size() < 128 * MiB) {
            const std::size_t length = 64 * 1024 + random.Below(MiB);
            const std::size_t from = random.Below(pair.Original.size() - length);
            pair.Expanded += pair.Original.substr(from, length);
            if (random.Below(4) == 0) {
                pair.Expanded += std::string(4096 + random.Below(256 * 1024),
                                             random.Below(2) == 0 ? '\xFF' : '\0');
            }
        }
        pair.Expanded.resize(128 * MiB);
        Scatter(pair.Expanded, 2000, 15);
    } else if (workload == "S-HEADER") {
        const std::string image = RomLike(MiB / 2, 16);
        pair.Original = "NES\x1A" + std::string(12, '\x01') + image;
        pair.Expanded = std::string("NES\x1A\x20\x10\x40", 7) + std::string(9, '\0') + image +
                        std::string(MiB / 2, '\xFF');
        pair.OriginalHeader = pair.ExpandedHeader = 16;
    } else if (workload == "S-COPIER") {
        const std::string image = RomLike(2 * MiB, 17);
        pair.Original = std::string(512, '\0') + image;
        pair.Original[0] = '\x40';
        pair.Expanded = image + image.substr(0, MiB) + std::string(MiB, '\0');
        Scatter(pair.Expanded, 16, 18);
        pair.OriginalHeader = 512;
    } else if (workload == "S-UNRELATED") {
        pair.Original = RandomBytes(MiB, 19);
        pair.Expanded = RandomBytes(MiB, 20);
    } else {
        pair.Original = RandomBytes(4 * MiB, 21);
        pair.Expanded = pair.Original;
        Scatter(pair.Expanded, 100000, 22);
    }
    return pair;
}

// xdelta3's instructions in its printed delta: each row holds one or two of ADD, RUN and CPY_n.
std::size_t DeltaInstructions(const std::string& printed) {
    std::size_t count = 0;
    for (std::size_t at = 0; (at = printed.find_first_of("ARC", at)) != std::string::npos; ++at) {
        const bool space = at > 0 && printed[at - 1] == ' ';
        if (space && (printed.compare(at, 4, "ADD ") == 0 || printed.compare(at, 4, "RUN ") == 0 ||
                      printed.compare(at, 4, "CPY_") == 0)) {
            ++count;
        }
    }
    return count;
}

// One pair: kelbrin-cli --make-script against xdelta3 -e, the script proved by a real run.
void BenchScript(const std::string& workload, const Options& options, const fs::path& work,
                 std::vector<Row>& rows) {
    const fs::path dir = work / workload;
    fs::create_directories(dir / "check");
    const fs::path original = dir / "original.bin";
    const fs::path expanded = dir / "expanded.bin";
    const fs::path script = dir / "Kelbrin.txt";
    const fs::path delta = dir / "delta.vcdiff";
    std::vector<std::string> header;
    bool addsHeader = false;
    {
        // The pair is freed before the timings: a forked child counts its parent's pages.
        const ScriptPair pair = MakePair(workload);
        WriteText(original, pair.Original);
        WriteText(expanded, pair.Expanded);
        for (const auto& [option, size] : {std::pair{"--original-header", pair.OriginalHeader},
                                           std::pair{"--expanded-header", pair.ExpandedHeader}}) {
            if (size != 0) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "%X", size);
                header.insert(header.end(), {option, hex});
            }
        }
        addsHeader = pair.ExpandedHeader != 0;
    }
    const double inputMiB =
        static_cast<double>(fs::file_size(original) + fs::file_size(expanded)) / (1024.0 * 1024.0);
    std::printf("%s: %.1f MiB original and expanded file\n", workload.c_str(), inputMiB);

    Command make = {options.Cli, "--make-script", original, expanded};
    make.insert(make.end(), header.begin(), header.end());
    make.insert(make.end(), {"--output", script, "--force"});
    const Job maker{"--make-script", {make}, {}, 0, {}, {}};
    const std::string xdelta3 = SystemTool("xdelta3");
    const Job encoder{
        "xdelta3 -e", {{xdelta3, "-e", "-f", "-s", original, expanded, delta}}, {}, 0, {}, {}};
    const auto runs = Measure({maker, encoder}, options.Repeat);

    // The proof: a real run of the script beside a copy of the original rebuilds the pair.
    fs::copy_file(original, dir / "check" / "original.bin", fs::copy_options::overwrite_existing);
    fs::copy_file(script, dir / "check" / "Kelbrin.txt", fs::copy_options::overwrite_existing);
    Run({options.Cli, addsHeader ? "--add-header" : "--remove-header", "--dir", dir / "check"});
    if (ReadFileBytes(dir / "check" / "expanded.bin") != ReadFileBytes(expanded)) {
        throw std::runtime_error(workload + ": the script does not rebuild the expanded file");
    }
    const std::string text = ReadFileBytes(script);
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) - 3;
    std::string printed;
    Run({xdelta3, "printdelta", delta}, &printed);
    const std::size_t instructions = DeltaInstructions(printed);

    const double timeRatio = Median(runs[0]) / Median(runs[1]);
    const double lineRatio = static_cast<double>(lines) / static_cast<double>(instructions);
    const double peakLimit = inputMiB + kScriptMemoryMarginMiB;
    rows.push_back({workload, "xdelta3 -e", Fixed(Median(runs[1]), 3), "-",
                    std::to_string(instructions) + " instructions", "-", PeakMiB(runs[1])});
    rows.push_back({workload, "--make-script", Fixed(Median(runs[0]), 3), Fixed(timeRatio, 2),
                    "time <= 1.0 x xdelta3", Verdict(timeRatio <= kScriptMaxTimeRatio),
                    PeakMiB(runs[0])});
    rows.push_back({workload, "--make-script", std::to_string(lines) + " lines",
                    Fixed(lineRatio, 2), "lines <= 1.5 x instructions",
                    Verdict(lineRatio <= kScriptMaxLineRatio), PeakMiB(runs[0])});
    rows.push_back({workload, "--make-script", "-", "-",
                    "peak <= files + 64 = " + Fixed(peakLimit, 0) + " MiB",
                    Verdict(PeakMiB(runs[0]) <= peakLimit), PeakMiB(runs[0])});
    RemoveInputs(dir, {"original.bin", "expanded.bin", "Kelbrin.txt", "delta.vcdiff",
                       "check/original.bin", "check/Kelbrin.txt", "check/expanded.bin"});
}

int Bench(const Options& options) {
    if (::access(options.Cli.c_str(), X_OK) != 0) {
        throw std::runtime_error(SystemError("cannot run " + options.Cli));
    }
    if (options.Runs("M1") && ::access(options.Md5.c_str(), X_OK) != 0) {
        throw std::runtime_error(SystemError("cannot run " + options.Md5));
    }
    const fs::path work = fs::absolute(options.Work);
    const std::string cp = SystemTool("cp");
    const std::string md5sum = SystemTool("md5sum");
    const std::string sync = SystemTool("sync");
    std::printf("kelbrin-bench: %s, %d timed runs each (after one warm-up), work in %s\n",
                options.Cli.c_str(), options.Repeat, work.c_str());

    // What the program holds before it touches any data: the floor under every workload.
    const Series idle{Run({options.Cli, "--version"})};
    std::vector<Row> rows;

    if (options.Runs("W1")) {
        std::printf("W1: generating a 128 MiB original and a %" PRIu64 "-byte file for cp\n",
                    kW1FinalSize);
        const fs::path dir = work / "W1";
        const Job cli = PrepareW1(dir, options.Cli);
        const fs::path cpOutput = dir / "cp-destination.bin";
        const Job copy{"cp", {{cp, dir / "cp-source.bin", cpOutput}}, cpOutput, kW1FinalSize, {},
                       {}};
        // A run has its file written to the disk before the file takes the expanded name: cp
        // followed by a sync of the copy (its fsync) does the same work.
        const Job copySynced{"cp + sync", {{cp, dir / "cp-source.bin", cpOutput}, {sync, cpOutput}},
                             cpOutput,    kW1FinalSize,
                             {},          {}};
        const auto runs = Measure({cli, copy, copySynced}, options.Repeat);
        const double ratio = Median(runs[0]) / Median(runs[1]);
        const double syncedRatio = Median(runs[0]) / Median(runs[2]);
        rows.push_back({"W1", "cp", Fixed(Median(runs[1]), 3), "-", "-", "-", PeakMiB(runs[1])});
        rows.push_back(
            {"W1", "cp + sync", Fixed(Median(runs[2]), 3), "-", "-", "-", PeakMiB(runs[2])});
        rows.push_back({"W1", "kelbrin-cli", Fixed(Median(runs[0]), 3), Fixed(ratio, 2),
                        "time <= 1.3 x cp", Verdict(ratio <= kW1MaxRatio), PeakMiB(runs[0])});
        rows.push_back({"W1", "kelbrin-cli", "-", Fixed(syncedRatio, 2), "time <= 1.3 x cp + sync",
                        Verdict(syncedRatio <= kW1MaxRatio), PeakMiB(runs[0])});
        rows.push_back({"W1", "kelbrin-cli", "-", "-", "peak RSS < 16 MiB",
                        Verdict(PeakMiB(runs[0]) < kW1MaxRssMiB), PeakMiB(runs[0])});
        RemoveInputs(dir, {"original.bin", "cp-source.bin", "Kelbrin.txt"});
    }

    if (options.Runs("W2")) {
        std::printf("W2: generating a 4 MiB original and a script of %d directive lines\n",
                    kW2DirectiveLines);
        const fs::path dir = work / "W2";
        const Job cli = PrepareW2(dir, options.Cli);
        std::vector<Job> jobs = {cli};
#ifdef KELBRIN_BENCH_WINDOW
        // The window reports the run's own time: Qt's start-up is not part of the run.
        std::vector<double> windowRuns;
        Job window = cli;
        window.Label = "window run";
        window.Commands = {{KELBRIN_BENCH_WINDOW, dir.string()}};
        window.CheckStdout = [&windowRuns](const std::string& printed) {
            windowRuns.push_back(
                std::strtod(printed.c_str() + std::strlen("run-seconds "), nullptr));
        };
        jobs.push_back(window);
#endif
        const auto runs = Measure(jobs, options.Repeat);
        rows.push_back({"W2", "kelbrin-cli", Fixed(Median(runs[0]), 3), "-", "time < 0.1 s",
                        Verdict(Median(runs[0]) < kW2MaxSeconds), PeakMiB(runs[0])});
        rows.push_back({"W2", "kelbrin-cli", "-", "-", "peak RSS flat", "info", PeakMiB(runs[0])});
#ifdef KELBRIN_BENCH_WINDOW
        // The first report is the warm-up's.
        windowRuns.erase(windowRuns.begin());
        std::sort(windowRuns.begin(), windowRuns.end());
        const double windowMedian = windowRuns[windowRuns.size() / 2];
        const double windowRatio = windowMedian / Median(runs[0]);
        rows.push_back({"W2-window", "run from the window", Fixed(windowMedian, 3),
                        Fixed(windowRatio, 2), "time <= 1.2 x kelbrin-cli",
                        Verdict(windowRatio <= kW2MaxWindowRatio), PeakMiB(runs[1])});
#endif
        RemoveInputs(dir, {"original.bin", "Kelbrin.txt"});
    }

    // An author's check of a script rehearses both buttons' runs: on the longest script and on
    // the largest image, it may cost no more than one run.
    for (const char* workload : {"C-LINES", "C-IMAGE"}) {
        if (!options.Runs(workload)) {
            continue;
        }
        const bool lines = std::string(workload) == "C-LINES";
        std::printf("%s: --check of %s, against the run itself\n", workload,
                    lines ? "W2's script" : "W1-MD5's script");
        const fs::path dir = work / workload;
        const Job run = lines ? PrepareW2(dir, options.Cli) : PrepareW1(dir, options.Cli, md5sum);
        const auto runs = Measure({run, CheckJob(run, dir, options.Cli)}, options.Repeat);
        const double ratio = Median(runs[1]) / Median(runs[0]);
        rows.push_back({workload, "kelbrin-cli run", Fixed(Median(runs[0]), 3), "-", "-", "-",
                        PeakMiB(runs[0])});
        rows.push_back({workload, "kelbrin-cli --check", Fixed(Median(runs[1]), 3), Fixed(ratio, 2),
                        "time <= 1.0 x the run", Verdict(ratio <= kCheckMaxRatio),
                        PeakMiB(runs[1])});
        RemoveInputs(dir, {"original.bin", "Kelbrin.txt", "cp-source.bin"});
    }

    if (options.Runs("W1-MD5")) {
        std::printf("W1-MD5: W1 with the original's digest on the SIZE line, against md5sum of "
                    "the original and cp\n");
        const fs::path dir = work / "W1-MD5";
        const Job cli = PrepareW1(dir, options.Cli, md5sum);
        // What a user would do by hand: check the original, then copy as much as the run
        // writes.
        const fs::path cpOutput = dir / "cp-destination.bin";
        const Job checkAndCopy{
            "md5sum + cp",
            {{md5sum, dir / "original.bin"}, {cp, dir / "cp-source.bin", cpOutput}},
            cpOutput,
            kW1FinalSize,
            {},
            {}};
        Job checkCopyAndSync = checkAndCopy;
        checkCopyAndSync.Label = "md5sum + cp + sync";
        checkCopyAndSync.Commands.push_back({sync, cpOutput});
        const auto runs = Measure({cli, checkAndCopy, checkCopyAndSync}, options.Repeat);
        const double ratio = Median(runs[0]) / Median(runs[1]);
        const double syncedRatio = Median(runs[0]) / Median(runs[2]);
        rows.push_back(
            {"W1-MD5", "md5sum + cp", Fixed(Median(runs[1]), 3), "-", "-", "-", PeakMiB(runs[1])});
        rows.push_back({"W1-MD5", "md5sum + cp + sync", Fixed(Median(runs[2]), 3), "-", "-", "-",
                        PeakMiB(runs[2])});
        rows.push_back({"W1-MD5", "kelbrin-cli", Fixed(Median(runs[0]), 3), Fixed(ratio, 2),
                        "time <= 1.15 x md5sum + cp", Verdict(ratio <= kW1Md5MaxRatio),
                        PeakMiB(runs[0])});
        rows.push_back({"W1-MD5", "kelbrin-cli", "-", Fixed(syncedRatio, 2),
                        "time <= 1.15 x ... + sync", Verdict(syncedRatio <= kW1Md5MaxRatio),
                        PeakMiB(runs[0])});
        RemoveInputs(dir, {"original.bin", "cp-source.bin", "Kelbrin.txt"});
    }

    if (options.Runs("M1")) {
        std::printf("M1: generating a %" PRIu64 "-byte file, digested by kelbrin-md5 and md5sum\n",
                    kM1FileSize);
        const fs::path dir = work / "M1";
        fs::create_directories(dir);
        const fs::path file = dir / "data.bin";
        WriteRandomFile(file, kM1FileSize, 5);
        // Every run of either tool must print the digest the first run printed.
        std::string digest;
        const auto agrees = [&digest](const char* tool) {
            return [&digest, tool](const std::string& printed) {
                const std::string mine = Upper(DigestIn(printed, tool));
                if (digest.empty()) {
                    digest = mine;
                } else if (mine != digest) {
                    throw std::runtime_error(std::string(tool) + " printed " + mine +
                                             ", the other tool " + digest);
                }
            };
        };
        const Job self{"kelbrin-md5", {{options.Md5, file}}, {}, 0, {}, agrees("kelbrin-md5")};
        const Job other{"md5sum", {{md5sum, file}}, {}, 0, {}, agrees("md5sum")};
        const auto runs = Measure({self, other}, options.Repeat);
        // Both read the same bytes, so the ratio of the times is the ratio of throughputs.
        const double ratio = Median(runs[1]) / Median(runs[0]);
        const double mib = static_cast<double>(kM1FileSize) / (1024.0 * 1024.0);
        std::printf("  digest %s; kelbrin-md5 %.0f MiB/s, md5sum %.0f MiB/s\n", digest.c_str(),
                    mib / Median(runs[0]), mib / Median(runs[1]));
        rows.push_back(
            {"M1", "md5sum", Fixed(Median(runs[1]), 3), "-", "-", "-", PeakMiB(runs[1])});
        rows.push_back({"M1", "kelbrin-md5", Fixed(Median(runs[0]), 3), Fixed(ratio, 2),
                        "throughput >= 0.9 x md5sum", Verdict(ratio >= kM1MinThroughputRatio),
                        PeakMiB(runs[0])});
        RemoveInputs(dir, {"data.bin"});
    }

    if (options.Runs("M2")) {
        std::printf("M2: generating a %" PRIu64 "-byte original with its digest on the SIZE "
                    "line\n",
                    kM2OriginalSize);
        const fs::path dir = work / "M2";
        const auto runs = Measure({PrepareM2(dir, options.Cli, md5sum)}, options.Repeat);
        rows.push_back({"M2", "kelbrin-cli", Fixed(Median(runs[0]), 3), "-", "peak RSS < 16 MiB",
                        Verdict(PeakMiB(runs[0]) < kM2MaxRssMiB), PeakMiB(runs[0])});
        RemoveInputs(dir, {"original.bin", "Kelbrin.txt"});
    }

    if (options.Runs("I1")) {
        std::printf("I1: --info on a %" PRIu64 "-byte image with a %" PRIu64
                    "-byte header, against md5sum of the file\n",
                    kI1ImageSize, kI1HeaderSize);
        const fs::path dir = work / "I1";
        fs::create_directories(dir);
        const fs::path file = dir / "original.bin";
        WriteRandomFile(file, kI1ImageSize + kI1HeaderSize, 7);
        char sizes[64];
        std::snprintf(sizes, sizeof sizes, "SIZE\t%llX\t%llX\r\nHEADER\t%llX\r\n",
                      static_cast<unsigned long long>(kI1ImageSize),
                      static_cast<unsigned long long>(kI1ImageSize),
                      static_cast<unsigned long long>(kI1HeaderSize));
        WriteText(dir / "Kelbrin.txt", std::string(kScriptHead) + sizes);
        // Every run must find the header and print the whole file's MD5 as md5sum does.
        std::string fileDigest;
        const Job info{"kelbrin-cli --info",
                       {{options.Cli, "--info", "--dir", dir}},
                       {},
                       0,
                       {},
                       [&fileDigest](const std::string& printed) {
                           const std::size_t at = printed.find("File MD5: ");
                           if (printed.find("Header: 512 bytes") == std::string::npos ||
                               at == std::string::npos) {
                               throw std::runtime_error("--info printed: " + printed);
                           }
                           fileDigest = printed.substr(at + 10, 32);
                       }};
        const Job reference{"md5sum", {{md5sum, file}}, {}, 0, {}, {}};
        const auto runs = Measure({info, reference}, options.Repeat);
        const double ratio = Median(runs[0]) / Median(runs[1]);
        std::printf("  the whole file's MD5: %s\n", fileDigest.c_str());
        rows.push_back(
            {"I1", "md5sum", Fixed(Median(runs[1]), 3), "-", "-", "-", PeakMiB(runs[1])});
        rows.push_back({"I1", "kelbrin-cli --info", Fixed(Median(runs[0]), 3), Fixed(ratio, 2),
                        "time <= 1.5 x md5sum", Verdict(ratio <= kI1MaxRatio), PeakMiB(runs[0])});
        rows.push_back({"I1", "kelbrin-cli --info", "-", "-", "peak RSS < 16 MiB",
                        Verdict(PeakMiB(runs[0]) < kI1MaxRssMiB), PeakMiB(runs[0])});
        RemoveInputs(dir, {"original.bin", "Kelbrin.txt"});
    }

    for (const char* workload : kWorkloads) {
        if (workload[0] == 'S' && options.Runs(workload)) {
            BenchScript(workload, options, work, rows);
        }
    }

    rows.push_back({"-", "kelbrin-cli --version", Fixed(Median(idle), 3), "-", "(RSS floor)", "-",
                    PeakMiB(idle)});
    PrintTable(rows);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // progress shows even through a pipe
    const auto options = Parse(argc, argv);
    if (!options) {
        std::fprintf(
            stderr,
            "usage: kelbrin-bench [--cli PATH] [--md5 PATH] [--work DIR] "
            "[--repeat N] [--only W1|W2|W1-MD5|M1|M2|I1|C-LINES|C-IMAGE|S-GROW|S-BANKS|S-MOVES|"
            "S-HEADER|S-COPIER|S-UNRELATED|S-SCATTERED]\n");
        return 2;
    }
    try {
        return Bench(*options);
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "kelbrin-bench: %s\n", error.what());
        return 1;
    }
}
