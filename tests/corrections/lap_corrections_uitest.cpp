#include <gtest/gtest.h>

#include <QAction>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTableWidget>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/ui/ui_text.h"
#include "corrections/correction_file.h"
#include "corrections/run_generator.h"
#include "corrections/settings/limit_settings.h"
#include "corrections/ui/correction_dialog.h"
#include "corrections/ui/correction_texts.h"
#include "corrections/ui/lap_corrections_ui.h"
#include "corrections/ui/run_corrector.h"
#include "files/data_file.h"
#include "files/ui/file_commands.h"
#include "lapdata/lap_view_model.h"
#include "lapdata/ui/lap_grid.h"
#include "lapdata/ui/lap_marks.h"
#include "lapdata/ui/lap_panel.h"
#include "library/run_library.h"
#include "library/ui/library_table_model.h"
#include "library/ui/library_texts.h"
#include "library/ui/library_window.h"
#include "library/ui/run_library_ui.h"
#include "session/system_path.h"
#include "shell/ui/main_window.h"
#include "support/fake_dialogs.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/pty.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "support/window_fixture.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::FakeDialogs;
using test::readBytes;
using test::runWithLaps;
using test::writeBytes;

// A double press on lap 3, a missed press on lap 6, a double press on the last lap.
const LapData kDoublePress = runWithLaps({45.12, 44.80, 0.61, 44.19, 45.33, 44.90});
const LapData kMissedPress = runWithLaps({45.12, 44.80, 44.19, 90.31, 45.04, 44.62});
const LapData kLastPress = runWithLaps({45.12, 44.80, 44.19, 45.04, 44.62, 0.40});
const LapData kTwoFaults = runWithLaps({45.12, 0.52, 44.28, 44.19, 89.60, 45.04, 44.62});
const LapData kClean = runWithLaps({45.12, 44.80, 44.19, 45.33, 44.90, 45.04});

// The window as korimet starts it, with or without lap corrections.
std::unique_ptr<MainWindow> makeWindow(FakeDialogs*& dialogs, bool withCorrections) {
    auto window = test::windowWithFakeDialogs(dialogs);
    if (withCorrections) attachLapCorrections(window->addition());
    return window;
}

void showDownload(MainWindow& window, const LapData& data) {
    NewRun run;
    run.data = data;
    run.origin = RunOrigin::Timer;
    window.runSession().replaceRun(run);
}

LapGrid& gridOf(const MainWindow& window) { return *window.lapPanel().controls().lapGrid; }

LapMarkDelegate& marksOf(const MainWindow& window) {
    return *qobject_cast<LapMarkDelegate*>(gridOf(window).itemDelegate());
}

std::vector<LapMark> gridMarks(const MainWindow& window) {
    std::vector<LapMark> marks;
    for (int slot = 0; slot < kLapSlots; ++slot) {
        const GridPlace place = gridPlaceOfSlot(slot);
        marks.push_back(marksOf(window).markAt(place.row, place.numberColumn));
    }
    return marks;
}

// Every cell text and body colour of the grid, and the lap panel's labels.
struct Shown {
    std::vector<QString> texts;
    std::vector<std::uint32_t> colors;
    friend bool operator==(const Shown&, const Shown&) = default;
};
Shown shownOf(const MainWindow& window) {
    Shown shown;
    const LapGrid& grid = gridOf(window);
    for (int r = 0; r < LapGrid::kRows; ++r) {
        for (int c = 0; c < LapGrid::kColumns; ++c) {
            shown.texts.push_back(grid.textMatrix(r, c));
            if (r > 0) shown.colors.push_back(grid.cellBackColor(r, c));
        }
    }
    for (const char* name : {"Label2", "Label3", "Label4", "Label5", "Label6", "Label7", "Label17",
                             "Label19", "Label21"}) {
        shown.texts.push_back(window.findChild<QLabel*>(name)->text());
    }
    return shown;
}

