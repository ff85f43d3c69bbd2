#include "ShowErrorBox.h"

#include "General_Routines.h"

namespace kelbrin {

std::string ShowErrorBox(const std::string& context, const std::string& fileName,
                         const RuntimeError& current, RunWindow& window) {
    std::string message = ErrorBoxMessage(context, fileName, current);
    window.ShowMessageBox(message, "Error", MessageBoxIcon::Stop);
    return message;
}

} // namespace kelbrin
