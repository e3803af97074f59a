#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTranslator>

#include <cctype>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/ui/ui_language.h"
#include "common/ui/ui_text.h"
#include "files/data_file.h"
#include "files/file_texts.h"
#include "session/system_path.h"
#include "shell/ui/command_line.h"
#include "shell/ui/given_files.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_texts.h"
#include "support/fake_dialogs.h"
#include "support/frames.h"
#include "support/window_fixture.h"

namespace korimet {
namespace {

using test::FakeDialogs;
using test::runWithLaps;
using Action = CommandLine::Action;

struct ParseCase {
    const char* what;
    std::vector<const char*> arguments;  // after the program name
    Action action;
    int exitCode;
    bool toStandardError;
    const char* file;    // expected file for Run
    const char* output;  // a piece the printed text must contain
};

class ParseCommandLine : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLine, DecidesBeforeAnyWindow) {
    const ParseCase& c = GetParam();
    QStringList arguments{QStringLiteral("/usr/bin/korimet")};
    for (const char* a : c.arguments) arguments.append(QString::fromUtf8(a));
    const CommandLine line = parseCommandLine(arguments, cli::Language::English);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.exitCode, c.exitCode);
    EXPECT_EQ(line.toStandardError, c.toStandardError);
    EXPECT_EQ(line.file.path, QString::fromUtf8(c.file));
    EXPECT_TRUE(line.output.contains(QString::fromUtf8(c.output))) << line.output.toStdString();
    if (c.action == Action::PrintAndExit) {
        EXPECT_TRUE(line.output.endsWith('\n'));
        // A wrong command line is one line, so a script's log shows it whole.
        if (c.exitCode != 0) {
            EXPECT_EQ(line.output.count('\n'), 1) << line.output.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseCommandLine,
    ::testing::Values(
        ParseCase{"nothing", {}, Action::Run, 0, false, "", ""},
        ParseCase{"a file", {"/home/u/run 1.krt"}, Action::Run, 0, false, "/home/u/run 1.krt", ""},
        ParseCase{"a Japanese file name", {"走行.krt"}, Action::Run, 0, false, "走行.krt", ""},
        ParseCase{"help",
                  {"--help"},
                  Action::PrintAndExit,
                  0,
                  false,
                  "",
                  "Usage: korimet [options] [FILE.krt]\n"},
        ParseCase{"help lists the file", {"-h"}, Action::PrintAndExit, 0, false, "", "FILE.krt"},
        ParseCase{"help wins over a file",
                  {"a.krt", "--help"},
                  Action::PrintAndExit,
                  0,
                  false,
                  "",
                  "--version"},
        ParseCase{"version",
                  {"--version"},
                  Action::PrintAndExit,
                  0,
                  false,
                  "",
                  "korimet " KORIMET_VERSION_TEXT "\n"},
        ParseCase{
            "short version", {"-v"}, Action::PrintAndExit, 0, false, "", KORIMET_VERSION_TEXT},
        ParseCase{"unknown long option",
                  {"--bogus"},
                  Action::PrintAndExit,
                  2,
                  true,
                  "",
                  "korimet: unknown option: --bogus (see 'korimet --help')\n"},
        ParseCase{"unknown single-dash option",
                  {"-x", "a.krt"},
                  Action::PrintAndExit,
                  2,
                  true,
                  "",
                  "korimet: unknown option: -x "},
        ParseCase{"unknown option with a value",
                  {"--bogus=1"},
                  Action::PrintAndExit,
                  2,
                  true,
                  "",
                  "korimet: unknown option: --bogus "},
        ParseCase{"Qt's option without its value",
                  {"-style"},
                  Action::PrintAndExit,
                  2,
                  true,
                  "",
                  "korimet: -style needs one value "},
        ParseCase{"help with a value",
                  {"--help=all"},
                  Action::PrintAndExit,
                  2,
                  true,
                  "",
                  "korimet: --help takes no value "},
        ParseCase{
            "two files", {"a.krt", "b.krt"}, Action::PrintAndExit, 2, true, "", "only one file"},
        // QApplication takes its own options out of argv; they must not be refused first.
        ParseCase{
            "Qt's style option", {"-style", "fusion", "a.krt"}, Action::Run, 0, false, "a.krt", ""},
        ParseCase{
            "Qt's platform option", {"-platform", "offscreen"}, Action::Run, 0, false, "", ""},
        ParseCase{"a file named like an option",
                  {"--", "-odd.krt"},
                  Action::Run,
                  0,
                  false,
                  "-odd.krt",
                  ""}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

// The same command lines in Japanese, as korimet-cli speaks it.
TEST(CommandLineLanguage, HelpAndErrorsInJapanese) {
    const struct {
        std::vector<const char*> arguments;
        int exitCode;
        const char* output;
    } cases[] = {
        {{"--help"}, 0, "使い方: korimet [オプション] [FILE.krt]\n"},
        {{"-h"}, 0, "  -v, --version  バージョンを表示して終了します。\n"},
        {{"--bogus"}, 2, "korimet: 不明なオプションです: --bogus ('korimet --help' を参照)\n"},
        {{"-style"},
         2,
         "korimet: -style には値を 1 つ指定してください ('korimet --help' を参照)\n"},
        {{"--help=x"}, 2, "korimet: --help には値を指定できません ('korimet --help' を参照)\n"},
        {{"a.krt", "b.krt"},
         2,
         "korimet: 一度に開けるファイルは 1 つだけです ('korimet --help' を参照)\n"},
    };
    for (const auto& c : cases) {
        QStringList arguments{QStringLiteral("korimet")};
        for (const char* a : c.arguments) arguments.append(QString::fromUtf8(a));
        const CommandLine line = parseCommandLine(arguments, cli::Language::Japanese);
        EXPECT_EQ(line.exitCode, c.exitCode) << c.output;
        EXPECT_TRUE(line.output.contains(QString::fromUtf8(c.output))) << line.output.toStdString();
        if (c.exitCode != 0) {
            EXPECT_EQ(line.output, QString::fromUtf8(c.output));
        }
    }
}

TEST(CommandLineLanguage, HelpFitsEightyColumnsInBothLanguages) {
    for (const cli::Language language : {cli::Language::English, cli::Language::Japanese}) {
        const CommandLine line = parseCommandLine(
            QStringList{QStringLiteral("korimet"), QStringLiteral("--help")}, language);
        ASSERT_EQ(line.exitCode, 0);
        for (const QString& text : line.output.split(QLatin1Char('\n'))) {
            EXPECT_LE(cli::displayWidth(text.toStdString()), 80u) << text.toStdString();
        }
    }
}

// Without a language given, the locale decides as for korimet-cli: LC_ALL first.
TEST(CommandLineLanguage, TheLocaleDecides) {
    const QByteArray saved = qgetenv("LC_ALL");
    const bool wasSet = qEnvironmentVariableIsSet("LC_ALL");
    const QStringList help{QStringLiteral("korimet"), QStringLiteral("--help")};
    qputenv("LC_ALL", "ja_JP.UTF-8");
    EXPECT_TRUE(parseCommandLine(help).output.startsWith(QString::fromUtf8("使い方: korimet")));
    qputenv("LC_ALL", "C");
    EXPECT_TRUE(parseCommandLine(help).output.startsWith(QStringLiteral("Usage: korimet")));
    if (wasSet) {
        qputenv("LC_ALL", saved);
    } else {
        qunsetenv("LC_ALL");
    }
}

// The window's English comes from its translation: for every text of the window's command
// line it must be korimet-cli's English for the same text, word for word.
TEST(CommandLineLanguage, TheTranslationsEnglishIsKorimetClisEnglish) {
    QTranslator english;
    ASSERT_TRUE(english.load(translationFile(QStringLiteral("en"))));
    const cli::Texts table(cli::Language::English);
    const cli::Texts translated(cli::Language::English, [&english](const char* japanese) {
        return english.translate(kTextContext, japanese).toStdString();
    });
    const cli::Text windowTexts[] = {
        cli::Text::OptionsLabel,       cli::Text::ArgumentsLabel,     cli::Text::UnknownOption,
        cli::Text::OptionNeedsValue,   cli::Text::WrongArguments,     cli::Text::WindowSummary,
        cli::Text::WindowUsage,        cli::Text::WindowHelpFlag,     cli::Text::WindowVersionFlag,
        cli::Text::WindowFileArgument, cli::Text::WindowTooManyFiles, cli::Text::WindowTryHelp,
        cli::Text::OptionTakesNoValue};
    for (const cli::Text key : windowTexts) {
        EXPECT_STREQ(translated(key), table(key)) << static_cast<int>(key);
    }
}

// The file's name keeps its bytes in any encoding, and shows as text where it is text.
TEST(CommandLineFromArgv, KeepsTheFileNamesBytes) {
    const struct {
        QByteArray name;
        QString shown;
    } cases[] = {
        {"/tmp/走行 1.krt", QString::fromUtf8("/tmp/走行 1.krt")},
        {"/tmp/plain.krt", QStringLiteral("/tmp/plain.krt")},
        // Shift_JIS from an old Windows disk, then Latin-1.
        {"/tmp/\x91\x96\x8d\x73.krt", QString::fromUtf8("/tmp/\uFFFD\uFFFD\uFFFDs.krt")},
        {"/tmp/caf\xe9.krt", QString::fromUtf8("/tmp/caf\uFFFD.krt")},
    };
    for (const auto& c : cases) {
        QByteArray program("korimet");
        QByteArray style("-style");
        QByteArray fusion("fusion");
        QByteArray argument = c.name;
        char* argv[] = {program.data(), style.data(), fusion.data(), argument.data()};
        const CommandLine line = parseCommandLine(4, argv);
        ASSERT_EQ(line.action, Action::Run);
        EXPECT_EQ(systemPath(line.file.path), c.name.toStdString()) << c.name.toHex().toStdString();
        EXPECT_EQ(shownPath(line.file.path), c.shown);
    }
}

// What main does with a file given on the command line, after the load step.
class FileGivenAtStart : public test::WindowInTempFolder {
  protected:
    // The load step, then the file given.
    void start(const QString& argument) {
        makeWindow();
        give(argument);
    }
    void give(const QString& argument) { give(QFile::encodeName(argument)); }
    void give(QByteArray argument) {
        QByteArray program("korimet");
        char* argv[] = {program.data(), argument.data()};
        const CommandLine line = parseCommandLine(2, argv);
        ASSERT_EQ(line.action, Action::Run);
        opened = openGivenFile(window->fileCommands(), line.file);
    }
    QString label(const char* name) const { return window->findChild<QLabel*>(name)->text(); }
    QTextEdit& memo() const { return *window->findChild<QTextEdit*>("RichTextBox1"); }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    bool opened = false;
};

TEST_F(FileGivenAtStart, OpensAsFileOpenDoesAndSaveWritesBack) {
    const QString file = path("走行 1.krt");
    ASSERT_TRUE(saveDataFile(QFile::encodeName(file).toStdString(), runWithLaps({64.9, 66.25}),
                             "given memo"));
    start(file);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(dialogs->calls.empty());
    EXPECT_EQ(label("Label17"), "01m04s90");
    EXPECT_EQ(label("Label21"), "01m06s25");
    EXPECT_EQ(label("Label2"), QString::fromUtf8(filetexts::kLoadDataCaption));
    EXPECT_EQ(label("Label3"), file);
    EXPECT_EQ(memo().toPlainText(), "given memo");
    EXPECT_EQ(window->currentFileName(), file);

    memo().setPlainText("edited after start");
    window->fileCommands().saveDataFile();
    EXPECT_TRUE(dialogs->calls.empty()) << "File > Save asked for a name";
    const DataFileReadResult back = loadDataFile(QFile::encodeName(file).toStdString());
    ASSERT_TRUE(back);
    EXPECT_EQ(back.content->memo, "edited after start");
}

TEST_F(FileGivenAtStart, AnUnreadableFileShowsFileOpensMessageAndKeepsTheTemplate) {
    ASSERT_TRUE(
        saveDataFile(path(kTemplateFileName).toStdString(), runWithLaps({70.5}), "template memo"));
    const QString missing = path("gone.krt");
    makeWindow();
    const LapData templateRun = window->currentData();
    const QString templateMemo = memo().toPlainText();
    ASSERT_EQ(templateRun.lapCount, 1);
    give(missing);
    EXPECT_FALSE(opened);
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, FakeDialogs::Kind::Message);
    EXPECT_TRUE(dialogs->calls[0].text.contains(missing)) << dialogs->calls[0].text.toStdString();
    EXPECT_TRUE(window->currentFileName().isEmpty());
    EXPECT_EQ(window->currentData(), templateRun);
    EXPECT_EQ(memo().toPlainText(), templateMemo);
    EXPECT_TRUE(label("Label2").isEmpty());
    EXPECT_TRUE(label("Label3").isEmpty());
}

}  // namespace
}  // namespace korimet

namespace korimet {
namespace {

// A CP932 name (a library synchronised from Windows) opens, shows as far as it is text and
// saves back to the same file.
TEST_F(FileGivenAtStart, ANameNotInUtf8OpensAndSavesBack) {
    const std::string name = QFile::encodeName(dir.path()).toStdString() + "/\x91\x96\x8d\x73.krt";
    ASSERT_TRUE(saveDataFile(name, runWithLaps({64.9, 66.25}), "cp932 name"));
    makeWindow();
    give(QByteArray::fromStdString(name));
    ASSERT_TRUE(opened);
    EXPECT_TRUE(dialogs->calls.empty());
    EXPECT_EQ(memo().toPlainText(), "cp932 name");
    EXPECT_EQ(systemPath(window->currentFileName()), name);
    EXPECT_EQ(label("Label3"), dir.path() + QString::fromUtf8("/\uFFFD\uFFFD\uFFFDs.krt"));

    memo().setPlainText("saved back");
    window->fileCommands().saveDataFile();
    EXPECT_TRUE(dialogs->calls.empty()) << "File > Save asked for a name";
    const DataFileReadResult back = loadDataFile(name);
    ASSERT_TRUE(back);
    EXPECT_EQ(back.content->memo, "saved back");
    // Saved back under its own name, nothing beside it (Qt's listing cannot see the name).
    const auto files = std::distance(
        std::filesystem::directory_iterator(QFile::encodeName(dir.path()).toStdString()), {});
    EXPECT_EQ(files, 1);
    // Nor can Qt remove it with the folder.
    ::unlink(name.c_str());
}

}  // namespace
}  // namespace korimet
