#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <filesystem>
#include <fstream>
#include <memory>

#include "common/ui/ui_language.h"
#include "common/ui/ui_text.h"
#include "corrections/correction_file.h"
#include "corrections/ui/correction_dialog.h"
#include "corrections/ui/correction_texts.h"
#include "corrections/ui/lap_corrections_ui.h"
#include "files/data_file.h"
#include "library/run_library.h"
#include "library/ui/library_table_model.h"
#include "library/ui/library_texts.h"
#include "library/ui/library_window.h"
#include "library/ui/run_library_ui.h"
#include "messages/correction_messages.h"
#include "messages/file_messages.h"
#include "session/run_session.h"
#include "session/system_path.h"
#include "shell/ui/main_window.h"
#include "shell/ui/window_language.h"
#include "support/fake_dialogs.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/pty.h"
#include "support/shown_texts.h"
#include "support/temp_dir.h"
#include "support/text_fit.h"
#include "support/window_fixture.h"

namespace korimet {
namespace {

using test::listed;
using test::textsOf;

namespace fs = std::filesystem;
using test::runWithLaps;
using test::waitUntil;

// The main window with the run library and the lap corrections, the library in a temporary
// folder holding a run, a file that is no run, and a run whose correction file is garbage.
class AdditionsInEnglish : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().clear();
        library = dir.path() / "runs";
        QSettings().setValue("Library/Folder", QString::fromStdString(library.string()));
        window = test::windowWithFakeDialogs(dialogs);
        attachRunLibrary(window->addition());
        attachLapCorrections(window->addition());
    }
    // What the other tests expect: nothing installed, the texts as written.
    void TearDown() override {
        applyLanguage(QStringLiteral("none"));
        window.reset();
        QSettings().clear();
    }

