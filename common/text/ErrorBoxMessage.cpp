#include "General_Routines.h"

namespace kelbrin {

std::string ErrorBoxMessage(const std::string& context, const std::string& fileName,
                            const RuntimeError& current) {
    const std::string number = std::to_string(current.Number());
    const std::string_view fileLine = "\r\n\r\nFilename accessed -> ";
    // The context may quote a script line of any length: the message is made in one piece of
    // its final size, not grown copy by copy.
    std::string message;
    message.reserve(32 + number.size() + current.Description().size() + context.size() +
                    (fileName.empty() ? 0 : fileLine.size() + fileName.size()));
    message.append("Error #").append(number).append(" -> ").append(current.Description());
    message.append("\r\n\r\n").append(context);
    if (!fileName.empty()) {
        message.append(fileLine).append(fileName);
    }
    return message;
}

} // namespace kelbrin
