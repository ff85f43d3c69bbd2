#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "RunFolder.h"
#include "frmKelbrin.h"

namespace kelbrin::test {

struct SeenBox {
    std::string Title;
    std::string Message;
    MessageBoxIcon Icon = MessageBoxIcon::None;
    bool operator==(const SeenBox&) const = default;
};

inline void PrintTo(const SeenBox& box, std::ostream* os) {
    *os << box.Title << (box.Icon == MessageBoxIcon::Stop ? " (stop): " : ": ") << box.Message;
}

// The main window as a toolkit would show it, written down: what its controls show now, and
// what it was asked for. Each moment a run gives for events, the actions queued for it run.
class FakeKelbrinWindow : public KelbrinWindowPort {
public:
    std::string Status;
    std::string TitleName;
    std::string FolderTip;
    bool MD5RowShown = false;
    std::string MD5;
    std::map<form::ControlId, bool> ControlEnabled;
    std::map<form::MenuId, bool> ItemEnabled;
    std::optional<form::ControlId> Focus;
    std::vector<SeenBox> Boxes;
    std::vector<std::string> InfoReports;
    // The folder dialog's answers in turn (nothing: cancelled), and where it opened.
    std::deque<std::optional<std::string>> DialogAnswers;
    std::vector<std::string> DialogStarts;
    std::optional<std::string> Kept;
    bool KeepsNoSettings = false;
    int HowToShown = 0;
    int Quits = 0;
    int Ends = 0;
    std::vector<std::function<void()>> DuringEvents;

    void SetStatus(const std::string& text) override { Status = text; }
    void ShowMD5(const std::string& digest) override {
        MD5 = digest;
        MD5RowShown = true;
    }
    void HideMD5() override { MD5RowShown = false; }
    void LetEventsRun() override {
        for (auto& action : std::exchange(DuringEvents, {})) {
            action();
        }
    }
    void ShowMessageBox(const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override {
        Boxes.push_back({title, message, icon});
    }
    void SetEnabled(form::ControlId control, bool enabled) override {
        ControlEnabled[control] = enabled;
    }
    void SetEnabled(form::MenuId item, bool enabled) override { ItemEnabled[item] = enabled; }
    void GiveFocus(form::ControlId control) override { Focus = control; }
    std::string Caption(form::ControlId control) const override {
        return std::string(form::ControlOf(control).Caption);
    }
    void ShowAboutBox(const std::string& text) override {
        Boxes.push_back({std::string(form::kAboutTitle), text, MessageBoxIcon::None});
    }
    void ShowHowToWindow() override { ++HowToShown; }
    void Quit() override { ++Quits; }
    void EndProgram() override { ++Ends; }
    std::optional<std::string> ChooseFolder(const std::string& start) override {
        DialogStarts.push_back(start);
        if (DialogAnswers.empty()) {
            return std::nullopt;
        }
        auto answer = DialogAnswers.front();
        DialogAnswers.pop_front();
        return answer;
    }
    void ShowFolder(const std::string& path, const std::string& name) override {
        FolderTip = path;
        TitleName = name;
    }
    void ShowInfoWindow(const std::string& report) override { InfoReports.push_back(report); }
    std::optional<std::string> RememberedFolder() override { return Kept; }
    void RememberFolder(const std::string& folder) override {
        EXPECT_FALSE(KeepsNoSettings);
        Kept = folder;
    }
    void KeepNoSettings() override { KeepsNoSettings = true; }

    bool Enabled(form::MenuId item) const {
        return !ItemEnabled.contains(item) || ItemEnabled.at(item);
    }
};

// Puts a headered original into `folder` and a script that expands it to 8 bytes at line 4,
// followed by `more` lines.
inline void WriteGame(const TempFolder& folder, const std::string& sizeLine = kSizeLine,
                      const std::vector<std::string>& more = {}) {
    folder.Write("orig.nes", ForeignHeader() + Image(0x40));
    std::vector<std::string> lines{kNameLine, sizeLine, kHeaderLine, kCopyLine};
    lines.insert(lines.end(), more.begin(), more.end());
    folder.Write("Kelbrin.txt", Join(lines, "\r\n"));
}

// A folder beside the program's with a script and an original of its own.
struct GameFolder {
    TempFolder Folder;
    GameFolder() { WriteGame(Folder); }
    const std::string& Path() const { return Folder.Path(); }
};

// Breaks the run at line 5, after it has let events through once.
inline const std::vector<std::string> kBrokenLine5{"FIL\t4\t0"};

// The main window's handlers on a fake window. The program lies in a folder of its own, which
// holds a script (a portable copy) or not (an installed one); `kept` is the folder remembered
// from last time.
struct MainForm {
    TempFolder ProgramFolder;
    FakeKelbrinWindow Window;
    std::optional<frmKelbrin> Form;

    struct Start {
        bool Portable = false;
        std::optional<std::string> StartPath{};
        std::optional<std::string> Kept{};
    };
    explicit MainForm(const Start& start) {
        if (start.Portable) {
            WriteGame(ProgramFolder);
        }
        Window.Kept = start.Kept;
        Form.emplace(Window, ProgramFolder.Path(), start.StartPath);
        Form->Form_Load();
    }

    // The menu item, as its click reaches the form.
    void Choose(form::MenuId item) {
        using form::MenuId;
        switch (item) {
        case MenuId::mnuFile_Expand0: Form->mnuFile_Expand_Click(0); break;
        case MenuId::mnuFile_Expand1: Form->mnuFile_Expand_Click(1); break;
        case MenuId::mnuFile_Folder: Form->mnuFile_Folder_Click(); break;
        case MenuId::mnuFile_Info: Form->mnuFile_Info_Click(); break;
        case MenuId::mnuFile_Exit: Form->mnuFile_Exit_Click(); break;
        case MenuId::mnuHelp_HowTo: Form->mnuHelp_HowTo_Click(); break;
        case MenuId::mnuHelp_About: Form->mnuHelp_About_Click(); break;
        default: break;
        }
    }
    void Press(std::int16_t index) { Form->cmdExpand_Click(index); }
    void Drop(const std::string& path) { Form->Form_DragDrop(path); }
    // Runs `action` at the next moment a run lets events through.
    void DuringRun(std::function<void()> action) {
        Window.DuringEvents.push_back(std::move(action));
    }
};

} // namespace kelbrin::test
