#include "shell/ui/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFile>
#include <QList>

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

CommandLine wrongCommandLine(const QString& problem) {
    return printAndExit(
        QStringLiteral("%1: %2 %3\n").arg(qs(texts::kProgramName), problem, qs(texts::kTryHelp)), 2,
        true);
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // Single-dash words are Qt's own long options (-style fusion), never bundled letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(qs(texts::kCommandLineSummary));
    // Not addHelpOption: its --help-all lists Qt's options, which only an application object
    // knows.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  qs(texts::kHelpOptionHelp));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions(qtWindowOptions());
    parser.addPositionalArgument(qs(texts::kFileArgument), qs(texts::kFileArgumentHelp),
                                 QStringLiteral("[%1]").arg(qs(texts::kFileArgument)));

    if (!parser.parse(arguments)) return wrongCommandLine(parser.errorText());
    if (parser.isSet(help)) {
        // The usage line names the program as installed, not as this process was started
        // (Qt writes "<executable_name>" before there is an application object).
        QString text = parser.helpText();
        const qsizetype options = text.indexOf(QLatin1String(" [options]"));
        if (options >= 0)
            text.replace(0, options, QStringLiteral("Usage: ") + qs(texts::kProgramName));
        return printAndExit(text, 0, false);
    }
    if (parser.isSet(version)) {
        return printAndExit(
            QStringLiteral("%1 %2\n").arg(qs(texts::kProgramName), qs(KORIMET_VERSION_TEXT)), 0,
            false);
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) return wrongCommandLine(qs(texts::kTooManyFiles));
    CommandLine line;
    if (!files.isEmpty()) line.file.path = files.front();
    return line;
}

CommandLine parseCommandLine(int argc, char** argv) {
    QStringList arguments;
    arguments.reserve(argc);
    for (int i = 0; i < argc; ++i) arguments.append(QFile::decodeName(argv[i]));
    CommandLine line = parseCommandLine(arguments);
    if (line.file.path.isEmpty()) return line;
    for (int i = 1; i < argc; ++i) {
        if (arguments[i] == line.file.path && QFile::encodeName(arguments[i]) != argv[i]) {
            line.file.nameIntact = false;
        }
    }
    return line;
}

}  // namespace korimet
