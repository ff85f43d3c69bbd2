// kelbrin-win32-bench WORKDIR [REPEAT]: times Kelbrin.exe on Windows (here under Wine): how long
// it takes from its start to a shown window, and the W2 workload (32,763 directive lines over a
// 4 MiB original) run from the window against the same run as kelbrin-cli makes it, all in one
// run of this program so that their ratio compares like with like. It reports; it does not
// gate. Kelbrin.exe and kelbrin-cli.exe are found beside this program.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>
#include <windows.h>
// The common controls' header needs the types of windows.h.
#include <commctrl.h>

#include "ConsoleWindow.h"
#include "ControlIds.h"
#include "EventPump.h"
#include "Expand.h"
#include "Win32Desktop.h"
#include "frmKelbrin.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kDirectiveLines = 32763; // the most a script may hold
constexpr std::uint32_t kImageSize = 0x400000;
constexpr std::uint32_t kStep = 0x80; // 32,763 lines of 80 hex bytes stay inside 4 MiB

// The W2 folder: a 4 MiB original and a script of COPY, FILL and REPLACE lines in turn.
void PrepareW2(const fs::path& folder) {
    fs::create_directories(folder);
    std::uint32_t state = 0x4B454C42;
    const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
    std::string original(kImageSize, '\0');
    for (char& byte : original) {
        byte = static_cast<char>(next() >> 24);
    }
    std::ofstream(folder / "original.bin", std::ios::binary) << original;
    std::string script =
        "NAME\toriginal.bin\texpanded.bin\r\nSIZE\t400000\t400000\r\nHEADER\t0\r\n";
    char line[96];
    for (int i = 0; i < kDirectiveLines; ++i) {
        const std::uint32_t address = static_cast<std::uint32_t>(i) * kStep;
        switch (i % 3) {
        case 0:
            std::snprintf(line, sizeof line, "COPY\t%X\t%X\r\n", address, next() % kImageSize);
            break;
        case 1: std::snprintf(line, sizeof line, "FILL\t%X\t%X\r\n", address, next() >> 24); break;
        default:
            std::snprintf(line, sizeof line, "REPLACE\t%X\t%X\t%X\t%X\r\n", address, next() >> 24,
                          next() >> 24, next() >> 24);
            break;
        }
        script += line;
    }
    std::ofstream(folder / "Kelbrin.txt", std::ios::binary) << script;
}

double Seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

fs::path BesideThisProgram(const char* name) {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path() / name;
}

// Starts `commandLine`, its output to the null device, and returns its process.
PROCESS_INFORMATION Start(const std::string& commandLine, HANDLE nul) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &process)) {
        std::fprintf(stderr, "cannot start %s\n", commandLine.c_str());
        std::exit(1);
    }
    return process;
}

void Finish(PROCESS_INFORMATION& process) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

HWND ShownWindowOf(DWORD processId) {
    struct Search {
        DWORD Process;
        HWND Found;
    } search{processId, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM data) {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s.Process && ::IsWindowVisible(window)) {
                s.Found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// From CreateProcess to the first visible window of Kelbrin.exe, which is then closed.
double StartUpSeconds(HANDLE nul) {
    const auto start = Clock::now();
    PROCESS_INFORMATION process = Start('"' + BesideThisProgram("Kelbrin.exe").string() + '"', nul);
    HWND window = nullptr;
    while ((window = ShownWindowOf(process.dwProcessId)) == nullptr) {
        ::Sleep(1);
    }
    const double seconds = Seconds(Clock::now() - start);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    Finish(process);
    return seconds;
}

double Time(const std::function<void()>& action) {
    const auto start = Clock::now();
    action();
    return Seconds(Clock::now() - start);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("Usage: kelbrin-win32-bench WORKDIR [REPEAT]\n", stderr);
        return 2;
    }
    const fs::path folder = fs::absolute(fs::path(argv[1]) / "W2");
    const int repeat = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE nul =
        ::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      &inherited, OPEN_EXISTING, 0, nullptr);
    PrepareW2(folder);
    const std::string directory = folder.string();

    kelbrin::win32::Win32Desktop desktop;
    kelbrin::frmKelbrin window(desktop, directory);
    window.Show();
    kelbrin::win32::PumpPendingMessages();
    HWND button = ::GetDlgItem(
        ::GetDlgItem(::FindWindowW(nullptr, L"Kelbrin"),
                     kelbrin::win32::ChildId(kelbrin::form::frmKelbrin::fraDownloader)),
        kelbrin::win32::ChildId(kelbrin::form::frmKelbrin::cmdExpand1));
    std::FILE* nothing = std::fopen("NUL", "wb");
    const std::string cli = '"' + BesideThisProgram("kelbrin-cli.exe").string() + '"';

    std::vector<double> startUp, fromWindow, asCommandLine, cliProcess, cliStart;
    for (int i = 0; i < repeat; ++i) {
        startUp.push_back(StartUpSeconds(nul));
        fromWindow.push_back(Time([&] { ::SendMessageW(button, BM_CLICK, 0, 0); }));
        if (!window.LastRun() || !window.LastRun()->Done()) {
            std::fputs("the run from the window did not end in Expansion Done\n", stderr);
            return 1;
        }
        asCommandLine.push_back(Time([&] {
            kelbrin::ConsoleWindow console(nothing, nothing);
            kelbrin::Expand(kelbrin::HeaderChoice::IgnoreOrRemove, directory, console);
        }));
        cliProcess.push_back(Time([&] {
            PROCESS_INFORMATION process =
                Start(cli + " --remove-header --dir \"" + directory + '"', nul);
            Finish(process);
        }));
        cliStart.push_back(Time([&] {
            PROCESS_INFORMATION process = Start(cli + " --version", nul);
            Finish(process);
        }));
    }
    std::printf("Kelbrin.exe under this system, median of %d\n", repeat);
    std::printf("  start-up to a shown window          %7.3f s\n", Median(startUp));
    std::printf("  W2 run from the window              %7.3f s\n", Median(fromWindow));
    std::printf("  W2 run as kelbrin-cli makes it      %7.3f s  (same process, output to NUL)\n",
                Median(asCommandLine));
    std::printf("  kelbrin-cli.exe W2, whole process   %7.3f s  (of which %.3f s starting a "
                "process: --version)\n",
                Median(cliProcess), Median(cliStart));
    std::printf("  window run / command-line run       %7.2f  (target: at most 1.2)\n",
                Median(fromWindow) / Median(asCommandLine));
    return 0;
}
