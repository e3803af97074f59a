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
#include <string>

#include "files/data_file.h"
#include "sheet/lap_sheet.h"
#include "sheet/sheet_texts.h"
#include "sheet/ui/lap_sheet_commands.h"
#include "sheet/ui/sheet_renderer.h"
#include "shell/ui/main_window.h"
#include "support/fake_dialogs.h"
#include "support/frames.h"
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
    const LapSheet sheet = buildLapSheet({{runWithLaps({60.0, 61.0}), "x.krt"}, "", {}, {}});
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
        buildLapSheet({{runWithLaps({60.0, 61.0, 62.0}), "x.krt"}, memo, {}, {}});
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
    SheetInput input{{runWithLaps({61.0, 60.5, 62.0, 63.5}, 61.0, 17), "/runs/a.krt"},
                     "メモ\n二行目",
                     {2026, 12, 10, 14, 35, 0},
                     SheetRun{runWithLaps({60.0, 63.0}), "/runs/b.krt"}};
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

}  // namespace
}  // namespace korimet