// What the window shows for a record, as the lap view computes it.
Shown expectedFor(const MainWindow& window, const LapData& data) {
    Shown shown = shownOf(window);
    const LapView view = buildLapView(data);
    std::size_t i = 0;
    for (std::size_t r = 0; r < view.cells.size(); ++r) {
        for (std::size_t c = 0; c < view.cells[r].size(); ++c) {
            shown.texts[i++] = QString::fromStdString(view.cells[r][c]);
        }
    }
    std::size_t k = 0;
    for (std::size_t r = 1; r < view.colors.size(); ++r) {
        for (std::size_t c = 0; c < view.colors[r].size(); ++c)
            shown.colors[k++] = view.colors[r][c];
    }
    // After the grid: Label2, Label3 stay; then Label4..Label7, Label17, Label19, Label21.
    const std::string labels[] = {view.carText,  view.lapCountText, view.targetText, view.raceLine,
                                  view.bestText, view.averageText,  view.worstText};
    for (std::size_t j = 0; j < std::size(labels); ++j)
        shown.texts[i + 2 + j] = QString::fromStdString(labels[j]);
    return shown;
}

class LapCorrectionsWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().clear();
        window = makeWindow(dialogs, true);
    }
    void TearDown() override {
        window.reset();
        QSettings().clear();
    }

    RunSession& session() const { return window->runSession(); }
    RunCorrector& corrector() const { return *window->findChild<RunCorrector*>(); }
    CorrectionDialog& openDialog() const {
        window->findChild<QAction*>(QString::fromUtf8(correctiontexts::kMenuItemName))->trigger();
        return *window->findChild<CorrectionDialog*>();
    }
    // Clicks and waits until the store has written what the click asked for.
    void click(CorrectionDialog& dialog, const char* button) const {
        dialog.findChild<QPushButton*>(button)->click();
        EXPECT_TRUE(written());
    }
    bool written() const {
        return test::waitUntil([&] { return !corrector().busy(); });
    }
    // A run file under the temporary folder, as the data file writes it.
    QString runFile(const LapData& data, const std::string& name = "run.krt") const {
        const fs::path path = dir.path() / name;
        EXPECT_TRUE(saveDataFile(path.string(), data, "memo"));
        return pathFromSystem(path.string());
    }
    static fs::path correctionsOf(const QString& run) {
        return correctionFilePath(systemPath(run));
    }

    test::TempDir dir;
    std::unique_ptr<MainWindow> window;
    FakeDialogs* dialogs = nullptr;
};

TEST_F(LapCorrectionsWindow, ListsSuspectsFirstWithTheirFix) {
    const struct {
        LapData run;
        std::vector<int> suspects;
        std::vector<CorrectionKind> fixes;
    } cases[] = {
        {kDoublePress, {2}, {CorrectionKind::MergeIntoNext}},
        {kMissedPress, {3}, {CorrectionKind::Split}},
        {kLastPress, {5}, {CorrectionKind::MergeIntoPrevious}},
        {kTwoFaults, {1, 4}, {CorrectionKind::MergeIntoNext, CorrectionKind::Split}},
        {kClean, {}, {}},
    };
    CorrectionDialog& dialog = openDialog();
    // Room to spare on a 1366x768 screen.
    EXPECT_LE(dialog.width(), 1366);
    EXPECT_LE(dialog.height(), 700);
    for (const auto& c : cases) {
        showDownload(*window, c.run);
        const auto& rows = dialog.rows();
        ASSERT_EQ(rows.size(), c.run.lapCount);
        auto* list = dialog.findChild<QTableWidget*>("lapList");
        std::vector<int> listed;
        for (std::size_t r = 0; r < rows.size(); ++r) listed.push_back(rows[r].lap);
        for (std::size_t k = 0; k < c.suspects.size(); ++k) {
            EXPECT_EQ(rows[k].lap, c.suspects[k]);
            ASSERT_TRUE(rows[k].suggestion);
            EXPECT_EQ(rows[k].suggestion->kind, c.fixes[k]);
            EXPECT_EQ(rows[k].choice, c.fixes[k]) << "the suggestion is the first choice";
            EXPECT_EQ(list->item(static_cast<int>(k), 0)->text(),
                      QString::number(c.suspects[k] + 1));
            EXPECT_FALSE(list->item(static_cast<int>(k), 3)->text().isEmpty());
            // The grid marks the suspect beside its lap number.
            const GridPlace place = gridPlaceOfSlot(c.suspects[k]);
            EXPECT_NE(marksOf(*window).markAt(place.row, place.numberColumn), LapMark::None);
        }
        // Then every other lap, in order, with nothing chosen.
        for (std::size_t r = c.suspects.size(); r < rows.size(); ++r) {
            EXPECT_FALSE(rows[r].suggestion);
            EXPECT_FALSE(rows[r].choice);
            if (r > c.suspects.size()) {
                EXPECT_GT(rows[r].lap, rows[r - 1].lap);
            }
        }
        if (c.suspects.empty()) {
            EXPECT_FALSE(dialog.findChild<QPushButton*>("applyButton")->isEnabled());
        }
    }
}