    std::string keep(const LapData& d, const LocalTime& when) {
        const KeptRun kept = keepRun(library.string(), d, when);
        EXPECT_TRUE(kept) << kept.error;
        return kept.path;
    }
    void fillLibrary() {
        keep(runWithLaps({61.5, 60.25, 62.0}), {2026, 12, 10, 14, 35, 12});
        corrected = keep(runWithLaps({60.0, 0.4, 60.1, 61.0}), {2026, 12, 10, 15, 0, 0});
        std::ofstream(correctionFilePath(corrected)) << "garbage";
        fs::create_directories(library / "2026-12-11");
        unreadable = (library / "2026-12-11" / "101010-car07.krt").string();
        std::ofstream(unreadable) << "garbage\r\n";
    }
    LibraryWindow& openLibrary() {
        window->findChild<QAction*>(QString::fromUtf8(librarytexts::kMenuItemName))->trigger();
        auto* shown = window->findChild<LibraryWindow*>();
        EXPECT_TRUE(shown && waitUntil([&] { return !shown->reading(); }));
        return *shown;
    }
    QTableView& table(LibraryWindow& w) const { return *w.findChild<QTableView*>("runTable"); }
    // The row of a file, which the list names relative to the library.
    int rowOf(LibraryWindow& w, const std::string& path) const {
        const QString name = QString::fromStdString(fs::relative(path, library).string());
        const QAbstractItemModel& model = *table(w).model();
        for (int r = 0; r < model.rowCount(); ++r) {
            if (model.index(r, 0).data(Qt::ToolTipRole).toString() == name) return r;
        }
        return -1;
    }
    void select(LibraryWindow& w, int row) {
        QTableView& view = table(w);
        view.selectionModel()->setCurrentIndex(
            view.model()->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        test::settle();
    }

    test::TempDir dir;
    fs::path library;
    std::string corrected;
    std::string unreadable;
    std::unique_ptr<MainWindow> window;
    test::FakeDialogs* dialogs = nullptr;
};

// Every text of the library window in English, nothing cut, the core's reasons in English;
// back in Japanese exactly what it showed before.
TEST_F(AdditionsInEnglish, TheLibraryWindowSwitchesBothWaysWithTheReasonsInItsLanguage) {
    fillLibrary();
    LibraryWindow& w = openLibrary();
    w.show();
    select(w, rowOf(w, unreadable));
    const std::vector<QString> japanese = textsOf(w);
    auto* status = w.findChild<QLabel*>("libraryStatusLine");
    ASSERT_FALSE(status->text().isEmpty());

    applyLanguage(QStringLiteral("en"));
    test::settle();
    EXPECT_EQ(listed(test::japaneseTexts(w)), "");
    EXPECT_EQ(listed(test::cutTexts(w)), "");
    EXPECT_EQ(w.windowTitle(), uiText(librarytexts::kWindowTitle));
    EXPECT_NE(w.windowTitle(), QString::fromUtf8(librarytexts::kWindowTitle));
    // The unreadable file's reason, in the memo column and the status line.
    const FileError error = loadDataFile(unreadable).error;
    const QString reason = QString::fromStdString(fileMessage(error, Language::English));
    const QAbstractItemModel& model = *table(w).model();
    EXPECT_TRUE(model.index(rowOf(w, unreadable), LibraryTableModel::kMemo)
                    .data()
                    .toString()
                    .contains(reason));
    EXPECT_TRUE(status->text().contains(reason)) << status->text().toStdString();
    // The correction file's problem, as the tooltip of its row and as the status line.
    const QString problem = QString::fromStdString(correctionFileMessage(
        loadCorrections(corrected, loadDataFile(corrected).content->data).error,
        Language::English));
    EXPECT_EQ(model.index(rowOf(w, corrected), LibraryTableModel::kSuspect).data(Qt::ToolTipRole),
              problem);
    select(w, rowOf(w, corrected));
    EXPECT_EQ(status->text(), problem);
    // The trend chart's words, which no control holds.
    auto* plot = w.findChild<QCustomPlot*>("trendChart");
    std::vector<QString> chartTexts = {plot->xAxis->label(), plot->yAxis->label()};
    for (int g = 0; g < plot->graphCount(); ++g) chartTexts.push_back(plot->graph(g)->name());
    for (const QString& text : chartTexts)
        EXPECT_FALSE(test::holdsJapanese(text)) << text.toStdString();

    select(w, rowOf(w, unreadable));
    applyLanguage(QStringLiteral("ja"));
    test::settle();
    EXPECT_EQ(textsOf(w), japanese);
}

// The language menu of the main window switches the open library window, both ways.
TEST_F(AdditionsInEnglish, TheLanguageMenuSwitchesAnOpenLibraryWindow) {
    auto* menu = new LanguageMenu(*window);  // owned by the window
    fillLibrary();
    LibraryWindow& w = openLibrary();
    w.show();
    const std::vector<QString> japanese = textsOf(w);
    QHeaderView& header = *table(w).horizontalHeader();
    const QString best =
        header.model()->headerData(LibraryTableModel::kBest, Qt::Horizontal).toString();
    ASSERT_EQ(best, QString::fromUtf8(librarytexts::kColumnBest));

    menu->choose(QStringLiteral("en"));
    test::settle();
    EXPECT_EQ(header.model()->headerData(LibraryTableModel::kBest, Qt::Horizontal).toString(),
              uiText(librarytexts::kColumnBest));
    EXPECT_EQ(listed(test::japaneseTexts(w)), "");

    menu->choose(QStringLiteral("ja"));
    test::settle();
    EXPECT_EQ(textsOf(w), japanese);
}

// The correction window in English with suspect laps listed; back in Japanese as before.
TEST_F(AdditionsInEnglish, TheCorrectionWindowSwitchesBothWays) {
    const fs::path run = dir.path() / "run.krt";
    ASSERT_TRUE(
        saveDataFile(run.string(), runWithLaps({45.12, 0.52, 44.28, 44.19, 89.60, 45.04}), "memo"));
    std::ofstream(correctionFilePath(run.string())) << "garbage";
    ASSERT_TRUE(window->fileCommands().openRunFile(pathFromSystem(run.string()), RunOrigin::File));
    window->findChild<QAction*>(QString::fromUtf8(correctiontexts::kMenuItemName))->trigger();
    auto& dialog = *window->findChild<CorrectionDialog*>();
    test::settle();
    ASSERT_FALSE(dialog.rows().empty());
    const std::vector<QString> japanese = textsOf(dialog);

    applyLanguage(QStringLiteral("en"));
    test::settle();
    EXPECT_EQ(listed(test::japaneseTexts(dialog)), "");
    EXPECT_EQ(listed(test::cutTexts(dialog)), "");
    // Correcting asks before replacing the unreadable correction file, in English.
    dialogs->calls.clear();
    dialog.findChild<QPushButton*>("applyButton")->click();
    ASSERT_FALSE(dialogs->calls.empty());
    for (const auto& call : dialogs->calls) {
        EXPECT_FALSE(test::holdsJapanese(call.text)) << call.text.toStdString();
        EXPECT_FALSE(test::holdsJapanese(call.title)) << call.title.toStdString();
    }
    // The undo brings back the rows as they were before the correction.
    dialog.findChild<QPushButton*>("undoAllButton")->click();

    applyLanguage(QStringLiteral("ja"));
    test::settle();
    EXPECT_EQ(textsOf(dialog), japanese);
}

// The additions' menu items follow the language.
TEST_F(AdditionsInEnglish, TheMenuItemsFollowTheLanguage) {
    const std::pair<const char*, const char*> items[] = {
        {librarytexts::kMenuItemName, librarytexts::kMenuItem},
        {correctiontexts::kMenuItemName, correctiontexts::kMenuItem}};
    applyLanguage(QStringLiteral("en"));
    for (const auto& [name, japanese] : items) {
        const QString shown = window->findChild<QAction*>(QString::fromUtf8(name))->text();
        EXPECT_EQ(shown, uiText(japanese));
        EXPECT_FALSE(test::holdsJapanese(shown)) << shown.toStdString();
    }
    applyLanguage(QStringLiteral("ja"));
    for (const auto& [name, japanese] : items) {
        EXPECT_EQ(window->findChild<QAction*>(QString::fromUtf8(name))->text(),
                  QString::fromUtf8(japanese));
    }
}

}  // namespace
}  // namespace korimet
