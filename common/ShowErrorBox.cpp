#include "common/General_Routines.h"

namespace kelbrin {

std::string ErrorBoxMessage(const std::string& context, const std::string& fileName,
                            const RuntimeError& current) {
    std::string message = "Error #" + std::to_string(current.Number()) + " -> " +
                          current.Description() + "\r\n\r\n" + context;
    if (!fileName.empty()) {
        message += "\r\n\r\nFilename accessed -> " + fileName;
    }
    return message;
}

void ShowErrorBox(const std::string& context, const std::string& fileName,
                  const RuntimeError& current, MessageBox& box) {
    box.ShowMessageBox(ErrorBoxMessage(context, fileName, current), "Error", MessageBoxIcon::Stop);
}

} // namespace kelbrin
