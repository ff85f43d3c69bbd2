#include "FakeDesktop.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <utility>

namespace kelbrin::test {

FakePort::FakePort(FakeDesktop& desktop, const form::Form& description, FormEvents& events,
                   FakePort* owner)
    : Description(description), Owner(owner), desktop_(desktop), events_(events) {
    for (const form::Control& control : description.Controls) {
        Controls[control.Id] = {
            std::string(control.Caption),
            control.Kind == form::ControlKind::TextBox ? std::string(control.Caption) : "",
            true,
            control.Visible,
            control.Shows,
            "",
            {},
            {}};
    }
    for (const form::Menu& menu : description.Menus) {
        for (const form::MenuItem& item : menu.Items) {
            ItemEnabled[item.Id] = true;
        }
    }
    // As the toolkits' hosts do: the first control of the tab order has the focus at the start.
    if (!description.TabOrder.empty()) {
        Focus = description.TabOrder.front();
    }
    desktop_.Windows.push_back(this);
}

FakePort::~FakePort() {
    std::erase(desktop_.Windows, this);
}

void FakePort::ShowModal() {
    EXPECT_NE(Owner, nullptr) << "a modal window without an owner";
    Show();
    ++desktop_.ModalShows;
    desktop_.ModalForms.emplace_back(Description.Name);
    if (desktop_.WhileModal) {
        desktop_.WhileModal(*this);
    } else {
        Close();
    }
    EXPECT_FALSE(Open) << "a modal window returned before it was closed";
    Open = false;
}

FakePort* FakeDesktop::Find(std::string_view formName) const {
    const auto found = std::find_if(Windows.rbegin(), Windows.rend(), [formName](FakePort* w) {
        return w->Description.Name == formName;
    });
    return found == Windows.rend() ? nullptr : *found;
}

std::unique_ptr<FormPort> FakeDesktop::OpenForm(const form::Form& description, FormEvents& events,
                                                FormPort* owner) {
    return std::make_unique<FakePort>(*this, description, events, static_cast<FakePort*>(owner));
}

std::optional<std::string> FakeDesktop::ChooseFolder(FormPort& owner, const std::string& start) {
    EXPECT_TRUE(owner.IsOpen()) << "a folder dialog over a window that is not shown";
    DialogStarts.push_back(start);
    if (DialogAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = std::move(DialogAnswers.front());
    DialogAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakeDesktop::ChooseFile(FormPort& owner, const std::string& title,
                                                   const std::string& start) {
    EXPECT_TRUE(owner.IsOpen()) << "a file dialog over a window that is not shown";
    FileDialogs.push_back(title + " in " + start);
    if (FileAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = std::move(FileAnswers.front());
    FileAnswers.pop_front();
    return answer;
}

bool FakeDesktop::AskYesNo(FormPort& owner, const std::string& question, const std::string& title) {
    EXPECT_TRUE(owner.IsOpen()) << "a question over a window that is not shown: " << question;
    Questions.push_back(title + ": " + question);
    if (Answers.empty()) {
        return false;
    }
    const bool yes = Answers.front();
    Answers.pop_front();
    return yes;
}

void FakeDesktop::ShowMessageBox(FormPort& owner, const std::string& message,
                                 const std::string& title, MessageBoxIcon icon) {
    if (Ended) {
        return;
    }
    EXPECT_TRUE(owner.IsOpen()) << "a box over a window that is not shown: " << message;
    Boxes.push_back({title, message, icon});
    if (OnBox) {
        OnBox(Boxes.back());
    }
}

void FakeDesktop::RememberFolder(const std::string& folder) {
    EXPECT_FALSE(KeepsNoSettings) << "a portable copy kept " << folder;
    Kept = folder;
}

void FakeDesktop::LetEventsRun() {
    ++EventMoments;
    for (auto& action : std::exchange(DuringEvents, {})) {
        action();
    }
}

} // namespace kelbrin::test
