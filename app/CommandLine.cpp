#include "CommandLine.h"

#include <algorithm>
#include <memory>
#include <set>
#include <utility>

namespace kelbrin {

namespace {

// The help as the manual page is made from it: the forms ("Usage:"), what the command does, the
// options ("Options:", each with its value's name), then the footer.
class HelpLayout : public CLI::Formatter {
public:
    explicit HelpLayout(std::string usage) : usage_(std::move(usage)) { column_width(25); }

    std::string make_help(const CLI::App* app, std::string,
                          CLI::AppFormatMode mode) const override {
        // One empty line before the footer, however many groups CLI11 ended.
        std::string options = make_groups(app, mode);
        options.erase(options.find_last_not_of('\n') + 1);
        return usage_ + "\n" + app->get_description() + options + "\n\n" + app->get_footer();
    }

    // "-h, --help", as GNU programs and help2man write the spellings of one option.
    std::string make_option_name(const CLI::Option* option, bool positional) const override {
        std::string names;
        for (const char c : CLI::Formatter::make_option_name(option, positional)) {
            names += c == ',' ? ", " : std::string(1, c);
        }
        return names;
    }

    // CLI11 would add what the option needs and excludes: the problems say that.
    std::string make_option_opts(const CLI::Option* option) const override {
        if (!option->get_option_text().empty()) {
            return " " + option->get_option_text();
        }
        return option->get_type_size() != 0 ? " " + option->get_type_name() : "";
    }

private:
    std::string usage_;
};

std::string Unknown(const std::string& arg) {
    return "unknown argument '" + arg + "'";
}

} // namespace

CommandLine::CommandLine(std::string usage, std::string about, std::string footer)
    : app_(std::move(about)) {
    app_.formatter(std::make_shared<HelpLayout>(std::move(usage)));
    app_.footer(std::move(footer));
    // The program declares its own -h and --help, and says itself what it could not place.
    app_.set_help_flag();
    app_.allow_extras();
    // "--force=no" is no spelling of an option.
    app_.option_defaults()->disable_flag_override();
}

void CommandLine::Excludes(CLI::Option* option, std::initializer_list<CLI::Option*> others,
                           std::string why) {
    for (CLI::Option* other : others) {
        option->excludes(other);
    }
    exclusions_.push_back({option, others, std::move(why)});
}

// CLI11 2.1 reads some spellings otherwise than this program does: "--dir=" as "--dir" that takes
// the next argument for its value, "--force=" and "--force=true" as "--force", "-hh" as "-h -h", a
// "-" or "-1" as a file, and a value left out at the end in words of its own. Before "--" ends the
// options, an argument that is no option's value is put as the program reads it: an empty value
// as "", and the others into `unknown`, left out of what CLI11 reads.
std::vector<std::string> CommandLine::Spelled(const std::vector<std::string>& args,
                                              std::set<std::string>& unknown) const {
    const auto takesValue = [this](const std::string& name) {
        const CLI::Option* option =
            name.starts_with("--") ? app_.get_option_no_throw(name) : nullptr;
        return option != nullptr && option->get_items_expected_min() > 0;
    };
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    std::vector<std::string> spelled;
    for (auto arg = args.begin(); arg != optionsEnd; ++arg) {
        const std::string name = arg->substr(0, arg->find('='));
        const bool value = arg != args.begin() && takesValue(arg[-1]);
        // NOLINTNEXTLINE(bugprone-branch-clone): each spelling is a case, several kept whole
        if (value || !arg->starts_with('-')) {
            spelled.push_back(*arg);
        } else if (!arg->starts_with("--")) {
            // The program's short options stand alone.
            if (app_.get_option_no_throw(*arg) != nullptr) {
                spelled.push_back(*arg);
            } else {
                unknown.insert(*arg);
            }
        } else if (name == *arg || app_.get_option_no_throw(name) == nullptr) {
            spelled.push_back(*arg);
        } else if (!takesValue(name)) {
            unknown.insert(*arg); // a flag takes no value
        } else if (name.size() + 1 == arg->size()) {
            spelled.insert(spelled.end(), {name, ""});
        } else {
            spelled.push_back(*arg);
        }
    }
    if (optionsEnd == args.end() && !args.empty() && takesValue(args.back()) &&
        !(args.size() > 1 && takesValue(args.end()[-2]))) {
        spelled.emplace_back();
    }
    spelled.insert(spelled.end(), optionsEnd, args.end());
    return spelled;
}

void CommandLine::NeedsOneOf(CLI::Option* option, std::initializer_list<CLI::Option*> forms) {
    forms_.emplace_back(option, forms);
}

std::optional<std::string> CommandLine::Excluded() const {
    // An option of another form of the command is unknown beside this one, whatever else the
    // line holds: that comes first.
    for (const bool otherForm : {true, false}) {
        for (const Exclusion& exclusion : exclusions_) {
            if (exclusion.Why.empty() != otherForm || exclusion.Option->count() == 0) {
                continue;
            }
            for (const CLI::Option* other : exclusion.Others) {
                if (other->count() > 0) {
                    return otherForm ? Unknown(other->get_name()) : exclusion.Why;
                }
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> CommandLine::Unneeded() const {
    for (const CLI::Option* option : app_.get_options()) {
        const auto& needs = option->get_needs();
        if (option->count() > 0 && std::ranges::any_of(needs, [](const CLI::Option* needed) {
                return needed->count() == 0;
            })) {
            return Unknown(option->get_name());
        }
    }
    return std::nullopt;
}

std::optional<std::string> CommandLine::Formless() const {
    for (const auto& [option, forms] : forms_) {
        if (option->count() > 0 && std::ranges::none_of(forms, [](const CLI::Option* form) {
                return form->count() > 0;
            })) {
            return Unknown(option->get_name());
        }
    }
    return std::nullopt;
}

std::optional<std::string> CommandLine::Read(const std::vector<std::string>& args) {
    std::set<std::string> unknown;
    const std::vector<std::string> spelled = Spelled(args, unknown);
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(spelled.rbegin(), spelled.rend());
    std::optional<std::string> problem;
    try {
        app_.parse(reversed);
    } catch (const CLI::ExcludesError& error) {
        problem = Excluded().value_or(error.what());
    } catch (const CLI::RequiresError& error) {
        problem = Unneeded().value_or(error.what());
    } catch (const CLI::ParseError& error) {
        problem = error.what();
    }
    // CLI11 reads every argument before it checks any: an argument it could not place (the first
    // on the line) and an option given twice come before what it found wrong, as a person reading
    // the line meets them. "--" is among CLI11's rest, and ends the search.
    for (const std::string& rest : app_.remaining()) {
        unknown.insert(rest);
    }
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    const auto first = std::find_if(args.begin(), optionsEnd, [&unknown](const std::string& arg) {
        return unknown.contains(arg);
    });
    if (first != optionsEnd) {
        return Unknown(*first);
    }
    for (const CLI::Option* option : app_.get_options()) {
        // One use of an option holds at most its number of values; a list takes any number.
        if (option->nonpositional() &&
            option->count() >
                static_cast<std::size_t>(std::max(1, option->get_items_expected_max()))) {
            return option->get_name() + " given more than once";
        }
    }
    return problem ? problem : Formless();
}

std::string CommandLine::Help() const {
    return app_.help();
}

} // namespace kelbrin