TEST_F(LapCorrectionsWindow, ApplyingShowsTheCorrectedLapsAndUndoAllTheDownloadedOnes) {
    showDownload(*window, kTwoFaults);
    const Shown downloaded = shownOf(*window);
    const std::vector<LapMark> downloadedMarks = gridMarks(*window);
    CorrectionDialog& dialog = openDialog();
    click(dialog, "applyButton");

    // The last suspect first, so the first one's lap is still where the list showed it.
    RunCorrections expected(kTwoFaults);
    ASSERT_EQ(expected.apply({CorrectionKind::Split, 4}), CorrectionRefusal::None);
    ASSERT_EQ(expected.apply({CorrectionKind::MergeIntoNext, 1}), CorrectionRefusal::None);
    EXPECT_EQ(corrector().corrections().steps(), expected.steps());
    EXPECT_EQ(session().currentData(), expected.run().data);
    EXPECT_EQ(session().downloadedData(), kTwoFaults);
    EXPECT_EQ(shownOf(*window), expectedFor(*window, expected.run().data));
    EXPECT_NE(shownOf(*window), downloaded);
    // The merged lap and the two halves are marked as corrected; nothing looks suspect now.
    std::vector<LapMark> corrected(kLapSlots, LapMark::None);
    for (std::size_t i = 0; i < expected.run().listIndex.size(); ++i) {
        const auto& lap =
            expected.run().laps[static_cast<std::size_t>(expected.run().listIndex[i])];
        if (lap.origin != LapOrigin::AsDownloaded) corrected[i] = LapMark::Corrected;
    }
    EXPECT_EQ(gridMarks(*window), corrected);

    click(dialog, "undoButton");
    RunCorrections oneStep(kTwoFaults);
    oneStep.apply(expected.steps().front());
    EXPECT_EQ(session().currentData(), oneStep.run().data);
    EXPECT_EQ(shownOf(*window), expectedFor(*window, oneStep.run().data));

    click(dialog, "undoAllButton");
    EXPECT_EQ(session().currentData(), kTwoFaults);
    EXPECT_EQ(shownOf(*window), downloaded);
    EXPECT_EQ(gridMarks(*window), downloadedMarks);
    EXPECT_FALSE(dialog.findChild<QPushButton*>("undoAllButton")->isEnabled());
}

TEST_F(LapCorrectionsWindow, RandomCorrectionsUndoneGiveTheDownloadedRunBack) {
    RunGenerator generator(2020);
    std::mt19937_64 random(2020);
    CorrectionDialog& dialog = openDialog();
    for (int round = 0; round < 40; ++round) {
        const LapData run = generator
                                .run(round % 2 ? RunKind::Kart : RunKind::MiniFourWheelDrive,
                                     static_cast<PressFault>(round % 3))
                                .data;
        showDownload(*window, run);
        const Shown downloaded = shownOf(*window);
        for (int step = 0; step < 6; ++step) {
            const auto size = static_cast<unsigned>(corrector().corrections().run().laps.size());
            corrector().apply(
                {{static_cast<CorrectionKind>(random() % 4), static_cast<int>(random() % size)}});
            ASSERT_EQ(session().currentData(), corrector().corrections().run().data);
            ASSERT_EQ(shownOf(*window), expectedFor(*window, session().currentData()));
        }
        click(dialog, "undoAllButton");
        ASSERT_EQ(session().currentData(), run) << "round " << round;
        ASSERT_EQ(shownOf(*window), downloaded) << "round " << round;
    }
}

