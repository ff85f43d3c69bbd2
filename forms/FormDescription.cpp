#include "FormDescription.h"

#include <algorithm>
#include <stdexcept>

namespace kelbrin::form {

std::optional<Colour> TextColour(const Control& control) {
    if (control.Fore) {
        return control.Fore;
    }
    if (control.Back) {
        return kFixedText;
    }
    return std::nullopt;
}

const Control& ControlOf(const Form& form, ControlId id) {
    const Control& control = form.Controls.at(static_cast<std::size_t>(id.Index()));
    if (control.Id != id) {
        throw std::logic_error(std::string(form.Name) + " lists " + std::string(control.Name) +
                               " out of the order of its names");
    }
    return control;
}

const MenuItem& MenuItemOf(const Form& form, MenuId id) {
    for (const Menu& menu : form.Menus) {
        for (const MenuItem& item : menu.Items) {
            if (item.Id == id) {
                return item;
            }
        }
    }
    throw std::logic_error(std::string(form.Name) + " has no such menu item");
}

std::string SpokenName(const Form& form, const Control& control) {
    if (!control.AccessibleName.empty()) {
        return std::string(control.AccessibleName);
    }
    if (!control.LabelledBy) {
        return {};
    }
    std::string name;
    for (const char c : ControlOf(form, *control.LabelledBy).Caption) {
        if (c != '&') {
            name += c;
        }
    }
    while (!name.empty() && (name.back() == ':' || name.back() == ' ')) {
        name.pop_back();
    }
    return name;
}

std::vector<const Control*> StackingOrder(const Form& form, std::optional<ControlId> parent) {
    std::vector<const Control*> order;
    for (const Control& control : form.Controls) {
        if (control.Parent == parent) {
            order.push_back(&control);
        }
    }
    std::stable_partition(order.begin(), order.end(),
                          [](const Control* c) { return IsDrawnOnParent(c->Kind); });
    return order;
}

} // namespace kelbrin::form
