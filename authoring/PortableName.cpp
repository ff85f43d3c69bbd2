#include "PortableName.h"

#include <algorithm>

#include "FolderPaths.h"

namespace kelbrin {

std::optional<std::string> WhyNotPortable(std::string_view name) {
    if (NamesWindowsDevice(name)) {
        return "is a name Windows keeps for a device, which a run there refuses: choose another";
    }
    // A run joins the name to its folder's path, where any ':' after the drive names a hidden
    // stream of another file (NamesAlternateStream), which the file layer refuses.
    if (name.find(':') != std::string_view::npos) {
        return "holds a ':', which Windows reads as a hidden part of another file, so that a run "
               "there refuses it: choose another name";
    }
    if (name.find_first_of("<>\"|?*") != std::string_view::npos) {
        return "holds one of the characters < > \" | ? *, which Windows never takes in a file "
               "name: choose another name";
    }
    if (std::any_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        return "holds characters beyond ASCII, which Windows reads in its ANSI code page and "
               "Linux as UTF-8, so that players on the other system look for another file: use "
               "ASCII letters, digits and punctuation only";
    }
    return std::nullopt;
}

} // namespace kelbrin
