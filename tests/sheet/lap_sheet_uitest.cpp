#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "common/ui/ui_language.h"
#include "common/ui/ui_text.h"
#include "corrections/ui/lap_corrections_ui.h"
#include "files/data_file.h"
#include "lapdata/lap_time.h"
#include "sheet/lap_sheet.h"
#include "sheet/sheet_texts.h"
#include "sheet/ui/lap_sheet_commands.h"
#include "sheet/ui/sheet_renderer.h"
#include "shell/ui/main_window.h"
#include "support/double_press.h"
#include "support/fake_dialogs.h"
#include "support/frames.h"
#include "support/shown_texts.h"
#include "support/window_fixture.h"

namespace korimet {
namespace {

using test::FakeDialogs;
using test::frameFor;
using test::runWithLaps;

class LapSheetWindow : public test::WindowInTempFolder {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(WindowInTempFolder::SetUp());
        makeWindow();
        attachLapSheet(window->addition());
    }

    QString saved(const QString& name, const LapData& data, const QDateTime& modified) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(saveDataFile(path.toStdString(), data, "memo"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
        return path;
    }
    void trigger(const char* name) {
        auto* action = window->findChild<QAction*>(QString::fromUtf8(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }

    const QDateTime modified{QDate(2026, 12, 10), QTime(14, 35, 12)};
};

TEST_F(LapSheetWindow, CommandsSitInTheAdditionsMenuOnly) {
    auto* menu = window->findChild<QMenu*>(QStringLiteral("mnuRun"));
    ASSERT_NE(menu, nullptr);
    QStringList names;
    for (const QAction* a : menu->actions()) names << a->objectName();
    EXPECT_TRUE(names.contains(texts::kPrintCommandName));
    EXPECT_TRUE(names.contains(texts::kSavePdfCommandName));
    EXPECT_TRUE(names.contains(texts::kSaveChartCommandName));
    QStringList top;
    for (const QAction* a : window->menuBar()->actions()) top << a->objectName();
    EXPECT_EQ(top, (QStringList{"mnuFile", "mnuEdit", "mnuID_SET", "mnuRun", "mnuHelp"}));
}

TEST_F(LapSheetWindow, SavePdfSuggestsANameFromTheRunAndWritesTheSheet) {
    const QString run = saved("a.krt", runWithLaps({61.0, 60.5, 62.0}), modified);
    ASSERT_TRUE(window->fileCommands().openRunFile(run));
    dialogs->answers.push_back(dir.filePath("sheet"));  // the extension is added
    trigger(texts::kSavePdfCommandName);
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, FakeDialogs::Kind::SavePath);
    EXPECT_EQ(dialogs->calls[0].title, QString::fromUtf8(texts::kSavePdfTitle));
    // Sheets are not mixed among the runs: the first goes to Documents, the next where the
    // last one went.
    EXPECT_EQ(dialogs->calls[0].defaultText,
              QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                  .filePath("2026-12-10_1435_car07.pdf"));
    QFile pdf(dir.filePath("sheet.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_TRUE(QToolTip::text().contains(dir.filePath("sheet.pdf")))
        << QToolTip::text().toStdString();

    QDir(dir.path()).mkpath("elsewhere");
    const QString moved = saved("elsewhere/b.krt", runWithLaps({60.0}), modified);
    ASSERT_TRUE(window->fileCommands().openRunFile(moved));
    trigger(texts::kSaveChartCommandName);
    ASSERT_EQ(dialogs->calls.size(), 2u);
    EXPECT_EQ(dialogs->calls[1].defaultText, dir.filePath("2026-12-10_1435_car07.png"));
}

// Answers the save question by throwing, as a broken dialog would.
class ThrowingSaveDialogs : public FakeDialogs {
  public:
    QString askSavePathFrom(const QString&, const QString&, const QString&) override {
        throw std::runtime_error("no dialog");
    }
};

TEST_F(LapSheetWindow, ACommandThatThrowsIsReportedByNameAndTheWindowGoesOn) {
    ASSERT_TRUE(window->fileCommands().openRunFile(saved("a.krt", runWithLaps({61.0}), modified)));
    auto owned = std::make_unique<ThrowingSaveDialogs>();
    ThrowingSaveDialogs& throwing = *owned;
    window->setDialogs(std::move(owned));
    const struct {
        const char* command;
        const char* text;
    } cases[] = {
        {texts::kSavePdfCommandName, "「PDFに保存」を実行できませんでした\r\nno dialog"},
        {texts::kSaveChartCommandName, "「グラフを画像で保存」を実行できませんでした\r\nno dialog"},
    };
    for (const auto& c : cases) {
        throwing.calls.clear();
        EXPECT_NO_THROW(trigger(c.command));
        ASSERT_EQ(throwing.calls.size(), 1u) << c.command;
        EXPECT_EQ(throwing.calls[0].kind, FakeDialogs::Kind::Message);
        EXPECT_EQ(throwing.calls[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(throwing.calls[0].title, "Korimet");
    }
}

TEST_F(LapSheetWindow, TheSheetIsDatedByTheLibraryByTheFileOrNow) {
    struct Case {
        const char* file;
        RunOrigin origin;
        const char* expected;  // empty: now
    };
    const Case cases[] = {
        {"library/2026-11-02/091530-car07.krt", RunOrigin::Library, "2026-11-02 09:15"},
        {"library/2026-11-02/091530-car07.krt", RunOrigin::File, "2026-11-02 09:15"},
        {"plain.krt", RunOrigin::File, "2026-12-10 14:35"},
        {"plain.krt", RunOrigin::Library, "2026-12-10 14:35"},
        {nullptr, RunOrigin::Timer, ""},
    };
    for (const Case& c : cases) {
        if (c.file) {
            const QString path = saved(QString::fromUtf8(c.file), runWithLaps({60.0}), modified);
            ASSERT_TRUE(window->fileCommands().openRunFile(path, c.origin));
        } else {
            window->deviceLink().feedBytes(frameFor(runWithLaps({60.0})));
        }
        const QString before = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm");
        const std::string date = sheetOfSession(window->runSession()).header[4].value;
        const QString after = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm");
        if (*c.expected) {
            EXPECT_EQ(date, c.expected) << (c.file ? c.file : "download");
        } else {
            EXPECT_TRUE(date == before.toStdString() || date == after.toStdString()) << date;
        }
    }
}

TEST_F(LapSheetWindow, SheetOfTheWindowCarriesTheMemoBoxAndTheComparison) {
    const QString run = saved("a.krt", runWithLaps({61.0, 60.5, 62.0}), modified);
    const QString other = saved("b.krt", runWithLaps({60.0, 63.0}), modified);
    ASSERT_TRUE(window->fileCommands().openRunFile(run));
    window->findChild<QTextEdit*>("RichTextBox1")->setPlainText("edited\nafter");
    EXPECT_FALSE(sheetOfSession(window->runSession()).comparison);
    ASSERT_TRUE(window->analysisCommands().compareWithFile(other));
    const LapSheet sheet = sheetOfSession(window->runSession());
    EXPECT_EQ(sheet.memo, "edited\nafter");
    ASSERT_TRUE(sheet.comparison);
    EXPECT_EQ(sheet.comparison->runName, "b.krt");
    EXPECT_EQ(sheet.comparison->differences[0].value, "(+.5sec)");
    EXPECT_EQ(sheet.seriesNames, (std::vector<std::string>{"a.krt", "b.krt"}));
    EXPECT_EQ(sheet.header[5].value, "a.krt");
}

// The sheet of a corrected run marks the laps the window marks, and counts as it counts.
TEST_F(LapSheetWindow, TheSheetMarksAndCountsTheLapsAsTheWindowDoes) {
    attachLapCorrections(window->addition());
    const QString run = dir.filePath("run.krt");
    ASSERT_TRUE(test::writeDoublePressRun(run.toStdString(), true));
    ASSERT_TRUE(window->fileCommands().openRunFile(run));
    const RunView& shown = window->runSession().runView();
    ASSERT_EQ(shown.data, test::mergedDoublePressRun());
    const LapSheet sheet = sheetOfSession(window->runSession());
    std::vector<LapMark> printed;
    for (const SheetLap& lap : sheet.laps) printed.push_back(lap.lapMark);
    EXPECT_EQ(printed, window->runSession().lapMarks());
    ASSERT_EQ(printed.size(), 9u);
    EXPECT_EQ(printed[test::kDoublePressLap], LapMark::Corrected);
}

TEST_F(LapSheetWindow, ChartPictureIsTwiceItsLogicalSize) {
    window->deviceLink().feedBytes(frameFor(runWithLaps({61.0, 60.5, 62.0})));
    dialogs->answers.push_back(dir.filePath("chart.png"));
    trigger(texts::kSaveChartCommandName);
    ASSERT_EQ(dialogs->calls.size(), 1u);
    // A download no library kept: dated now.
    EXPECT_TRUE(dialogs->calls[0].defaultText.endsWith("_car07.png"));
    const QImage image(dir.filePath("chart.png"));
    EXPECT_EQ(image.size(), QSize(1600, 800));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
}

TEST_F(LapSheetWindow, AFailedWriteSaysWhichFileAndLeavesNothing) {
    window->deviceLink().feedBytes(frameFor(runWithLaps({61.0})));
    const QString target = dir.filePath("missing/sheet.pdf");
    const QString picture = dir.filePath("a.krt/chart.png");
    QFile(dir.filePath("a.krt")).open(QIODevice::WriteOnly);
    dialogs->answers = {target, picture, QString()};
    trigger(texts::kSavePdfCommandName);
    trigger(texts::kSaveChartCommandName);
    trigger(texts::kSavePdfCommandName);  // cancelled: nothing said
    ASSERT_EQ(dialogs->calls.size(), 5u);
    EXPECT_EQ(dialogs->calls[1].kind, FakeDialogs::Kind::Message);
    EXPECT_TRUE(dialogs->calls[1].text.contains(target));
    EXPECT_EQ(dialogs->calls[3].kind, FakeDialogs::Kind::Message);
    EXPECT_TRUE(dialogs->calls[3].text.contains(picture));
    EXPECT_EQ(dialogs->calls[4].kind, FakeDialogs::Kind::SavePath);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"a.krt"});
}

TEST_F(LapSheetWindow, PrintShowsThePreviewOfTheSheet) {
    window->deviceLink().feedBytes(frameFor(runWithLaps({61.0, 60.5, 62.0})));
    bool previewed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            previewed = true;
            // Big enough to read the page: most of the screen's height, and the page fills
            // the width rather than standing small in the middle.
            const QRect room = preview->screen()->availableGeometry();
            EXPECT_GE(preview->height(), room.height() * 8 / 10);
            if (auto* pages = preview->findChild<QPrintPreviewWidget*>())
                EXPECT_EQ(pages->zoomMode(), QPrintPreviewWidget::FitToWidth);
            else
                ADD_FAILURE() << "no pages in the preview";
            preview->reject();
        }
    });
    poll.start(20);
    QTimer::singleShot(10000, [&] {  // never hang the run if no preview comes
        if (auto* modal = QApplication::activeModalWidget()) modal->close();
    });
    trigger(texts::kPrintCommandName);
    EXPECT_TRUE(previewed);
    EXPECT_TRUE(dialogs->calls.empty());
}

// The template the window starts with is no run: nothing is asked and no page is written.
TEST_F(LapSheetWindow, WithNoRunThereIsNothingToPrint) {
    for (const char* command :
         {texts::kPrintCommandName, texts::kSavePdfCommandName, texts::kSaveChartCommandName}) {
        dialogs->calls.clear();
        trigger(command);
        ASSERT_EQ(dialogs->calls.size(), 1u) << command;
        EXPECT_EQ(dialogs->calls[0].kind, FakeDialogs::Kind::Message) << command;
        EXPECT_EQ(dialogs->calls[0].text, QString::fromUtf8(texts::kNothingToPrint)) << command;
    }
}

// The other run of a comparison is described, not only named, and the chart of two runs is
// drawn without complaint on standard error.
TEST_F(LapSheetWindow, TheComparedRunIsDescribedAndDrawnQuietly) {
    const QString run = saved("a.krt", runWithLaps({61.0, 60.5, 62.0}), modified);
    const QString other =
        saved("library/2026-11-02/091530-car07.krt", runWithLaps({60.0, 63.0}), modified);
    ASSERT_TRUE(window->fileCommands().openRunFile(run));
    ASSERT_TRUE(window->analysisCommands().compareWithFile(other));
    const LapSheet sheet = sheetOfSession(window->runSession());
    ASSERT_TRUE(sheet.comparison);
    std::vector<std::string> details;
    for (const SheetField& f : sheet.comparison->details) details.push_back(f.value);
    EXPECT_EQ(details,
              (std::vector<std::string>{"2026-11-02 09:15", "02L", "01m00s00", "01m01s50"}));

    static std::vector<std::string> complaints;
    complaints.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            complaints.push_back(text.toStdString());
        });
    const bool drawn = static_cast<bool>(sheetPdfBytes(sheet, Paper::A4)) &&
                       static_cast<bool>(chartPngBytes(sheet, 800));
    qInstallMessageHandler(previous);
    EXPECT_TRUE(drawn);
    EXPECT_EQ(complaints, std::vector<std::string>{});
}

