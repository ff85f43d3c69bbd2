// Fuzzes a whole expansion run. The input is the script; a small original ROM is derived from
// its NAME, SIZE and HEADER lines so that runs get past header detection. Both header choices
// run on a fresh folder that holds a previous expanded file. Whatever the script says, the run
// must end in one of its two final status texts, leave the original and the script as they
// were, create nothing but the file the script names, and leave that file as it was unless it
// is done. A run that succeeds is made once more with its original growing under it, and once
// with the original cut to half its length: grown, it must write the same bytes; cut, the same
// bytes or end in error 62, never other bytes. Then a run with each header choice at once,
// the second started at a moment the input picks: the expanded file must end as the whole
// output of a run that is done, or as it was.

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

#include "Expand.h"

namespace {

// Every expanded file is cut short here (the write fails with "Disk full"), so no input can
// make the fuzzer write gigabytes.
constexpr rlim_t kLargestFile = 4 * 1024 * 1024;
constexpr std::size_t kLargestOriginal = 64 * 1024;

struct CountingWindow : kelbrin::RunWindow {
    std::string LastStatus;
    int Boxes = 0;
    std::string LastBox;
    // Runs once, at the run's moment for window events of this number (from 1 on).
    std::function<void()> AtEvents;
    int AtEventsNumber = 1;
    int EventsSeen = 0;
    void SetStatus(const std::string& text) override { LastStatus = text; }
    void ShowMD5(const std::string&) override {}
    void HideMD5() override {}
    void LetEventsRun() override {
        if (++EventsSeen == AtEventsNumber && AtEvents) {
            std::exchange(AtEvents, nullptr)();
        }
    }
    void ShowMessageBox(const std::string& message, const std::string&,
                        kelbrin::MessageBoxIcon) override {
        ++Boxes;
        LastBox = message;
    }
};

std::vector<std::string> Split(const std::string& text, const char* separators) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find_first_of(separators, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            return parts;
        }
        // CR LF is one line end.
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

std::string Field(const std::vector<std::string>& lines, std::size_t line, std::size_t field) {
    if (line >= lines.size()) {
        return {};
    }
    const auto fields = Split(lines[line], "\t");
    return field < fields.size() ? fields[field] : std::string();
}

long Hex(const std::string& text) {
    if (text.empty() || text.size() > 7 ||
        text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return -1;
    }
    return std::strtol(text.c_str(), nullptr, 16);
}

// A plain file name the harness may create: no separators, no dots-only names.
bool Plain(const std::string& name) {
    return !name.empty() && name.size() < 100 && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

// The entry a name creates in the folder: separators either way, empty and "." parts
// dropped ("\\b.bin" and "./b.bin" both make "b.bin").
std::string EntryOf(const std::string& name) {
    std::vector<std::string> parts;
    for (const std::string& part : Split(name, "\\/")) {
        if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
    }
    return parts.size() == 1 ? parts[0] : std::string();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> Entries(const std::string& folder) {
    std::set<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.insert(name);
            }
        }
        ::closedir(dir);
    }
    return names;
}

void Empty(const std::string& folder) {
    for (const std::string& name : Entries(folder)) {
        ::unlink((folder + "/" + name).c_str());
    }
}

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

