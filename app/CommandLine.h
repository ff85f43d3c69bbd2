#pragma once

#include <CLI/CLI.hpp>
#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kelbrin {

// A command line of options, each declared once with CLI11: its help text, its value's check and
// what it cannot go with. Its problems are said as every usage error of the program says them
// ("unknown argument '-x'", "--dir given more than once", or the option's own words); none of
// CLI11's exit codes leaves it.
class CommandLine {
public:
    // `usage` holds the forms of the command, `about` what it does, `footer` what the help says
    // after the options.
    CommandLine(std::string usage, std::string about, std::string footer);

    // Where the options are declared, in the order the help lists them. An option refuses a
    // value by throwing CLI::ValidationError with the whole problem as its message; an empty
    // value ("--dir=", or a value left out at the end) reaches it as "", to be refused so. An
    // option that collects a list may be repeated; any other is given once. An option that needs
    // another (CLI::Option::needs) is an unknown argument without it.
    CLI::App& Options() { return app_; }

    // `option` cannot go with any of `others`; `why` is the problem then. Without a why, the
    // others belong to other forms of the command: beside `option` each is an unknown argument.
    void Excludes(CLI::Option* option, std::initializer_list<CLI::Option*> others,
                  std::string why = {});

    // `option` belongs to each of `forms`: without one of them it is an unknown argument.
    void NeedsOneOf(CLI::Option* option, std::initializer_list<CLI::Option*> forms);

    // Reads the arguments (the program's name left out) into the declared variables; the
    // problem, or nothing when they are fine.
    std::optional<std::string> Read(const std::vector<std::string>& args);

    // The forms, what the command does, the options as declared, and the footer.
    std::string Help() const;

private:
    struct Exclusion {
        CLI::Option* Option;
        std::vector<CLI::Option*> Others;
        std::string Why;
    };

    std::vector<std::string> Spelled(const std::vector<std::string>& args,
                                     std::set<std::string>& unknown) const;
    std::optional<std::string> Excluded() const;
    std::optional<std::string> Unneeded() const;
    std::optional<std::string> Formless() const;

    CLI::App app_;
    std::vector<Exclusion> exclusions_;
    std::vector<std::pair<CLI::Option*, std::vector<CLI::Option*>>> forms_;
};

} // namespace kelbrin