TEST(SheetPdf, LetterPaperGivesALetterPage) {
    QTemporaryDir dir;
    const LapSheet sheet =
        buildLapSheet({{viewRun(runWithLaps({60.0, 61.0})), "x.krt"}, "", {}, {}});
    for (const auto& [paper, box] : {std::pair{Paper::A4, QByteArray("/MediaBox [0 0 595")},
                                     std::pair{Paper::Letter, QByteArray("/MediaBox [0 0 612")}}) {
        const QString path = dir.filePath("s.pdf");
        ASSERT_TRUE(writeSheetPdf(sheet, paper, path));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.contains(box)) << box.constData();
        EXPECT_EQ(bytes.count("/MediaBox"), 1);
        EXPECT_EQ(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 1);
    }
}

// A memo longer than its box is never cut: the rest goes on over further pages, every line
// of it in the PDF's text.
TEST(SheetPdf, ALongMemoGoesOnOverTheNextPage) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "poppler-utils not installed";
    QTemporaryDir dir;
    std::string memo;
    for (int line = 1; line <= 150; ++line) memo += "memo line " + std::to_string(line) + "\n";
    const LapSheet sheet =
        buildLapSheet({{viewRun(runWithLaps({60.0, 61.0, 62.0})), "x.krt"}, memo, {}, {}});
    const QString path = dir.filePath("long.pdf");
    ASSERT_TRUE(writeSheetPdf(sheet, Paper::A4, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_GE(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 2);
    QProcess p;
    p.start("pdftotext", {"-enc", "UTF-8", path, "-"});
    p.waitForFinished();
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (int line = 1; line <= 150; ++line) {
        EXPECT_TRUE(text.contains(QStringLiteral("memo line %1\n").arg(line))) << line;
    }
    EXPECT_FALSE(text.contains(QStringLiteral("…")));
}

// What reaches a printer is the page the PDF holds: the same text in the same places.
TEST(SheetPrint, APrinterGetsThePageThePdfHolds) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "poppler-utils not installed";
    QTemporaryDir dir;
    SheetInput input{{viewRun(runWithLaps({61.0, 60.5, 62.0, 63.5}, 61.0, 17)), "/runs/a.krt"},
                     "メモ\n二行目",
                     {2026, 12, 10, 14, 35, 0},
                     SheetRun{viewRun(runWithLaps({60.0, 63.0})), "/runs/b.krt"}};
    const LapSheet sheet = buildLapSheet(input);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("printed.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    ASSERT_TRUE(printSheet(printer, sheet));
    ASSERT_TRUE(writeSheetPdf(sheet, Paper::A4, dir.filePath("saved.pdf")));
    auto text = [&](const char* name) {
        QProcess p;
        p.start("pdftotext", {"-layout", "-enc", "UTF-8", dir.filePath(name), "-"});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    const QString printed = text("printed.pdf");
    EXPECT_TRUE(printed.contains(QStringLiteral("ラップシート"))) << printed.toStdString();
    EXPECT_EQ(printed, text("saved.pdf"));
}

// A run of a track day round a target of 1:01.50, a 20-minute race simulated, car 7.
LapData trackDayRun(int laps, double pace) {
    LapData d = runWithLaps({}, 61.5, 20, 7);
    for (int i = 0; i < laps; ++i)
        d.laps[static_cast<std::size_t>(i)] = pace + (i * 37 % 23) / 10.0 - 0.8;
    d.lapCount = static_cast<std::uint8_t>(laps);
    return d;
}

// Every word a sheet puts on the page but the racer's memo.
std::vector<std::string> wordsOf(const LapSheet& s) {
    std::vector<std::string> words = {
        s.title,           s.chartTitle,    s.memoCaption, s.memoContinuedCaption,
        s.lapNumberHeader, s.lapTimeHeader, s.noLapsText};
    const auto fields = [&](const std::vector<SheetField>& all) {
        for (const SheetField& f : all) words.insert(words.end(), {f.caption, f.value});
    };
    fields(s.header);
    fields(s.statistics);
    for (const SheetLegendEntry& e : s.legend) words.insert(words.end(), {e.mark, e.meaning});
    for (const SheetLap& lap : s.laps) words.insert(words.end(), {lap.mark, lap.timeText});
    words.insert(words.end(), s.seriesNames.begin(), s.seriesNames.end());
    if (s.comparison) {
        words.insert(words.end(), {s.comparison->runCaption, s.comparison->runName});
        fields(s.comparison->details);
        fields(s.comparison->differences);
    }
    return words;
}

std::vector<std::string> japaneseWords(const std::vector<std::string>& words) {
    std::vector<std::string> found;
    for (const std::string& w : words) {
        if (test::holdsJapanese(QString::fromStdString(w))) found.push_back(w);
    }
    return found;
}

std::vector<std::string> pdfLines(const QString& path) {
    QProcess p;
    p.start("pdftotext", {"-enc", "UTF-8", path, "-"});
    p.waitForFinished();
    std::vector<std::string> lines;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        lines.push_back(line.toStdString());
    return lines;
}

// The window's language is the translation installed; none is left behind for other tests.
class LapSheetInEnglish : public LapSheetWindow {
  protected:
    void TearDown() override {
        applyLanguage(QStringLiteral("none"));
        LapSheetWindow::TearDown();
    }
};

TEST_F(LapSheetInEnglish, TheSheetIsInEnglishButForTheRunsOwnWordsAndItsDataStay) {
    const SheetDateTime date{2026, 12, 10, 14, 35, 7};
    const SheetInput cases[] = {
        {{viewRun(trackDayRun(26, 62.0)), "/runs/2026-12-10/143507-car07.krt"},
         "雨上がり、路面は半乾き。\r\n二本目",
         date,
         SheetRun{viewRun(trackDayRun(24, 61.7)), "/runs/b.krt",
                  SheetDateTime{2026, 12, 9, 10, 0, 0}}},
        {{viewRun(trackDayRun(60, 62.0)), ""}, "", date, std::nullopt},  // unsaved, every slot
        {{viewRun(runWithLaps({})), "/runs/empty.krt"}, "", date, std::nullopt},
    };
    for (const SheetInput& input : cases) {
        const std::string what = input.run.fileName;
        const LapSheet japanese = buildLapSheet(input);
        applyLanguage(QStringLiteral("en"));
        const LapSheet english = buildLapSheet(input, uiWording());
        EXPECT_EQ(japaneseWords(wordsOf(english)), std::vector<std::string>{}) << what;
        EXPECT_EQ(english.memo, japanese.memo) << what;
        for (Paper paper : {Paper::A4, Paper::Letter})
            EXPECT_EQ(sheetTextsCut(english, paper), QStringList{}) << what;
        // Lap times, dates, numbers and file names are the same in either language.
        EXPECT_EQ(english.laps, japanese.laps) << what;
        EXPECT_EQ(english.chart, japanese.chart) << what;
        for (std::size_t i : {0u, 1u, 2u, 4u})
            EXPECT_EQ(english.header[i].value, japanese.header[i].value) << what;
        if (!what.empty()) {
            EXPECT_EQ(english.header[5].value, japanese.header[5].value);
        }
        for (std::size_t i : {0u, 1u, 2u, 3u, 5u})
            EXPECT_EQ(english.statistics[i].value, japanese.statistics[i].value) << what;
        EXPECT_EQ(english.comparison.has_value(), japanese.comparison.has_value()) << what;
        if (english.comparison && japanese.comparison) {
            for (std::size_t i = 0; i < japanese.comparison->differences.size(); ++i)
                EXPECT_EQ(english.comparison->differences[i].value,
                          japanese.comparison->differences[i].value);
        }
        // Back in Japanese, the sheet is the one the core makes without a translation.
        applyLanguage(QStringLiteral("ja"));
        EXPECT_EQ(wordsOf(buildLapSheet(input, uiWording())), wordsOf(japanese)) << what;
    }
    EXPECT_EQ(buildLapSheet(cases[0]).title, "ラップシート  車番07");
    // The check sees a caption too wide for its field.
    LapSheet wide = buildLapSheet(cases[0]);
    wide.statistics[0].caption = std::string(40, 'W');
    EXPECT_EQ(sheetTextsCut(wide, Paper::A4), QStringList{QString(40, 'W')});
}

// Under English the commands, their questions and messages and the sheet they write are in
// English, and back in Japanese the commands say what they said before.
TEST_F(LapSheetInEnglish, TheCommandsAndTheSheetTheyWriteFollowTheWindowsLanguage) {
    auto* menu = window->findChild<QMenu*>(QStringLiteral("mnuRun"));
    ASSERT_NE(menu, nullptr);
    const auto commandTexts = [&] {
        std::vector<std::string> shown;
        for (const char* name :
             {texts::kPrintCommandName, texts::kSavePdfCommandName, texts::kSaveChartCommandName})
            shown.push_back(
                window->findChild<QAction*>(QString::fromUtf8(name))->text().toStdString());
        return shown;
    };
    const std::vector<std::string> before = commandTexts();
    applyLanguage(QStringLiteral("en"));
    EXPECT_EQ(japaneseWords(commandTexts()), std::vector<std::string>{});
    EXPECT_EQ(sheetOfSession(window->runSession()).title.rfind("Lap Sheet", 0), 0u);

    trigger(texts::kSavePdfCommandName);  // no run yet
    LapData data = trackDayRun(26, 62.0);
    const QString run = saved("a.krt", data, modified);
    const QString other = saved("b.krt", trackDayRun(22, 61.8), modified);
    ASSERT_TRUE(window->fileCommands().openRunFile(run));
    ASSERT_TRUE(window->analysisCommands().compareWithFile(other));
    const QString pdf = dir.filePath("sheet.pdf");
    const QString nowhere = dir.filePath("missing/sheet.pdf");
    dialogs->answers = {pdf, nowhere};
    trigger(texts::kSavePdfCommandName);
    trigger(texts::kSavePdfCommandName);
    ASSERT_EQ(dialogs->calls.size(), 4u);
    std::vector<std::string> asked;
    for (const FakeDialogs::Call& call : dialogs->calls)
        asked.insert(asked.end(), {call.title.toStdString(), call.text.toStdString(),
                                   call.filter.toStdString()});
    EXPECT_EQ(japaneseWords(asked), std::vector<std::string>{});
    EXPECT_TRUE(dialogs->calls[3].text.contains(nowhere));
    EXPECT_TRUE(QToolTip::text().contains(pdf)) << QToolTip::text().toStdString();
    EXPECT_FALSE(test::holdsJapanese(QToolTip::text())) << QToolTip::text().toStdString();

    if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
        const std::vector<std::string> lines = pdfLines(pdf);
        EXPECT_EQ(japaneseWords(lines), std::vector<std::string>{});
        const std::string text = [&] {
            std::string all;
            for (const std::string& l : lines) all += l + "\n";
            return all;
        }();
        EXPECT_NE(text.find("Lap Sheet"), std::string::npos) << text;
        EXPECT_NE(text.find("Car 07"), std::string::npos) << text;
        EXPECT_NE(text.find("b.krt"), std::string::npos) << text;
        EXPECT_NE(text.find(formatLapTime(data.laps[0])), std::string::npos) << text;
    }

    applyLanguage(QStringLiteral("ja"));
    EXPECT_EQ(commandTexts(), before);
}

}  // namespace
}  // namespace korimet