const std::string& Folder() {
    static const std::string folder = [] {
        const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/kelbrin-fuzz-XXXXXX";
        Check(::mkdtemp(pattern.data()) != nullptr, "a temporary folder");
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{kLargestFile, kLargestFile};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return pattern;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string script(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = Split(script, "\r\n");
    const std::string originalName = Field(lines, 0, 1);
    const std::string expandedName = Field(lines, 0, 2);
    const long imageSize = Hex(Field(lines, 1, 1));
    const long headerSize = Hex(Field(lines, 2, 1));

    std::string original;
    if (imageSize >= 0 && static_cast<std::size_t>(imageSize) <= kLargestOriginal) {
        // The script's own length picks whether the original carries a header.
        const bool headered = headerSize > 0 && headerSize <= 0x200 && size % 2 == 1;
        original.resize(static_cast<std::size_t>(imageSize + (headered ? headerSize : 0)));
        for (std::size_t i = 0; i < original.size(); ++i) {
            original[i] = static_cast<char>(i * 31 + i / 256);
        }
    }

    const std::string& folder = Folder();
    const bool haveOriginal = Plain(originalName) && originalName != "Kelbrin.txt";
    const std::string expandedEntry = EntryOf(expandedName);
    // The expanded file a run may replace, when it is one the harness can make.
    const bool havePrevious = Plain(expandedEntry) && expandedEntry != "Kelbrin.txt" &&
                              (!haveOriginal || expandedEntry != originalName);
    const std::string previous = "PREVIOUS";
    const auto prepare = [&] {
        Empty(folder);
        WriteFile(folder + "/Kelbrin.txt", script);
        if (haveOriginal) {
            WriteFile(folder + "/" + originalName, original);
        }
        if (havePrevious) {
            WriteFile(folder + "/" + expandedEntry, previous);
        }
    };
    // Each header choice's whole output, when its run is done.
    std::optional<std::string> outputs[2];
    for (std::int16_t index = 0; index < 2; ++index) {
        const kelbrin::HeaderChoice header = index == 0 ? kelbrin::HeaderChoice::AddOrReplace
                                                        : kelbrin::HeaderChoice::IgnoreOrRemove;
        prepare();
        CountingWindow window;
        const kelbrin::RunResult run = kelbrin::Expand(header, folder, window);

        Check(window.LastStatus == (run.Done() ? "Expansion Done" : "Ended due to Error"),
              "the run ends with the final status text of its ending");
        Check(run.Done() ||
                  (window.Boxes >= 1 && window.LastBox == run.BoxText &&
                   run.BoxText.starts_with("Error #" + std::to_string(run.ErrorNumber) + " -> ")),
              "a failure's last box is the one its result names");
        Check(ReadFile(folder + "/Kelbrin.txt") == script, "the script is unchanged");
        if (haveOriginal) {
            Check(ReadFile(folder + "/" + originalName) == original, "the original is unchanged");
        }
        for (const std::string& name : Entries(folder)) {
            Check(name == "Kelbrin.txt" || (haveOriginal && name == originalName) ||
                      name == expandedEntry,
                  "nothing is created but the expanded file");
        }
        const std::string expandedPath = folder + "/" + expandedEntry;
        if (havePrevious) {
            Check(run.Done() || ReadFile(expandedPath) == previous,
                  "a run that fails leaves the expanded file as it was");
            if (run.Done()) {
                outputs[index] = ReadFile(expandedPath);
            }
        }

        if (!haveOriginal || !run.Done() || expandedEntry.empty() || original.empty()) {
            continue;
        }
        const std::string expanded = ReadFile(expandedPath);
        for (const bool grow : {true, false}) {
            Empty(folder);
            WriteFile(folder + "/Kelbrin.txt", script);
            WriteFile(folder + "/" + originalName, original);
            CountingWindow changing;
            changing.AtEvents = [&] {
                const std::string path = folder + "/" + originalName;
                if (grow) {
                    std::ofstream(path, std::ios::binary | std::ios::app) << "\xEE\xEE\xEE\xEE";
                } else {
                    Check(::truncate(path.c_str(), static_cast<off_t>(original.size() / 2)) == 0,
                          "the original is cut");
                }
            };
            const kelbrin::RunResult changed = kelbrin::Expand(header, folder, changing);
            if (changed.Done()) {
                Check(ReadFile(expandedPath) == expanded,
                      "an original changing its length under the run changes no byte");
            } else {
                Check(!grow && changed.ErrorNumber == 62,
                      "an original cut short under the run is error 62");
            }
        }
    }

    if (!havePrevious) {
        return 0;
    }
    prepare();
    CountingWindow first;
    CountingWindow second;
    std::optional<kelbrin::RunResult> secondRun;
    std::thread secondThread;
    first.AtEventsNumber = 1 + static_cast<int>(size % 5);
    first.AtEvents = [&] {
        secondThread = std::thread([&] {
            secondRun = kelbrin::Expand(kelbrin::HeaderChoice::IgnoreOrRemove, folder, second);
        });
    };
    const kelbrin::RunResult firstRun =
        kelbrin::Expand(kelbrin::HeaderChoice::AddOrReplace, folder, first);
    if (secondThread.joinable()) {
        secondThread.join();
    }
    const std::string after = ReadFile(folder + "/" + expandedEntry);
    Check((!firstRun.Done() || outputs[0]) && (!secondRun || !secondRun->Done() || outputs[1]),
          "a run done beside another is done on its own too");
    const bool firstDone = firstRun.Done();
    const bool secondDone = secondRun && secondRun->Done();
    if (firstDone || secondDone) {
        Check((firstDone && after == *outputs[0]) || (secondDone && after == *outputs[1]),
              "two runs at once leave the whole output of one that is done");
    } else {
        Check(after == previous, "two runs at once that both fail leave the file as it was");
    }
    for (const std::string& name : Entries(folder)) {
        Check(name == "Kelbrin.txt" || (haveOriginal && name == originalName) ||
                  name == expandedEntry,
              "two runs at once create nothing but the expanded file");
    }
    return 0;
}
