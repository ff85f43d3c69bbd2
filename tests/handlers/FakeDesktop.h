#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "Desktop.h"

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

class FakeDesktop;

// A window as a toolkit would show it, written down: what each control shows now, as the
// handlers set it. It starts as its description draws it, and tells its handlers of clicks,
// menu choices and drops the way a toolkit's host does.
class FakePort final : public FormPort {
public:
    FakePort(FakeDesktop& desktop, const form::Form& description, FormEvents& events,
             FakePort* owner);
    ~FakePort() override;
    FakePort(const FakePort&) = delete;
    FakePort& operator=(const FakePort&) = delete;

    struct Shown {
        std::string Caption;
        std::string Text;
        bool Enabled = true;
        bool Visible = true;
        form::Picture Picture = form::Picture::None;
        std::string PathTip;
        form::Drawing Drawn;
        // What screen readers were told to say of it, in order.
        std::vector<std::string> Announced;
    };
    const form::Form& Description;
    FakePort* const Owner;
    std::map<form::ControlId, Shown> Controls;
    std::map<form::MenuId, bool> ItemEnabled;
    std::optional<form::ControlId> Focus;
    std::string TitleName;
    bool TakesDrops = false;
    bool Open = false;
    int Shows = 0;

    // What the user does: the host passes each on to the form's handlers, also when it was
    // queued before its control was locked.
    void Click(form::ControlId control) { events_.Click(control); }
    void Choose(form::MenuId item) { events_.Choose(item); }
    void Drop(const std::string& path) { events_.DragDrop(path); }
    // The close box: the window goes when its handlers let it.
    void CloseBox() {
        if (events_.QueryClose()) {
            Open = false;
        }
    }
    const Shown& Of(form::ControlId control) const { return Controls.at(control); }
    bool Enabled(form::MenuId item) const { return ItemEnabled.at(item); }

    void SetCaption(form::ControlId control, const std::string& caption) override {
        Controls.at(control).Caption = caption;
    }
    void Announce(form::ControlId control, const std::string& caption) override {
        EXPECT_TRUE(form::ControlOf(Description, control).StatusLine)
            << "announced in no status line";
        Controls.at(control).Caption = caption;
        Controls.at(control).Announced.push_back(caption);
    }
    std::string Caption(form::ControlId control) const override { return Of(control).Caption; }
    void SetText(form::ControlId control, const std::string& text) override {
        Controls.at(control).Text = text;
    }
    std::string Text(form::ControlId control) const override { return Of(control).Text; }
    // What the user types into a text box.
    void Type(form::ControlId control, const std::string& text) {
        EXPECT_TRUE(form::ControlOf(Description, control).Editable)
            << "typed into a box that takes no text";
        Controls.at(control).Text = text;
    }
    void SetEnabled(form::ControlId control, bool enabled) override {
        Controls.at(control).Enabled = enabled;
    }
    void SetEnabled(form::MenuId item, bool enabled) override { ItemEnabled.at(item) = enabled; }
    void SetVisible(form::ControlId control, bool visible) override {
        Controls.at(control).Visible = visible;
    }
    void SetFocus(form::ControlId control) override { Focus = control; }
    void SetPicture(form::ControlId control, form::Picture picture) override {
        Controls.at(control).Picture = picture;
    }
    void SetDrawing(form::ControlId control, const form::Drawing& drawing) override {
        Controls.at(control).Drawn = drawing;
    }
    void SetTitleName(const std::string& name) override { TitleName = name; }
    void SetPathTip(form::ControlId control, const std::string& path) override {
        Controls.at(control).PathTip = path;
    }
    void TakeDrops(bool take) override { TakesDrops = take; }
    void Show() override {
        Open = true;
        ++Shows;
    }
    void ShowModal() override;
    void Close() override { Open = false; }
    bool IsOpen() const override { return Open; }

private:
    FakeDesktop& desktop_;
    FormEvents& events_;
};

// The services a toolkit gives, written down and answered as a test says. Each moment that a
// run lets events through, the actions queued for it run; its clock stands still unless a test
// moves it.
class FakeDesktop final : public Desktop {
public:
    // The windows in the order they were made, while they exist.
    std::vector<FakePort*> Windows;
    std::vector<SeenBox> Boxes;
    // The folder dialog's answers in turn (nothing: cancelled), and where it opened.
    std::deque<std::optional<std::string>> DialogAnswers;
    std::vector<std::string> DialogStarts;
    // The file dialog's answers in turn (nothing: cancelled), and its titles and starts.
    std::deque<std::optional<std::string>> FileAnswers;
    std::vector<std::string> FileDialogs;
    // The answers to questions in turn (none left: No), and the questions asked.
    std::deque<bool> Answers;
    std::vector<std::string> Questions;
    std::optional<std::string> Kept;
    bool KeepsNoSettings = false;
    std::string Clipboard;
    int EventMoments = 0;
    int EndCalls = 0;
    // The process has ended: what the program goes on to do in the fake is seen by nobody.
    bool Ended = false;
    // Looks at the world as the process ends.
    std::function<void()> AtEnd;
    std::vector<std::function<void()>> DuringEvents;
    // What the user does while a window is shown modally (nothing: closes it); it is gone
    // when ShowModal returns.
    std::function<void(FakePort&)> WhileModal;
    int ModalShows = 0;
    // The forms shown modally, by name, in order.
    std::vector<std::string> ModalForms;
    // Runs as each box comes up.
    std::function<void(const SeenBox&)> OnBox;
    mutable std::chrono::steady_clock::time_point Clock{};
    // How far the clock moves each time it is read.
    std::chrono::milliseconds Tick{0};

    // The newest window of the form with this name; nullptr when there is none.
    FakePort* Find(std::string_view formName) const;

    std::unique_ptr<FormPort> OpenForm(const form::Form& description, FormEvents& events,
                                       FormPort* owner) override;
    std::optional<std::string> ChooseFolder(FormPort& owner, const std::string& start) override;
    std::optional<std::string> ChooseFile(FormPort& owner, const std::string& title,
                                          const std::string& start) override;
    void ShowMessageBox(FormPort& owner, const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override;
    bool AskYesNo(FormPort& owner, const std::string& question, const std::string& title) override;
    void CopyToClipboard(const std::string& text) override { Clipboard = text; }
    std::optional<std::string> RememberedFolder() override { return Kept; }
    void RememberFolder(const std::string& folder) override;
    void KeepNoSettings() override { KeepsNoSettings = true; }
    void LetEventsRun() override;
    void EndProcess() override {
        ++EndCalls;
        Ended = true;
        if (AtEnd) {
            AtEnd();
        }
    }
    std::chrono::steady_clock::time_point Now() const override { return Clock += Tick; }
};

} // namespace kelbrin::test
