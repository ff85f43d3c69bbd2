#pragma once

#include <optional>
#include <set>
#include <string>

namespace kelbrin {

// The options of one command line so far. Each is given once: a second time is a usage error,
// the same for every option and whichever its spelling (--dir DIR or --dir=DIR, -h or --help).
class GivenOptions {
public:
    // Notes the option `arg`; the problem when it was given already.
    std::optional<std::string> Note(const std::string& arg) {
        std::string name = arg.substr(0, arg.find('='));
        if (name == "-h") {
            name = "--help";
        }
        if (!names_.insert(name).second) {
            return name + " given more than once";
        }
        return std::nullopt;
    }

private:
    std::set<std::string> names_;
};

} // namespace kelbrin
