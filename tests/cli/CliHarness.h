#pragma once

#include <filesystem>
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
