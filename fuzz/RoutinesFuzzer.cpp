// Fuzzes the field, hex and path routines against their contracts. The input is one text.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DisplayText.h"
#include "General_Routines.h"

namespace {

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

bool AllHexDigits(const std::string& text) {
    return text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

void CheckFields(const std::string& line) {
    // Taking every field and putting the tabs back gives the line again.
    std::int32_t position = 0;
    std::string joined;
    bool first = true;
    while (static_cast<std::size_t>(position) < line.size()) {
        const std::int32_t before = position;
        const std::string field = kelbrin::NextField(line, position);
        Check(position > before && static_cast<std::size_t>(position) <= line.size(),
              "NextField moves forward and stays in the line");
        Check(field.find('\t') == std::string::npos, "a field holds no tab");
        joined += (first ? "" : "\t") + field;
        first = false;
    }
    if (!line.empty() && line.back() == '\t') {
        joined += "\t";
    }
    Check(joined == line, "the fields with their tabs make up the line");
    const std::int32_t end = position;
    Check(kelbrin::NextField(line, position).empty() && position == end,
          "past the last field come empty fields");
}

void CheckHex(const std::string& text) {
    bool isHex = false;
    bool raised = false;
    try {
        isHex = kelbrin::IsHex(text);
    } catch (const kelbrin::RuntimeError& error) {
        Check(error.Number() == 6, "IsHex raises only overflow");
        raised = true;
    }
    const bool digits = !text.empty() && AllHexDigits(text);
    if (text.size() > 32767 || (text.size() == 32767 && digits)) {
        Check(raised, "IsHex overflows past its 16-bit counter");
        return;
    }
    Check(!raised && isHex == digits, "IsHex is true exactly for hex digits");

    const std::int32_t value = kelbrin::HexToLong(text);
    if (!digits) {
        const bool signedNumber = text.size() > 1 && text[0] == '-' && AllHexDigits(text.substr(1));
        if (!signedNumber) {
            Check(value == -1, "HexToLong gives -1 for a text that is no hex number");
        } else if (text.size() - 1 <= 7) {
            Check(value == -std::strtol(text.c_str() + 1, nullptr, 16), "a sign negates");
        }
    } else if (text.size() >= 8) {
        Check(value == -2, "HexToLong gives -2 for 8 or more digits");
    } else {
        Check(value == std::strtol(text.c_str(), nullptr, 16), "HexToLong reads hex");
    }
}

void CheckPath(const std::string& path) {
    const std::string folder = kelbrin::PathPart(path);
    const std::string name = kelbrin::FileNamePart(path);
    Check(folder + name == path, "a path is its folder and its name");
    Check(folder.empty() || folder.back() == '\\', "the folder part ends in a backslash");
    Check(name.find('\\') == std::string::npos, "the name part holds no backslash");
}

void CheckDisplay(const std::string& bytes) {
    const std::string shown = kelbrin::DisplayText(bytes);
    Check(kelbrin::DisplayText(shown) == shown, "displayed text is valid UTF-8");
    bool ascii = true;
    for (const char c : bytes) {
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    }
    Check(!ascii || shown == bytes, "ASCII is shown as it is");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckFields(text);
    CheckHex(text);
    CheckPath(text);
    CheckDisplay(text);
    return 0;
}