TEST_F(LapCorrectionsWindow, CorrectionsAreKeptBesideALibraryRunAndAppliedWhenItOpens) {
    const QString run = runFile(kDoublePress);
    const std::string runBytes = readBytes(systemPath(run));
    ASSERT_TRUE(window->fileCommands().openRunFile(run, RunOrigin::Library));
    click(openDialog(), "applyButton");
    const LapData corrected = session().currentData();
    ASSERT_NE(corrected, kDoublePress);
    ASSERT_TRUE(fs::exists(correctionsOf(run)));
    EXPECT_EQ(readBytes(systemPath(run)), runBytes) << "the downloaded bytes stay";
    const CorrectionFileRead read =
        parseCorrectionFile(readBytes(correctionsOf(run)), kDoublePress);
    EXPECT_EQ(read.steps, corrector().corrections().steps());

    // Opened again, from the library or as a file, the run shows corrected.
    for (const RunOrigin origin : {RunOrigin::Library, RunOrigin::File}) {
        FakeDialogs* otherDialogs = nullptr;
        auto other = makeWindow(otherDialogs, true);
        ASSERT_TRUE(other->fileCommands().openRunFile(run, origin));
        EXPECT_EQ(other->runSession().currentData(), corrected);
        EXPECT_EQ(other->runSession().downloadedData(), kDoublePress);
        EXPECT_EQ(shownOf(*other), expectedFor(*other, corrected));
        EXPECT_TRUE(otherDialogs->calls.empty());
    }

    // Undoing everything leaves no file behind.
    click(*window->findChild<CorrectionDialog*>(), "undoAllButton");
    EXPECT_FALSE(fs::exists(correctionsOf(run)));
    EXPECT_EQ(readBytes(systemPath(run)), runBytes);
    EXPECT_TRUE(dialogs->calls.empty());
}

// File > Save writes the corrected laps into the run's own file: its corrections are then
// done with, and the file opens again as saved, without a word about other laps.
TEST_F(LapCorrectionsWindow, SavingOverTheRunsFileTakesItsCorrectionsAlong) {
    const QString run = runFile(kDoublePress);
    ASSERT_TRUE(window->fileCommands().openRunFile(run, RunOrigin::File));
    click(openDialog(), "applyButton");
    const LapData corrected = session().currentData();
    ASSERT_TRUE(fs::exists(correctionsOf(run)));
    window->fileCommands().saveDataFile();
    ASSERT_TRUE(written());
    EXPECT_FALSE(fs::exists(correctionsOf(run)));
    EXPECT_TRUE(corrector().corrections().steps().empty());
    EXPECT_EQ(session().currentData(), corrected);

    FakeDialogs* otherDialogs = nullptr;
    auto other = makeWindow(otherDialogs, true);
    ASSERT_TRUE(other->fileCommands().openRunFile(run, RunOrigin::File));
    EXPECT_EQ(other->runSession().currentData(), corrected);
    EXPECT_TRUE(otherDialogs->calls.empty());

    // Saved elsewhere, the run's own file and its corrections stay as they were.
    const QString second = runFile(kDoublePress, "second.krt");
    ASSERT_TRUE(window->fileCommands().openRunFile(second, RunOrigin::File));
    click(*window->findChild<CorrectionDialog*>(), "applyButton");
    ASSERT_TRUE(fs::exists(correctionsOf(second)));
    dialogs->answers.push_back(pathFromSystem((dir.path() / "copy.krt").string()));
    window->fileCommands().saveDataFileAs();
    EXPECT_TRUE(fs::exists(correctionsOf(second)));
    EXPECT_FALSE(fs::exists(correctionsOf(pathFromSystem((dir.path() / "copy.krt").string()))));
    EXPECT_TRUE(dialogs->calls.size() == 1 &&
                dialogs->calls[0].kind == FakeDialogs::Kind::SavePath);
}

