#include "sheet/render/sheet_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QSettings>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "commandline/cli_texts.h"
#include "commandline/parse_problem.h"
#include "commandline/sheet_options.h"
#include "common/ui/ui_language.h"
#include "common/ui/ui_text.h"
#include "corrections/run_view.h"
#include "corrections/settings/limit_settings.h"
#include "files/data_file.h"
#include "files/durable_write.h"
#include "messages/correction_messages.h"
#include "messages/file_messages.h"
#include "messages/language.h"
#include "sheet/lap_sheet.h"
#include "sheet/ui/sheet_renderer.h"

namespace korimet {

namespace {

constexpr const char* kRenderer = "korimet-sheet";

// korimet-cli starts us under the name of its verb, so that messages name what was typed.
std::string speakerFor(const char* argv0) {
    return argv0 && std::string_view(argv0) == cli::kSheetVerbName ? cli::kSheetVerbName
                                                                   : kRenderer;
}

// When the run's file was last changed; none when the system cannot say. The name goes to
// the system as given.
std::optional<SheetDateTime> modificationTime(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return localTimeOf(std::chrono::system_clock::from_time_t(info.st_mtime));
}

// The request korimet-cli handed over, or nothing once what is wrong with it has been said.
std::optional<cli::SheetRequest> readRequest(int argc, char** argv, const std::string& prefix,
                                             const cli::Texts& language) {
    cli::SheetRequest request;
    CLI::App parser("", kRenderer);
    // korimet-cli has the help; this program only reads what it was handed.
    parser.set_help_flag();
    cli::addSheetOptions(parser, request, language);
    std::string problem;
    try {
        parser.parse(argc, argv);
        problem = cli::sheetRequestProblem(request, language);
    } catch (const CLI::ParseError& e) {
        problem = cli::problemText(e, language);
    }
    if (problem.empty()) return request;
    std::cerr << prefix << problem << "\n";
    return std::nullopt;
}

// All of `bytes` to standard output, which is closed after; 0 or the errno of the failure.
int writeStandardOutput(const QByteArray& bytes) {
    const char* at = bytes.constData();
    const char* end = at + bytes.size();
    while (at < end) {
        const ssize_t n = ::write(STDOUT_FILENO, at, static_cast<std::size_t>(end - at));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        at += n;
    }
    return ::close(STDOUT_FILENO) == 0 ? 0 : errno;
}

// Writes a drawn file where `target` says: standard output for "-", else as an output the
// user named (a pipe or a device as it is, a file durably), its bytes as given. False after
// a message.
bool put(const SheetBytes& drawn, const std::string& target, cli::Text failed,
         const std::string& prefix, const cli::Texts& language) {
    std::string reason;
    if (!drawn) {
        reason = language(cli::Text::PaintFailed);
    } else if (target == "-") {
        if (const int error = writeStandardOutput(drawn.bytes); error != 0) {
            std::cerr << prefix
                      << language.with(cli::Text::CannotWriteOutput, {language.reason(error)})
                      << "\n";
            return false;
        }
        return true;
    } else {
        const DurableWrite w =
            writeOutputFile(target, std::string_view(drawn.bytes.constData(),
                                                     static_cast<std::size_t>(drawn.bytes.size())));
        if (w) return true;
        // A folder is said as the system says it; a socket or a block device has no words of
        // the system's.
        if (w.status == DurableWrite::Status::NotAFile && w.found != FileKind::Directory)
            reason = language(cli::Text::NotAnOutput);
        else
            reason = systemReason(w.found == FileKind::Directory ? EISDIR : w.error,
                                  language.language());
    }
    std::cerr << prefix << language.with(failed, {target, reason}) << "\n";
    return false;
}

// The run as the correction file beside it makes it, as the library lists it; a correction
// file that cannot be used is said and the run drawn as downloaded.
RunView runAsCorrected(const std::string& path, const LapData& downloaded,
                       const std::string& prefix, const cli::Texts& language) {
    RunViewRead read = readRunView(path, downloaded, readSuspectLimits(QSettings()));
    if (read.correctionError) {
        std::string message = correctionFileMessage(read.correctionError, language.language());
        std::replace(message.begin(), message.end(), '\n', ' ');
        std::cerr << prefix << message << "\n";
    }
    return std::move(read.view);
}

}  // namespace

int runSheetCommand(int& argc, char** argv) {
    // Messages in the language of the korimet-cli run that started us.
    const cli::Texts language(cli::languageFromEnvironment());
    const std::string prefix = speakerFor(argc > 0 ? argv[0] : nullptr) + ": ";
    const std::optional<cli::SheetRequest> request = readRequest(argc, argv, prefix, language);
    if (!request) return 2;
    const DataFileReadResult run = loadDataFile(request->file);
    if (!run) {
        std::cerr << prefix << language.file(run.error) << "\n";
        return 2;
    }
    if (run.warning) std::cerr << prefix << language.file(run.warning) << "\n";
    SheetInput input;
    input.run = {runAsCorrected(request->file, run.content->data, prefix, language), request->file};
    input.memo = run.content->memo;
    input.date = sheetDate(request->file, modificationTime(request->file),
                           localTimeOf(std::chrono::system_clock::now()));
    if (!request->compare.empty()) {
        // The memo of a run compared with is never shown.
        const DataFileReadResult other = loadDataFile(request->compare, MemoField::Skip);
        if (!other) {
            std::cerr << prefix << language.file(other.error) << "\n";
            return 2;
        }
        input.comparison =
            SheetRun{runAsCorrected(request->compare, other.content->data, prefix, language),
                     request->compare,
                     sheetDate(request->compare, modificationTime(request->compare),
                               localTimeOf(std::chrono::system_clock::now()))};
    }
    if (const auto refusal = sheetComparisonRefusal(input)) {
        std::cerr << prefix << language.tool(*refusal) << "\n";
        return 2;
    }

    // No display is needed or wanted, whatever the environment says.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The sheet in the locale's language, as korimet-cli chooses its own: the window's
    // translation for it, English where there is none.
    applyLanguage(
        resolveLanguage(QString(), QString::fromStdString(localeLanguageCodeFromEnvironment())));
    const LapSheet sheet = buildLapSheet(input, uiWording());
    if (!request->pdf.empty() && !put(sheetPdfBytes(sheet, defaultPaper()), request->pdf,
                                      cli::Text::PdfNotWritten, prefix, language)) {
        return 2;
    }
    if (!request->png.empty()) {
        const int width = request->width != 0 ? request->width : cli::kDefaultPictureWidth;
        if (!put(chartPngBytes(sheet, width), request->png, cli::Text::PngNotWritten, prefix,
                 language)) {
            return 2;
        }
    }
    return 0;
}

}  // namespace korimet
