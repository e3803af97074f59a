#include "commandline/parse_problem.h"

#include <charconv>

namespace korimet::cli {

namespace {

// The part of a CLI11 message after its first ": ", or all of it.
std::string afterColon(const std::string& text) {
    const std::size_t at = text.find(": ");
    return at == std::string::npos ? text : text.substr(at + 2);
}

std::string beforeColon(const std::string& text) { return text.substr(0, text.find(':')); }

}  // namespace

CLI::Validator wholeNumberIn(int low, int high, const Texts& t) {
    return CLI::Validator(
        [low, high, t](std::string& value) -> std::string {
            int number = 0;
            const char* end = value.data() + value.size();
            const auto [stop, ec] = std::from_chars(value.data(), end, number);
            if (ec == std::errc() && stop == end && number >= low && number <= high) return {};
            return t.with(Text::NotWholeNumberIn,
                          {value, std::to_string(low), std::to_string(high)});
        },
        "");
}

std::string problemText(const CLI::ParseError& e, const Texts& t) {
    const std::string what = e.what();
    if (dynamic_cast<const CLI::ExtrasError*>(&e))
        return t.with(Text::UnexpectedArgument, {afterColon(what)});
    if (dynamic_cast<const CLI::RequiredError*>(&e)) {
        const std::size_t at = what.find(" is required");
        if (at == std::string::npos || what.starts_with("A subcommand"))
            return t(Text::MissingVerb);
        return t.with(Text::MissingArgument, {what.substr(0, at)});
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) {
        const bool tooMany = what.find("At Most") != std::string::npos;
        return t.with(tooMany ? Text::OptionTwice : Text::OptionNeedsValue, {beforeColon(what)});
    }
    return t.with(Text::WrongArguments, {what});
}

}  // namespace korimet::cli
