#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/standard_output.h"
#include "cli/verbs.h"
#include "commandline/cli_texts.h"
#include "commandline/parse_problem.h"

namespace korimet::cli {

namespace {

struct Verb {
    const char* name;
    Text summary;
    VerbSetup setup;
};

constexpr Verb kVerbs[] = {
    {"decode", Text::DecodeSummary, decodeVerb},
    {"show", Text::ShowSummary, showVerb},
    {"export", Text::ExportSummary, exportVerb},
    {"simulate", Text::SimulateSummary, simulateVerb},
    {"compare", Text::CompareSummary, compareVerb},
    {"listen", Text::ListenSummary, listenVerb},
    {"sheet", Text::SheetSummary, sheetVerb},
    {"runs", Text::RunsSummary, runsVerb},
    {"correct", Text::CorrectSummary, correctVerb},
};

constexpr const char* kTool = "korimet-cli";

// Help lines fit a terminal of this many columns.
constexpr std::size_t kHelpWidth = 80;

// CLI11's help, measured in terminal columns instead of bytes, so that Japanese captions
// line up, and wrapped to kHelpWidth.
class HelpFormatter : public CLI::Formatter {
  public:
    std::string make_option(const CLI::Option* opt, bool positional) const override {
        return row(make_option_name(opt, positional) + make_option_opts(opt),
                   make_option_desc(opt));
    }

    std::string make_subcommand(const CLI::App* sub) const override {
        return row(sub->get_display_name(true), sub->get_description());
    }

    std::string make_description(const CLI::App* app) const override {
        return paragraph(app->get_description());
    }

    std::string make_footer(const CLI::App* app) const override {
        return paragraph(app->get_footer());
    }

  private:
    // A name and its description in the column beside it, or below when the name is too
    // long for the column.
    std::string row(const std::string& name, const std::string& description) const {
        std::string line = "  " + name;
        if (description.empty()) return line + "\n";
        const std::size_t used = displayWidth(line);
        if (used + 2 > column_width_) {
            line += "\n" + std::string(column_width_, ' ');
        } else {
            line.append(column_width_ - used, ' ');
        }
        return line + wrapToWidth(description, column_width_, column_width_, kHelpWidth) + "\n";
    }

    static std::string paragraph(const std::string& text) {
        return text.empty() ? std::string() : wrapToWidth(text, 0, 0, kHelpWidth) + "\n";
    }
};

// The help's captions in the run's language, for the tool and each verb alike.
std::shared_ptr<CLI::Formatter> formatterFor(const Texts& t) {
    auto formatter = std::make_shared<HelpFormatter>();
    formatter->label("Usage", t(Text::UsageLabel));
    formatter->label("OPTIONS", t(Text::OptionsBadge));
    formatter->label("Positionals", t(Text::ArgumentsLabel));
    formatter->label("SUBCOMMAND", t(Text::VerbBadge));
    formatter->label("REQUIRED", t(Text::RequiredLabel));
    formatter->label("TEXT", "");
    formatter->column_width(24);
    return formatter;
}

bool readsAsNegativeNumber(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-' &&
           (std::isdigit(static_cast<unsigned char>(arg[1])) || arg[1] == '.');
}

// CLI11 wants the arguments last first. A negative number is a value, never an option (the
// race length of `simulate`): unless an option before it takes it, it and the rest are
// positional.
std::vector<std::string> reversedArguments(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 1; i < args.size() && args[i] != "--"; ++i) {
        if (readsAsNegativeNumber(args[i]) && !args[i - 1].starts_with("--")) {
            args.insert(args.begin() + static_cast<std::ptrdiff_t>(i), "--");
            break;
        }
    }
    return {args.rbegin(), args.rend()};
}

bool isVerb(std::string_view name) {
    return std::any_of(std::begin(kVerbs), std::end(kVerbs),
                       [name](const Verb& v) { return name == v.name; });
}

// The first argument before "--" that reads as an option the verb does not have. CLI11
// would report a missing file first, as if the option were not there at all.
std::optional<std::string> unknownOption(const CLI::App& verb, int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") break;
        if (arg.size() < 2 || arg[0] != '-' || readsAsNegativeNumber(arg)) continue;
        // A long option up to its "=value", a short one by its letter.
        const std::string name =
            arg.starts_with("--") ? arg.substr(0, arg.find('=')) : arg.substr(0, 2);
        if (!verb.get_option_no_throw(name)) return arg;
    }
    return std::nullopt;
}

}  // namespace

int wrongArguments(const CLI::App& verb, std::string_view problem) {
    std::cerr << messagePrefix(verb) << problem << "\n";
    return 2;
}

std::string messagePrefix(const CLI::App& verb) {
    return std::string(kTool) + " " + verb.get_name() + ": ";
}

