#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "TempFolder.h"

namespace kelbrin::test {

// Scripts are written with CR LF, as patch authors ship them.
inline std::string ScriptOf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// Every file of a folder and what it holds, to show what a command wrote and what it left.
inline std::map<std::string, std::string> FilesIn(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files[entry.path().filename().string()] = ReadFile(entry.path()).value_or("");
    }
    return files;
}

inline ProgramResult RunCli(const std::vector<std::string>& args, const std::string& cwd = "") {
    return RunProgram(KELBRIN_CLI_PATH, args, cwd);
}

// A folder with a subfolder "game" that plays the program directory, so that a run which
// looks in the wrong place finds nothing.
struct GameFolder {
    TempFolder Root;
    std::string Game = Root.PathOf("game");

    GameFolder() { std::filesystem::create_directory(Game); }
    void WriteInGame(const std::string& name, const std::string& bytes) const {
        Root.Write("game/" + name, bytes);
    }
};

} // namespace kelbrin::test
