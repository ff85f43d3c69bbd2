#include "ContextTexts.h"

#include "General_Routines.h"

namespace kelbrin::ContextText {

std::string Script() {
    return "Can't open 'Kelbrin.txt' file";
}

// Messages name a file by the last part of its name in the script.
std::string Original(const std::string& name) {
    return "Can't open Original ROM file: '" + FileNamePart(name) + "'";
}

std::string Expanded(const std::string& name) {
    return "Can't save to Expanded ROM file: '" + FileNamePart(name) + "'";
}

std::string SizeLine() {
    return "Issue with SIZE line";
}

std::string HeaderLine() {
    return "Issue with HEADER line";
}

std::string DirectiveLine(std::int32_t lineNumber) {
    return "Issue with line # " + std::to_string(lineNumber);
}

} // namespace kelbrin::ContextText