// `korimet-cli help [VERB]`: the tool's help, or the verb's as `VERB --help` gives it.
int printHelp(const CLI::App& app, int argc, char** argv, const Texts& t, std::string& where) {
    if (argc == 2) {
        std::cout << app.help();
        return 0;
    }
    const std::string name = argv[2];
    if (!isVerb(name)) {
        std::cerr << kTool << ": " << t.with(Text::UnknownVerb, {name}) << "\n";
        return 2;
    }
    const CLI::App& verb = *app.get_subcommand(name);
    where += " " + name;
    if (argc > 3) return wrongArguments(verb, t.with(Text::UnexpectedArgument, {argv[3]}));
    std::cout << verb.help(kTool);
    return 0;
}

// Runs the command line; `where` ends up naming the verb that ran, for the last message.
int runTool(int argc, char** argv, const Texts& t, std::string& where) {
    CLI::App app(t(Text::ToolSummary), kTool);
    app.formatter(formatterFor(t));
    app.set_help_flag("-h,--help", t(Text::HelpFlag));
    app.set_version_flag("--version", std::string(kTool) + " " + KORIMET_VERSION_TEXT,
                         t(Text::VersionFlag));
    app.footer(t(Text::ToolFooter));
    app.require_subcommand(1);
    app.option_defaults()->group(t(Text::OptionsLabel));
    app.get_help_ptr()->group(t(Text::OptionsLabel));
    app.get_option("--version")->group(t(Text::OptionsLabel));

    std::vector<std::pair<CLI::App*, VerbRun>> verbs;
    for (const Verb& v : kVerbs) {
        CLI::App* verb = app.add_subcommand(v.name, t(v.summary));
        verb->group(t(Text::VerbsLabel));
        verb->get_help_ptr()->group(t(Text::OptionsLabel));
        verbs.emplace_back(verb, v.setup(*verb, t));
    }

    if (argc >= 2) {
        const std::string first = argv[1];
        if (first == "help") return printHelp(app, argc, argv, t, where);
        if (!first.starts_with("-") && !isVerb(first)) {
            std::cerr << kTool << ": " << t.with(Text::UnknownVerb, {first}) << "\n";
            return 2;
        }
        // Before a verb only the tool's own options; CLI11 would first miss the verb.
        const bool toolOption = first == "-h" || first == "--help" || first == "--version";
        if (first.starts_with("-") && !toolOption) {
            std::cerr << kTool << ": " << t.with(Text::UnknownOption, {first}) << "\n";
            return 2;
        }
        if (isVerb(first)) {
            const CLI::App& verb = *app.get_subcommand(first);
            if (const std::optional<std::string> unknown = unknownOption(verb, argc, argv)) {
                return wrongArguments(verb, t.with(Text::UnknownOption, {*unknown}));
            }
        }
    }

    std::vector<std::string> args = reversedArguments(argc, argv);
    CLI::App* chosen = nullptr;
    try {
        app.parse(args);
    } catch (const CLI::CallForHelp&) {
        for (auto& [verb, run] : verbs) {
            if (verb->parsed()) chosen = verb;
        }
        if (chosen) where += " " + chosen->get_name();
        std::cout << (chosen ? chosen->help(kTool) : app.help());
        return 0;
    } catch (const CLI::CallForVersion& e) {
        std::cout << e.what() << "\n";
        return 0;
    } catch (const CLI::ParseError& e) {
        for (auto& [verb, run] : verbs) {
            if (verb->parsed()) where += " " + verb->get_name();
        }
        std::cerr << where << ": " << problemText(e, t) << "\n";
        return 2;
    }

    for (auto& [verb, run] : verbs) {
        if (!verb->parsed()) continue;
        where += " " + verb->get_name();
        try {
            return run();
        } catch (const std::exception& e) {
            std::cerr << messagePrefix(*verb) << e.what() << "\n";
            return 2;
        }
    }
    return 2;
}

int runToolAndCheckOutput(int argc, char** argv) {
    const Texts t(languageFromEnvironment());
    takeStandardOutput();
    std::string where = kTool;
    const int status = runTool(argc, argv, t, where);
    if (const int error = finishStandardOutput(); error != 0) {
        std::cerr << where << ": " << t.with(Text::CannotWriteOutput, {t.reason(error)}) << "\n";
        return 2;
    }
    return status;
}

}  // namespace korimet::cli

int main(int argc, char** argv) {
    // Every verb reads the window's settings (the library folder, the lap-flag limits) under
    // the window's names.
    QCoreApplication::setOrganizationName(QStringLiteral("Korimet"));
    QCoreApplication::setApplicationName(QStringLiteral("Korimet"));
    return korimet::cli::runToolAndCheckOutput(argc, argv);
}
