#include "sheet/render/sheet_command.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <iostream>
#include <optional>
#include <string>

#include "commandline/cli_texts.h"
#include "commandline/parse_problem.h"
#include "commandline/sheet_options.h"
#include "files/data_file.h"
#include "sheet/lap_sheet.h"
#include "sheet/sheet_texts.h"
#include "sheet/ui/sheet_renderer.h"

namespace korimet {

namespace {

constexpr const char* kRenderer = "korimet-sheet";

SheetDateTime fromQt(const QDateTime& t) {
    const QDate d = t.date();
    const QTime h = t.time();
    return {d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second()};
}

// Messages are written for a message box; a terminal wants plain line ends.
std::string forTerminal(QString message) {
    return message.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toStdString();
}

// The request korimet-cli handed over, or nothing once what is wrong with it has been said.
std::optional<cli::SheetRequest> readRequest(int argc, char** argv, const cli::Texts& language) {
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
    std::cerr << kRenderer << ": " << problem << "\n";
    return std::nullopt;
}

}  // namespace

int runSheetCommand(int& argc, char** argv) {
    // Messages in the language of the korimet-cli run that started us.
    const cli::Texts language(cli::languageFromEnvironment());
    const std::optional<cli::SheetRequest> request = readRequest(argc, argv, language);
    if (!request) return 2;
    const DataFileReadResult run = loadDataFile(request->file);
    if (!run) {
        std::cerr << language.windowMessage(run.error) << "\n";
        return 2;
    }
    SheetInput input;
    input.run = {run.content->data, request->file};
    input.memo = run.content->memo;
    const QFileInfo info(QString::fromStdString(request->file));
    input.date =
        sheetDate(request->file, fromQt(info.lastModified()), fromQt(QDateTime::currentDateTime()));
    if (!request->compare.empty()) {
        const DataFileReadResult other = loadDataFile(request->compare);
        if (!other) {
            std::cerr << language.windowMessage(other.error) << "\n";
            return 2;
        }
        input.comparison = SheetRun{other.content->data, request->compare};
    }
    const LapSheet sheet = buildLapSheet(input);
    if (sheet.comparisonRefusal) {
        std::cerr << language.windowMessage(*sheet.comparisonRefusal) << "\n";
        return 2;
    }

    // No display is needed or wanted, whatever the environment says.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!request->pdf.empty()) {
        const QString path = QString::fromStdString(request->pdf);
        if (const SheetWriteResult w = writeSheetPdf(sheet, defaultPaper(), path); !w) {
            std::cerr << forTerminal(QString::fromUtf8(texts::kPdfWriteFailed).arg(path, w.error))
                      << "\n";
            return 2;
        }
    }
    if (!request->png.empty()) {
        const int width = request->width != 0 ? request->width : cli::kDefaultPictureWidth;
        const QString path = QString::fromStdString(request->png);
        if (const SheetWriteResult w = writeChartPng(sheet, width, path); !w) {
            std::cerr << forTerminal(QString::fromUtf8(texts::kPngWriteFailed).arg(path, w.error))
                      << "\n";
            return 2;
        }
    }
    return 0;
}

}  // namespace korimet
