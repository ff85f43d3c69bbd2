#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FakeDesktop.h"
#include "RunFolder.h"
#include "frmKelbrin.h"

namespace kelbrin::test {

// A folder beside the program's with a script and an original of its own.
struct GameFolder {
    TempFolder Folder;
    GameFolder() { WriteGame(Folder); }
    const std::string& Path() const { return Folder.Path(); }
};

inline const std::string kBrokenLine5Box =
    "Error #0 -> \r\n\r\nCopy, Fill, or Replace missing on start of line 5: \r\nFIL";

// The main window shown on a fake desktop. The program lies in a folder of its own, which
// holds a script (a portable copy) or not (an installed one); `Kept` is the folder remembered
// from last time.
struct MainForm {
    struct Start {
        bool Portable = false;
        std::optional<std::string> StartPath{};
        std::optional<std::string> Kept{};
    };

    TempFolder ProgramFolder;
    FakeDesktop Desktop;
    std::optional<frmKelbrin> Form;

    explicit MainForm(const Start& start) {
        if (start.Portable) {
            WriteGame(ProgramFolder);
        }
        Desktop.Kept = start.Kept;
        Form.emplace(Desktop, ProgramFolder.Path(), start.StartPath);
        Form->Show();
    }

    FakePort& Window() const { return *Desktop.Find("frmKelbrin"); }
    const std::string& Status() const { return Window().Of(form::frmKelbrin::lblStatus).Caption; }
    bool MD5RowShown() const {
        const bool label = Window().Of(form::frmKelbrin::lblMD5).Visible;
        EXPECT_EQ(Window().Of(form::frmKelbrin::txtMD5).Visible, label);
        return label;
    }
    void Press(std::int16_t index) { Window().Click(form::frmKelbrin::cmdExpand(index)); }
    void Choose(form::MenuId item) { Window().Choose(item); }
    void Drop(const std::string& path) { Window().Drop(path); }
    // Runs `action` at the next moment a run lets events through.
    void DuringRun(std::function<void()> action) {
        Desktop.DuringEvents.push_back(std::move(action));
    }
};

} // namespace kelbrin::test