TEST_F(LapCorrectionsWindow, CorrectionsOfADownloadFollowItIntoTheLibrary) {
    showDownload(*window, kMissedPress);
    click(openDialog(), "applyButton");
    // The library's copy is written later, of the laps as downloaded.
    const QString kept = runFile(kMissedPress, "kept.krt");
    EXPECT_FALSE(fs::exists(correctionsOf(kept)));
    session().setKeptFile(kMissedPress, kept);
    EXPECT_EQ(session().keptFileName(), kept);
    ASSERT_TRUE(written());
    ASSERT_TRUE(fs::exists(correctionsOf(kept)));
    EXPECT_EQ(parseCorrectionFile(readBytes(correctionsOf(kept)), kMissedPress).steps,
              corrector().corrections().steps());
}

TEST_F(LapCorrectionsWindow, AnUnreadableCorrectionFileOpensTheRunAsDownloaded) {
    const std::string fingerprint = lapFingerprint(kDoublePress);
    const std::string files[] = {
        "not a correction file\n",
        "korimet-corrections 1\nrun " + fingerprint + "\nmerge-next x\n",
        "korimet-corrections 1\nrun 3 0000000000000000\nmerge-next 3\n",
        "korimet-corrections 2\nrun " + fingerprint + "\nmerge-next 3\nmend 4\n",
    };
    for (const std::string& bytes : files) {
        const QString run = runFile(kDoublePress);
        writeBytes(correctionsOf(run), bytes);
        dialogs->calls.clear();
        ASSERT_TRUE(window->fileCommands().openRunFile(run, RunOrigin::Library)) << bytes;
        EXPECT_EQ(session().currentData(), kDoublePress) << bytes;
        EXPECT_EQ(shownOf(*window), expectedFor(*window, kDoublePress)) << bytes;
        ASSERT_EQ(dialogs->calls.size(), 1u) << bytes;
        EXPECT_EQ(dialogs->calls[0].kind, FakeDialogs::Kind::Message);
        EXPECT_TRUE(dialogs->calls[0].text.contains(pathFromSystem(correctionsOf(run).string())))
            << dialogs->calls[0].text.toStdString();

        // A correction made now asks before the unread file is replaced; No keeps it.
        click(openDialog(), "applyButton");
        EXPECT_NE(session().currentData(), kDoublePress);
        ASSERT_EQ(dialogs->calls.size(), 2u);
        EXPECT_EQ(dialogs->calls[1].kind, FakeDialogs::Kind::Question);
        EXPECT_EQ(readBytes(correctionsOf(run)), bytes);
    }
}

