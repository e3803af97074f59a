#include "sheet/ui/sheet_command.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "commandline/cli_texts.h"
#include "files/data_file.h"
#include "sheet/lap_sheet.h"
#include "sheet/sheet_texts.h"
#include "sheet/ui/sheet_renderer.h"

namespace korimet {

namespace {

constexpr const char* kUsage =
    "usage: korimet-cli sheet RUN.krt [--pdf OUT.pdf] [--png OUT.png [--width PX]]\n"
    "                         [--compare OTHER.krt]\n";

struct Request {
    std::string run;
    std::string compare;
    std::string pdf;
    std::string png;
    int width = kDefaultPictureWidth;
};

std::optional<Request> parse(const std::vector<std::string>& args) {
    Request r;
    bool widthGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size() || !into.empty()) return false;
            into = args[++i];
            return !into.empty();
        };
        if (a == "--pdf" || a == "--png" || a == "--compare") {
            if (!value(a == "--pdf" ? r.pdf : a == "--png" ? r.png : r.compare))
                return std::nullopt;
        } else if (a == "--width") {
            if (i + 1 >= args.size() || widthGiven) return std::nullopt;
            const std::string& text = args[++i];
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), r.width);
            if (ec != std::errc() || end != text.data() + text.size() ||
                r.width < kMinPictureWidth || r.width > kMaxPictureWidth) {
                return std::nullopt;
            }
            widthGiven = true;
        } else if (r.run.empty() && !a.starts_with("--")) {
            r.run = a;
        } else {
            return std::nullopt;
        }
    }
    if (r.run.empty() || (r.pdf.empty() && r.png.empty()) || (widthGiven && r.png.empty()))
        return std::nullopt;
    return r;
}

SheetDateTime fromQt(const QDateTime& t) {
    const QDate d = t.date();
    const QTime h = t.time();
    return {d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second()};
}

// Messages are written for a message box; a terminal wants plain line ends.
std::string forTerminal(QString message) {
    return message.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toStdString();
}

}  // namespace

int runSheetCommand(int& argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::optional<Request> request = parse(args);
    if (!request) {
        std::cerr << kUsage;
        return 2;
    }
    // The reader's messages in the language of the korimet-cli run that started us.
    const cli::Texts language(cli::languageFromEnvironment());
    const DataFileReadResult run = loadDataFile(request->run);
    if (!run) {
        std::cerr << language.windowMessage(run.error) << "\n";
        return 2;
    }
    SheetInput input;
    input.run = {run.content->data, request->run};
    input.memo = run.content->memo;
    const QFileInfo info(QString::fromStdString(request->run));
    input.date =
        sheetDate(request->run, fromQt(info.lastModified()), fromQt(QDateTime::currentDateTime()));
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
        const QString path = QString::fromStdString(request->png);
        if (const SheetWriteResult w = writeChartPng(sheet, request->width, path); !w) {
            std::cerr << forTerminal(QString::fromUtf8(texts::kPngWriteFailed).arg(path, w.error))
                      << "\n";
            return 2;
        }
    }
    return 0;
}

}  // namespace korimet
