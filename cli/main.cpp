#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
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
};

constexpr const char* kTool = "korimet-cli";

// CLI11's help, with the option column measured in terminal columns instead of bytes, so
// that Japanese captions line up.
class HelpFormatter : public CLI::Formatter {
  public:
    std::string make_option(const CLI::Option* opt, bool positional) const override {
        std::string line = "  " + make_option_name(opt, positional) + make_option_opts(opt);
        const std::string description = make_option_desc(opt);
        if (!description.empty()) {
            const std::size_t used = displayWidth(line);
            if (used >= column_width_) {
                line += "\n" + std::string(column_width_, ' ');
            } else {
                line.append(column_width_ - used, ' ');
            }
            for (const char c : description) {
                line += c;
                if (c == '\n') line.append(column_width_, ' ');
            }
        }
        return line + "\n";
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

}  // namespace

int wrongArguments(const CLI::App& verb, std::string_view problem) {
    std::cerr << messagePrefix(verb) << problem << "\n";
    return 2;
}

std::string messagePrefix(const CLI::App& verb) {
    return std::string(kTool) + " " + verb.get_name() + ": ";
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
        if (first == "help") {
            std::cout << app.help();
            return 0;
        }
        const bool known = std::any_of(std::begin(kVerbs), std::end(kVerbs),
                                       [&first](const Verb& v) { return first == v.name; });
        if (!first.starts_with("-") && !known) {
            std::cerr << kTool << ": " << t.with(Text::UnknownVerb, {first}) << "\n";
            return 2;
        }
        // Before a verb only the tool's own options; CLI11 would first miss the verb.
        const bool toolOption = first == "-h" || first == "--help" || first == "--version";
        if (first.starts_with("-") && !toolOption) {
            std::cerr << kTool << ": " << t.with(Text::UnexpectedArgument, {first}) << "\n";
            return 2;
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
        std::string where = kTool;
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
        std::cerr << where << ": " << t.with(Text::CannotWriteOutput, {std::strerror(error)})
                  << "\n";
        return 2;
    }
    return status;
}

}  // namespace korimet::cli

int main(int argc, char** argv) { return korimet::cli::runToolAndCheckOutput(argc, argv); }