// Another program's step written after the window read the file is never written over:
// what the window was asked to do is refused with a word naming the file, and the window
// then shows the file as it is, to be corrected on top of.
TEST_F(LapCorrectionsWindow, AStepAnotherProgramWroteIsNeverWrittenOver) {
    const struct {
        const char* name;
        const char* button;
        bool stepFirst;  // the window has made a step of its own before the other program
    } cases[] = {
        {"apply", "applyButton", false},
        {"undo", "undoButton", true},
        {"undo all", "undoAllButton", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString run = runFile(kTwoFaults);
        const fs::path side = correctionsOf(run);
        fs::remove(side);
        ASSERT_TRUE(window->fileCommands().openRunFile(run, RunOrigin::File));
        CorrectionDialog& dialog = openDialog();
        if (c.stepFirst) click(dialog, "applyButton");
        dialogs->calls.clear();

        const auto other =
            test::runCli("correct --apply leave-out:1 " + test::quoted(fs::path(systemPath(run))));
        ASSERT_EQ(other.status, 0);
        const std::string written = readBytes(side);
        const std::vector<Correction> theirs = parseCorrectionFile(written, kTwoFaults).steps;
        ASSERT_EQ(theirs.back(), (Correction{CorrectionKind::LeaveOut, 0}));

        click(dialog, c.button);
        EXPECT_EQ(readBytes(side), written);
        EXPECT_EQ(corrector().corrections().steps(), theirs);
        EXPECT_EQ(session().currentData(), corrector().corrections().run().data);
        ASSERT_EQ(dialogs->calls.size(), 1u);
        EXPECT_TRUE(dialogs->calls[0].text.contains(pathFromSystem(side.string())))
            << dialogs->calls[0].text.toStdString();
        EXPECT_TRUE(dialogs->calls[0].text.contains(uiText(correctiontexts::kReloadedAfterChange)));

        // Done again on the file as it is now, it goes through: on top of their step.
        dialogs->calls.clear();
        click(dialog, c.button);
        EXPECT_TRUE(dialogs->calls.empty());
        const std::vector<Correction> after =
            fs::exists(side) ? parseCorrectionFile(readBytes(side), kTwoFaults).steps
                             : std::vector<Correction>{};
        EXPECT_EQ(after, corrector().corrections().steps());
        EXPECT_NE(after, theirs);
        if (!c.stepFirst) {
            EXPECT_TRUE(std::equal(theirs.begin(), theirs.end(), after.begin()));
        }
    }
}

// While another program holds the run's corrections, the window waits for it, then refuses
// the step with a word naming the file and leaves the file and the laps shown as they were.
TEST_F(LapCorrectionsWindow, AStepIsRefusedWhileAnotherProgramHoldsTheFile) {
    const QString run = runFile(kTwoFaults);
    ASSERT_TRUE(window->fileCommands().openRunFile(run, RunOrigin::File));
    const CorrectionLockTaken held = lockCorrections(systemPath(run));
    ASSERT_TRUE(held.lock);
    CorrectionDialog& dialog = openDialog();
    dialog.findChild<QPushButton*>("applyButton")->click();
    // The window is not held up meanwhile, and takes no step on top of the one waiting.
    EXPECT_TRUE(corrector().busy());
    for (const char* button : {"applyButton", "undoButton", "undoAllButton"})
        EXPECT_FALSE(dialog.findChild<QPushButton*>(button)->isEnabled()) << button;
    EXPECT_EQ(corrector().apply({{CorrectionKind::LeaveOut, 0}}), 1);
    ASSERT_TRUE(written());
    EXPECT_TRUE(dialog.findChild<QPushButton*>("applyButton")->isEnabled());
    EXPECT_FALSE(fs::exists(correctionsOf(run)));
    EXPECT_TRUE(corrector().corrections().steps().empty());
    EXPECT_EQ(session().currentData(), kTwoFaults);
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_TRUE(dialogs->calls[0].text.contains(pathFromSystem(correctionsOf(run).string())))
        << dialogs->calls[0].text.toStdString();
}

// A step made just before quitting is in the file when the window is gone.
TEST_F(LapCorrectionsWindow, QuittingRightAfterACorrectionKeepsIt) {
    const QString run = runFile(kDoublePress);
    ASSERT_TRUE(window->fileCommands().openRunFile(run, RunOrigin::File));
    openDialog().findChild<QPushButton*>("applyButton")->click();
    window.reset();
    ASSERT_TRUE(fs::exists(correctionsOf(run)));
    const std::vector<Correction> merged{{CorrectionKind::MergeIntoNext, 2}};
    EXPECT_EQ(parseCorrectionFile(readBytes(correctionsOf(run)), kDoublePress).steps, merged);
}

// The library window open beside shows the run as corrected, as a listing would read it,
// once the corrections are written.
TEST_F(LapCorrectionsWindow, ACorrectionReachesTheOpenLibraryWindowsRow) {
    const fs::path library = dir.path() / "runs";
    QSettings().setValue("Library/Folder", QString::fromStdString(library.string()));
    window = makeWindow(dialogs, true);
    attachRunLibrary(window->addition());
    const KeptRun kept = keepRun(library.string(), kDoublePress, LocalTime{2026, 12, 10, 9, 0, 0});
    ASSERT_TRUE(kept) << kept.error;
    window->findChild<QAction*>(QString::fromUtf8(librarytexts::kMenuItemName))->trigger();
    auto* libraryWindow = window->findChild<LibraryWindow*>();
    ASSERT_TRUE(libraryWindow && test::waitUntil([&] { return !libraryWindow->reading(); }));
    const QAbstractItemModel& shown = *libraryWindow->findChild<QTableView*>("runTable")->model();
    ASSERT_EQ(shown.rowCount(), 1);
    const auto rowOf = [](const QAbstractItemModel& model) {
        std::vector<QString> texts;
        for (int c = 0; c < model.columnCount(); ++c)
            texts.push_back(model.index(0, c).data().toString());
        return texts;
    };
    const std::vector<QString> before = rowOf(shown);

    ASSERT_TRUE(window->fileCommands().openRunFile(pathFromSystem(kept.path), RunOrigin::Library));
    click(openDialog(), "applyButton");
    ASSERT_FALSE(corrector().corrections().steps().empty());
    LibraryTableModel listing;
    listing.setEntries({readLibraryEntry(
        library.string(), fs::relative(kept.path, library).string(), corrector().limits())});
    const std::vector<QString> corrected = rowOf(listing);
    ASSERT_NE(corrected, before);
    // By the time the window hears the file is written, not when the folder's notice comes.
    EXPECT_EQ(rowOf(shown), corrected);
}

TEST(LapCorrectionsLook, ARunWithoutCorrectionsLooksAsBefore) {
    FakeDialogs* plainDialogs = nullptr;
    FakeDialogs* markedDialogs = nullptr;
    auto plain = makeWindow(plainDialogs, false);
    auto marked = makeWindow(markedDialogs, true);
    for (const LapData& run : {kClean, test::runOfLaps(60), kDoublePress, kTwoFaults}) {
        showDownload(*plain, run);
        showDownload(*marked, run);
        EXPECT_EQ(shownOf(*marked), shownOf(*plain));
        const bool suspects = run == kDoublePress || run == kTwoFaults;
        const QImage before = plain->centralWidget()->grab().toImage();
        const QImage after = marked->centralWidget()->grab().toImage();
        // Only the corner marks beside suspect lap numbers tell the two apart.
        EXPECT_EQ(before == after, !suspects);
    }
}

TEST_F(LapCorrectionsWindow, LimitsAreKeptInTheSettingsAndJudgeTheLaps) {
    // A lap 1.6 times the others: long only below the default limit.
    const LapData slow = runWithLaps({45.12, 44.80, 44.19, 72.31, 45.04, 44.62});
    showDownload(*window, slow);
    CorrectionDialog& dialog = openDialog();
    EXPECT_TRUE(session().lapMarks().empty());
    dialog.findChild<QDoubleSpinBox*>("longLimitBox")->setValue(1.5);
    EXPECT_EQ(readSuspectLimits(QSettings()).longAbove, 1.5);
    ASSERT_FALSE(dialog.rows().empty());
    EXPECT_EQ(dialog.rows().front().lap, 3);
    EXPECT_EQ(session().lapMarks().at(3), LapMark::Long);
    EXPECT_EQ(gridMarks(*window).at(3), LapMark::Long);
}

TEST(LimitSettings, RoundTripOverRandomLimits) {
    QSettings settings;
    settings.clear();
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> any(-1.0, 4.0);
    SuspectLimits stored;
    for (int i = 0; i < 2000; ++i) {
        const SuspectLimits limits{any(random), any(random)};
        EXPECT_EQ(writeSuspectLimits(settings, limits), validLimits(limits));
        if (validLimits(limits)) stored = limits;
        EXPECT_EQ(readSuspectLimits(settings), stored);
    }
    // What a hand-edited settings file may hold reads as the defaults.
    for (const char* text : {"", "abc", "0", "-0.5", "nan", "inf"}) {
        settings.setValue("LapFlags/ShortBelow", QString::fromUtf8(text));
        EXPECT_EQ(readSuspectLimits(settings), SuspectLimits{}) << text;
    }
    settings.clear();
}

}  // namespace
}  // namespace korimet
