#pragma once

#include <string>

namespace kelbrin {

enum class MessageBoxIcon { None, Stop };

// Where modal boxes with a single OK button appear. The window shows a real dialog; the
// command line prints the text. Show returns once the box has been dismissed.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void ShowMessageBox(const std::string& message, const std::string& title,
                                MessageBoxIcon icon) = 0;
};

} // namespace kelbrin
