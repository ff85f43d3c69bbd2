#include "CommandLine.h"

#include <algorithm>
#include <memory>
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

// CLI11 2.1 reads "--dir=" as "--dir" and takes the next argument for its value, and says in words
// of its own that a value left out at the end is missing. Both are an empty value here, which the
// option's own check refuses in its words.
std::vector<std::string> CommandLine::WithEmptyValues(const std::vector<std::string>& args) const {
    const auto takesValue = [this](const std::string& arg) {
        const CLI::Option* option = arg.starts_with("--") ? app_.get_option_no_throw(arg) : nullptr;
        return option != nullptr && option->get_items_expected_min() > 0;
    };
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    std::vector<std::string> spelled;
    for (auto arg = args.begin(); arg != args.end(); ++arg) {
        if (arg < optionsEnd && arg->ends_with('=') &&
            takesValue(arg->substr(0, arg->size() - 1))) {
            spelled.insert(spelled.end(), {arg->substr(0, arg->size() - 1), ""});
        } else {
            spelled.push_back(*arg);
        }
    }
    if (optionsEnd == args.end() && !args.empty() && takesValue(args.back())) {
        spelled.emplace_back();
    }
    return spelled;
}

std::optional<std::string> CommandLine::Excluded() const {
    for (const Exclusion& exclusion : exclusions_) {
        if (exclusion.Option->count() == 0) {
            continue;
        }
        for (const CLI::Option* other : exclusion.Others) {
            if (other->count() > 0) {
                return exclusion.Why.empty() ? Unknown(other->get_name()) : exclusion.Why;
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

std::optional<std::string> CommandLine::Read(const std::vector<std::string>& args) {
    const std::vector<std::string> spelled = WithEmptyValues(args);
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
    // CLI11 reads every argument before it checks any: an argument it could not place and an
    // option given twice come before what it found wrong, as a person reading the line meets them.
    // "--" stays among the rest once it has ended the options.
    for (const std::string& rest : app_.remaining()) {
        if (rest != "--") {
            return Unknown(rest);
        }
    }
    for (const CLI::Option* option : app_.get_options()) {
        // One use of an option holds at most its number of values; a list takes any number.
        if (option->nonpositional() &&
            option->count() >
                static_cast<std::size_t>(std::max(1, option->get_items_expected_max()))) {
            return option->get_name() + " given more than once";
        }
    }
    return problem;
}

std::string CommandLine::Help() const {
    return app_.help();
}

} // namespace kelbrin
