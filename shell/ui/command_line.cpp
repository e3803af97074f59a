#include "shell/ui/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFile>
#include <QList>
#include <QTranslator>
#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "common/ui/ui_language.h"
#include "common/ui/ui_text.h"
#include "session/system_path.h"
#include "shell/ui/shell_texts.h"

namespace korimet {

namespace {

QString qs(const char* text) { return QString::fromUtf8(text); }

// QGuiApplication's and QApplication's own options, which QApplication removes from argv
// itself; listed so that they are not refused as unknown.
QList<QCommandLineOption> qtWindowOptions() {
    const char* const withValue[] = {
        "platform",    "platformpluginpath", "platformtheme", "plugin",   "qwindowgeometry",
        "qwindowicon", "qwindowtitle",       "display",       "geometry", "session",
        "style",       "stylesheet",         "qmljsdebugger"};
    const char* const flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    QList<QCommandLineOption> options;
    for (const char* name : withValue) {
        QCommandLineOption option(qs(name), QString(), qs("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        options.append(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(qs(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        options.append(option);
    }
    return options;
}

CommandLine printAndExit(const QString& text, int exitCode, bool toStandardError) {
    CommandLine line;
    line.action = CommandLine::Action::PrintAndExit;
    line.output = text;
    line.exitCode = exitCode;
    line.toStandardError = toStandardError;
    return line;
}

CommandLine wrongCommandLine(const std::string& problem, const cli::Texts& t) {
    return printAndExit(QStringLiteral("%1: %2 %3\n")
                            .arg(qs(texts::kProgramName), QString::fromStdString(problem),
                                 qs(t(cli::Text::WindowTryHelp))),
                        2, true);
}

// The argument as typed that Qt reports by its bare name ("bogus" for "--bogus=1").
std::string asTyped(const QStringList& arguments, const QString& name) {
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i) {
        QString bare = arguments[i];
        if (!bare.startsWith(QLatin1Char('-'))) continue;
        const QString typed = bare.section(QLatin1Char('='), 0, 0);
        while (bare.startsWith(QLatin1Char('-'))) bare.remove(0, 1);
        if (bare.section(QLatin1Char('='), 0, 0) == name) return typed.toStdString();
    }
    return name.toStdString();
}

// What is wrong, in the run's language. Qt words its errors in English only: the kind of
// error is read from them, the option from between their quotes.
std::string problemOf(const QCommandLineParser& parser, const QStringList& arguments,
                      const cli::Texts& t) {
    if (!parser.unknownOptionNames().isEmpty()) {
        return t.with(cli::Text::UnknownOption,
                      {asTyped(arguments, parser.unknownOptionNames().front())});
    }
    const QString error = parser.errorText();
    const qsizetype open = error.indexOf(QLatin1Char('\''));
    const qsizetype close = error.lastIndexOf(QLatin1Char('\''));
    const std::string option =
        open >= 0 && close > open ? error.mid(open + 1, close - open - 1).toStdString() : "";
    if (error.startsWith(QLatin1String("Missing value")) && !option.empty())
        return t.with(cli::Text::OptionNeedsValue, {option});
    if (error.startsWith(QLatin1String("Unexpected value")) && !option.empty())
        return t.with(cli::Text::OptionTakesNoValue, {option});
    return t.with(cli::Text::WrongArguments, {error.toStdString()});
}

// The help, laid out as Qt lays it out but in the run's language and wrapped to a terminal's
// 80 columns.
QString helpText(const cli::Texts& t) {
    constexpr std::size_t kWidth = 80;
    const std::pair<std::string, std::string> options[] = {
        {"-h, --help", t(cli::Text::WindowHelpFlag)},
        {"-v, --version", t(cli::Text::WindowVersionFlag)},
    };
    const std::pair<std::string, std::string> arguments[] = {
        {texts::kFileArgument, t(cli::Text::WindowFileArgument)},
    };
    std::size_t column = 0;
    for (const auto& [name, what] : options) column = std::max(column, cli::displayWidth(name));
    for (const auto& [name, what] : arguments) column = std::max(column, cli::displayWidth(name));
    column += 4;  // two spaces before the name, two after the longest
    auto row = [column](const std::pair<std::string, std::string>& entry) {
        std::string line = "  " + entry.first;
        line.append(column - cli::displayWidth(line), ' ');
        return line + cli::wrapToWidth(entry.second, column, column, kWidth) + "\n";
    };
    std::string text = std::string(t(cli::Text::WindowUsage)) + "\n" +
                       cli::wrapToWidth(t(cli::Text::WindowSummary), 0, 0, kWidth) + "\n\n" +
                       t(cli::Text::OptionsLabel) + ":\n";
    for (const auto& entry : options) text += row(entry);
    text += "\n" + std::string(t(cli::Text::ArgumentsLabel)) + ":\n";
    for (const auto& entry : arguments) text += row(entry);
    return QString::fromStdString(text);
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments, cli::Language language) {
    return parseCommandLine(arguments, cli::Texts(language));
}

CommandLine parseCommandLine(const QStringList& arguments, const cli::Texts& t) {
    QCommandLineParser parser;
    // Single-dash words are Qt's own long options (-style fusion), never bundled letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Not addHelpOption: its --help-all lists Qt's options, which only an application object
    // knows.
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions(qtWindowOptions());

    if (!parser.parse(arguments)) return wrongCommandLine(problemOf(parser, arguments, t), t);
    if (parser.isSet(help)) return printAndExit(helpText(t), 0, false);
    if (parser.isSet(version)) {
        return printAndExit(
            QStringLiteral("%1 %2\n").arg(qs(texts::kProgramName), qs(KORIMET_VERSION_TEXT)), 0,
            false);
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) return wrongCommandLine(t(cli::Text::WindowTooManyFiles), t);
    CommandLine line;
    if (!files.isEmpty()) line.file.path = files.front();
    return line;
}

CommandLine parseCommandLine(const QStringList& arguments) {
    const QString code =
        resolveLanguage(QString(), QString::fromStdString(localeLanguageCodeFromEnvironment()));
    if (code == QLatin1String("ja")) return parseCommandLine(arguments, cli::Language::Japanese);
    // No application yet to install it in: the translation is asked directly.
    auto translator = std::make_shared<QTranslator>();
    if (!translator->load(translationFile(code))) {
        return parseCommandLine(arguments, cli::Language::English);
    }
    const Wording wording = [translator](const char* japanese) {
        const QString text = translator->translate(kTextContext, japanese);
        return text.isEmpty() ? std::string(japanese) : text.toStdString();
    };
    return parseCommandLine(arguments, cli::Texts(cli::Language::English, wording));
}

CommandLine parseCommandLine(int argc, char** argv) {
    QStringList arguments;
    arguments.reserve(argc);
    // The file's name keeps its bytes, whatever their encoding.
    for (int i = 0; i < argc; ++i) arguments.append(pathFromSystem(std::string_view(argv[i])));
    return parseCommandLine(arguments);
}

}  // namespace korimet
