#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

#include "common/wording.h"
#include "files/file_error.h"
#include "messages/language.h"
#include "tools/tool_dialogs.h"

// Everything the command-line tool says about itself (usage, help, headings, messages), in
// the one language of the run; the sheet renderer it starts speaks the same, and so does the
// window program's own command line. Results that mirror the window are not here: they read
// the same in every locale.
namespace korimet::cli {

using korimet::Language;
using korimet::languageFor;
using korimet::languageFromEnvironment;

enum class Text {
    // The tool and its verbs.
    ToolSummary,
    ToolFooter,
    HelpFlag,
    VersionFlag,
    UsageLabel,
    OptionsLabel,
    OptionsBadge,
    VerbBadge,
    ArgumentsLabel,
    VerbsLabel,
    RequiredLabel,
    DecodeSummary,
    DecodeCapture,
    DecodeOut,
    DecodeExit,
    ShowSummary,
    ShowJson,
    ShowFile,
    ShowExit,
    ExportSummary,
    ExportCsv,
    ExportFile,
    ExportExit,
    SimulateSummary,
    SimulateMinutes,
    SimulateFile,
    SimulateExit,
    CompareSummary,
    CompareFile,
    CompareOther,
    CompareJson,
    CompareExit,
    ListenSummary,
    ListenPort,
    ListenOut,
    ListenCount,
    ListenServe,
    ListenExit,
    SheetSummary,
    SheetFile,
    SheetPdf,
    SheetPng,
    SheetWidth,
    SheetCompare,
    SheetExit,
    SheetCannotStart,
    SheetRendererMissing,
    PdfNotWritten,
    PngNotWritten,
    OneStandardOutput,
    RunsSummary,
    RunsLibrary,
    RunsCar,
    RunsJson,
    RunsExit,
    RunsHeadings,
    RunsUnreadable,
    CorrectSummary,
    CorrectFile,
    CorrectApply,
    CorrectUndo,
    CorrectUndoAll,
    CorrectJson,
    CorrectExit,
    CorrectApplied,
    CorrectNoneApplied,
    CorrectHeadings,
    CorrectNoSuspects,
    CorrectOneAction,
    CorrectNotStandardInput,
    CorrectBadItem,
    CorrectNoSuggestion,
    CorrectRefused,
    CorrectNothingToUndo,
    CorrectFileLeft,
    // Wrong arguments, each completed by what was wrong.
    UnknownVerb,
    MissingVerb,
    UnexpectedArgument,
    UnknownOption,
    MissingArgument,
    OptionNeedsValue,
    OptionTwice,
    NotWholeNumberIn,
    WrongArguments,
    ExactlyTwoArguments,
    // Headings of `show`.
    HeadCar,
    HeadLaps,
    HeadTarget,
    HeadBest,
    HeadAverage,
    HeadWorst,
    HeadRace,
    HeadMarks,
    HeadMemo,
    // Messages of the verbs.
    CannotRead,
    ErrorReading,
    CannotCreate,
    StandardInput,
    OneStandardInput,
    RunsNotSaved,
    NoFrameFound,
    NoRaceLine,
    RaceMinutesMissing,
    RaceMinutesNotNumber,
    CountNotWhole,
    NotAPort,
    CannotOpen,
    CannotSetLine,
    WentAway,
    ListeningOn,
    NotAServeAddress,
    CannotServe,
    CannotWriteOutput,
    // The sheet renderer's own failure.
    PaintFailed,
    NotAnOutput,
    // The window program's command line (korimet --help).
    WindowSummary,
    WindowUsage,
    WindowHelpFlag,
    WindowVersionFlag,
    WindowFileArgument,
    WindowTooManyFiles,
    WindowTryHelp,
    OptionTakesNoValue,
    Count  // keep last: the number of texts
};

struct TextEntry {
    Text key;
    const char* en;
    const char* ja;
};

// Every text in both languages, in the order of `Text`.
extern const TextEntry kTextTable[static_cast<std::size_t>(Text::Count)];

class Texts {
  public:
    explicit Texts(Language language) : language_(language) {}
    // The texts through `wording` from their Japanese; errors' messages in `language`.
    Texts(Language language, Wording wording) : language_(language), wording_(std::move(wording)) {}
    Language language() const { return language_; }
    const char* operator()(Text key) const;
    // The text with its "{}" replaced by `details` in turn.
    std::string with(Text key, std::initializer_list<std::string_view> details) const;

    // A file error or a refused tool in the run's language.
    std::string file(const FileError& error) const;
    std::string tool(const ToolRefusal& refusal) const;
    // The system's reason for an errno in the run's language.
    std::string reason(int error) const;

  private:
    Language language_;
    Wording wording_;
    mutable std::map<Text, std::string> worded_;
};

// Columns `text` takes on a terminal: two for wide characters, one otherwise.
std::size_t displayWidth(std::string_view text);

// `text` broken into lines of at most `width` columns, for help on a terminal: at spaces,
// and between two characters where either is wide (Japanese has no spaces), never before a
// closing mark such as 、 or ）. The first line goes on from column `column`; the others,
// and those after a line end in `text`, start with `indent` spaces. A word longer than a
// line keeps a line of its own. No line end after the last line.
std::string wrapToWidth(std::string_view text, std::size_t column, std::size_t indent,
                        std::size_t width);

}  // namespace korimet::cli
