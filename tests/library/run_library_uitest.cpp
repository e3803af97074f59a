#include <gtest/gtest.h>
#include <sys/stat.h>

#include <qcustomplot.h>
#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "device/ui/port_selection.h"
#include "files/data_file.h"
#include "library/run_library.h"
#include "library/ui/library_texts.h"
#include "library/ui/library_window.h"
#include "library/ui/run_keeper.h"
#include "library/ui/run_library_ui.h"
#include "session/system_path.h"
#include "shell/ui/main_window.h"
#include "support/fake_dialogs.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/messages.h"
#include "support/pty.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "support/window_fixture.h"

namespace korimet {

// Receives what QDesktopServices would hand to the file manager.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    std::vector<QUrl> urls;
  public slots:
    void open(const QUrl& url) { urls.push_back(url); }
};

namespace {

namespace fs = std::filesystem;
using test::FakeDialogs;
using test::frameFor;
using test::runWithLaps;
using test::waitUntil;

using test::readBytes;
using test::runFilesUnder;

// The window as korimet starts it, its library in a temporary folder.
class RunLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().clear();
        library = dir.path() / "runs";
        useLibrary(library);
        window = test::windowWithFakeDialogs(dialogs);
        attachRunLibrary(window->addition());
    }
    void TearDown() override {
        window.reset();
        QSettings().clear();
    }
    static void useLibrary(const fs::path& folder) {
        QSettings().setValue("Library/Folder", QString::fromStdString(folder.string()));
    }
    RunKeeper& keeper() const { return *window->findChild<RunKeeper*>(); }
    QString label(const char* name) const { return window->findChild<QLabel*>(name)->text(); }

    LibraryWindow& openLibraryWindow() {
        window->findChild<QAction*>(QString::fromUtf8(librarytexts::kMenuItemName))->trigger();
        auto* shown = window->findChild<LibraryWindow*>();
        EXPECT_TRUE(shown && waitUntil([&] { return !shown->reading(); }));
        return *shown;
    }
    QTableView& table(LibraryWindow& w) const { return *w.findChild<QTableView*>("runTable"); }
    // The view's rows as file paths (the first column's tooltip), top to bottom.
    std::vector<std::string> rows(LibraryWindow& w) const {
        std::vector<std::string> paths;
        auto* model = table(w).model();
        for (int r = 0; r < model->rowCount(); ++r)
            paths.push_back(model->index(r, 0).data(Qt::ToolTipRole).toString().toStdString());
        return paths;
    }
    int rowOf(LibraryWindow& w, const std::string& path) const {
        const auto all = rows(w);
        return static_cast<int>(std::find(all.begin(), all.end(), path) - all.begin());
    }
    void selectRows(LibraryWindow& w, std::initializer_list<int> chosen) {
        QTableView& view = table(w);
        view.clearSelection();
        for (int r : chosen) {
            view.selectionModel()->select(view.model()->index(r, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        view.selectionModel()->setCurrentIndex(view.model()->index(*chosen.begin(), 0),
                                               QItemSelectionModel::NoUpdate);
    }
    std::string keep(const LapData& d, const LocalTime& when) {
        const KeptRun kept = keepRun(library.string(), d, when);
        EXPECT_TRUE(kept) << kept.error;
        return fs::relative(kept.path, library).string();
    }

    test::TempDir dir;
    fs::path library;
    std::unique_ptr<MainWindow> window;
    FakeDialogs* dialogs = nullptr;
};

TEST_F(RunLibraryTest, StartingTheWindowReadsNothingOfTheLibrary) {
    EXPECT_EQ(window->findChild<LibraryWindow*>(), nullptr);
    EXPECT_FALSE(fs::exists(library));
    auto* action = window->findChild<QAction*>(QString::fromUtf8(librarytexts::kMenuItemName));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_EQ(action->text(), QString::fromUtf8(librarytexts::kMenuItem));
}

// Three frames through a real serial line: three files, each what decode --out makes of it.
TEST_F(RunLibraryTest, EveryDownloadIsKeptAsDecodeWouldSaveIt) {
    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    QSettings().setValue(QStringLiteral("Ports/") + portName(1), pty.path());
    window->deviceLink().openPortFromMenu(1);
    const LapData runs[] = {runWithLaps({61.5, 60.25}, 60.0, 8, 7),
                            runWithLaps({59.5, 62.0, 58.75}, kNoTargetTime, 0, 7),
                            runWithLaps({70.0}, 65.0, 10, 12)};
    QByteArray capture;
    std::vector<QString> kept;
    QObject::connect(&keeper(), &RunKeeper::runKept, [&](const QString& p) { kept.push_back(p); });
    for (const LapData& run : runs) {
        const QByteArray frame = frameFor(run);
        capture += frame;
        ASSERT_TRUE(pty.write(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                              static_cast<std::size_t>(frame.size())));
        ASSERT_TRUE(waitUntil([&] { return window->currentData() == run; }));
    }
    ASSERT_TRUE(waitUntil([&] { return kept.size() == 3; }));
    EXPECT_EQ(label("Label17"), "01m10s00");  // the last run is shown as before

    const fs::path capturePath = dir.path() / "capture.bin";
    std::ofstream(capturePath, std::ios::binary)
        .write(capture.constData(), static_cast<std::streamsize>(capture.size()));
    const fs::path decoded = dir.path() / "decoded";
    ASSERT_EQ(test::runCli("decode '" + capturePath.string() + "' --out '" + decoded.string() +
                           "' > /dev/null")
                  .status,
              0);
    ASSERT_EQ(runFilesUnder(library).size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const fs::path path = kept[i].toStdString();
        char name[32];
        std::snprintf(name, sizeof name, "run-%03zu.krt", i + 1);
        EXPECT_EQ(readBytes(path), readBytes(decoded / name)) << path;
        const auto info = parseLibraryName(fs::relative(path, library).string());
        ASSERT_TRUE(info) << path;
        EXPECT_EQ(info->carId, runs[i].carId);
    }
}

// Frames faster than one a second each get their own file.
TEST_F(RunLibraryTest, FramesInOneSecondGetDistinctNames) {
    const LapData run = runWithLaps({61.5, 60.25});
    int kept = 0;
    QObject::connect(&keeper(), &RunKeeper::runKept, [&] { ++kept; });
    for (int i = 0; i < 5; ++i) window->deviceLink().feedBytes(frameFor(run));
    ASSERT_TRUE(waitUntil([&] { return kept == 5; }));
    const auto files = runFilesUnder(library);
    ASSERT_EQ(files.size(), 5u);
    for (const auto& f : files) EXPECT_EQ(readBytes(f), *writeDataFileBytes(run, "").bytes);
}

// The window and korimet-cli listen keeping the same car's runs in the same seconds.
TEST_F(RunLibraryTest, TheWindowAndListenWritingAtOnceNeverCollide) {
    constexpr int kEach = 20;
    const LapData run = runWithLaps({61.5, 60.25});
    QByteArray capture;
    for (int i = 0; i < kEach; ++i) capture += frameFor(run);
    const fs::path capturePath = dir.path() / "capture.bin";
    std::ofstream(capturePath, std::ios::binary)
        .write(capture.constData(), static_cast<std::streamsize>(capture.size()));
    QSettings().sync();  // the tool reads the same settings store

    int kept = 0;
    QObject::connect(&keeper(), &RunKeeper::runKept, [&] { ++kept; });
    QProcess listen;
    listen.start(QString::fromUtf8(KORIMET_CLI),
                 {"listen", QString::fromStdString(capturePath.string())});
    ASSERT_TRUE(listen.waitForStarted());
    for (int i = 0; i < kEach; ++i) window->deviceLink().feedBytes(frameFor(run));
    ASSERT_TRUE(waitUntil([&] { return kept == kEach; }));
    ASSERT_TRUE(waitUntil([&] { return listen.state() == QProcess::NotRunning; }));
    EXPECT_EQ(listen.exitCode(), 0) << listen.readAllStandardError().toStdString();
    const auto files = runFilesUnder(library);
    ASSERT_EQ(files.size(), std::size_t{2 * kEach});
    for (const auto& f : files) EXPECT_EQ(readBytes(f), *writeDataFileBytes(run, "").bytes) << f;
}

// Opened, saved or compared runs are not downloads and are not kept again.
TEST_F(RunLibraryTest, OnlyDownloadsAreKept) {
    const fs::path file = dir.path() / "mine.krt";
    ASSERT_TRUE(saveDataFile(file.string(), runWithLaps({60.0}), "memo"));
    ASSERT_TRUE(window->fileCommands().openRunFile(QString::fromStdString(file.string())));
    test::settle();
    EXPECT_TRUE(runFilesUnder(library).empty());
}

TEST_F(RunLibraryTest, AnUnwritableLibraryStillShowsTheRunAndTellsOnce) {
    std::ofstream(dir.path() / "plain-file") << "x";
    useLibrary(dir.path() / "plain-file" / "runs");
    int failed = 0;
    QObject::connect(&keeper(), &RunKeeper::keepFailed, [&] { ++failed; });
    const LapData first = runWithLaps({61.5, 60.25});
    const LapData second = runWithLaps({59.5, 62.0});
    window->deviceLink().feedBytes(frameFor(first));
    EXPECT_EQ(window->currentData(), first);
    EXPECT_EQ(label("Label17"), "01m00s25");
    ASSERT_TRUE(waitUntil([&] { return failed == 1; }));
    window->deviceLink().feedBytes(frameFor(second));
    EXPECT_EQ(label("Label17"), "00m59s50");
    ASSERT_TRUE(waitUntil([&] { return failed == 2; }));
    test::settle();
    const auto notices =
        window->findChildren<QMessageBox*>(QString::fromUtf8(librarytexts::kKeepFailedNoticeName));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_FALSE(notices[0]->isModal());
    EXPECT_TRUE(notices[0]->text().contains("plain-file")) << notices[0]->text().toStdString();
    EXPECT_TRUE(dialogs->calls.empty());  // nothing modal stood in the way

    // Once the library works again, a later failure is news again.
    int kept = 0;
    QObject::connect(&keeper(), &RunKeeper::runKept, [&] { ++kept; });
    useLibrary(library);
    window->deviceLink().feedBytes(frameFor(first));
    ASSERT_TRUE(waitUntil([&] { return kept == 1; }));
    useLibrary(dir.path() / "plain-file" / "runs");
    window->deviceLink().feedBytes(frameFor(second));
    ASSERT_TRUE(waitUntil([&] { return failed == 3; }));
    test::settle();
    EXPECT_EQ(
        window->findChildren<QMessageBox*>(QString::fromUtf8(librarytexts::kKeepFailedNoticeName))
            .size(),
        2);
}

TEST_F(RunLibraryTest, ListsRunsWithAnUnreadableFileAmongThem) {
    const std::string a = keep(runWithLaps({61.5, 60.25, 62.0}), {2026, 12, 10, 14, 35, 12});
    const std::string b = keep(runWithLaps({58.0}, 60.0, 0, 3), {2026, 11, 1, 9, 0, 0});
    fs::create_directories(library / "2026-12-11");
    std::ofstream(library / "2026-12-11" / "101010-car07.krt") << "garbage\r\n";
    LibraryWindow& w = openLibraryWindow();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isModal());
    EXPECT_TRUE(w.findChild<QLabel*>("libraryFolderLabel")
                    ->text()
                    .contains(QString::fromStdString(library.string())));
    const std::vector<std::string> expected = {b, a, "2026-12-11/101010-car07.krt"};
    EXPECT_EQ(rows(w), expected);
    auto* model = table(w).model();
    EXPECT_EQ(model->index(1, 0).data().toString(), "2026-12-10 14:35:12");
    EXPECT_EQ(model->index(1, 1).data().toString(), "7");
    EXPECT_EQ(model->index(1, 2).data().toString(), "3");
    EXPECT_EQ(model->index(1, 3).data().toString(), "01m00s25");
    EXPECT_EQ(model->index(1, 5).data().toString(), "01m02s00");
    EXPECT_EQ(model->index(1, 6).data().toString(), "01m01s50");
    EXPECT_EQ(model->index(1, 9).data().toString(), QString::fromUtf8(librarytexts::kNoTarget));
    const std::string reason =
        test::ja(loadDataFile((library / "2026-12-11" / "101010-car07.krt").string()).error);
    EXPECT_TRUE(model->index(2, 10).data().toString().contains(QString::fromStdString(reason)));

    // Sorted by best, fastest first; filtered to car 3.
    table(w).sortByColumn(3, Qt::AscendingOrder);
    EXPECT_EQ(rows(w).front(), b);
    auto* cars = w.findChild<QComboBox*>("carFilter");
    cars->setCurrentIndex(cars->findData(3));
    EXPECT_EQ(rows(w), std::vector<std::string>{b});

    // A file added by hand appears on refresh.
    keep(runWithLaps({57.0}, 60.0, 0, 3), {2027, 1, 1, 8, 0, 0});
    w.findChild<QPushButton*>("refreshButton")->click();
    ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
    EXPECT_EQ(rows(w).size(), 2u);
}

TEST_F(RunLibraryTest, OpensAndComparesFromTheWindow) {
    const LapData first = runWithLaps({61.5, 60.25, 62.0});
    const LapData second = runWithLaps({58.0, 59.0});
    const std::string a = keep(first, {2026, 12, 10, 14, 35, 12});
    const std::string b = keep(second, {2026, 12, 11, 9, 0, 0});
    LibraryWindow& w = openLibraryWindow();
    selectRows(w, {rowOf(w, b)});
    table(w).setFocus();
    QTest::keyClick(&table(w), Qt::Key_Return);
    const RunSession& session = window->runSession();
    EXPECT_EQ(session.currentData(), second);
    EXPECT_EQ(session.origin(), RunOrigin::Library);
    EXPECT_EQ(session.currentFileName(), QString::fromStdString((library / b).string()));
    EXPECT_EQ(label("Label17"), "00m58s00");

    selectRows(w, {rowOf(w, a), rowOf(w, b)});
    w.findChild<QPushButton*>("compareButton")->click();
    EXPECT_EQ(session.currentData(), first);
    ASSERT_TRUE(session.hasComparison());
    EXPECT_EQ(session.comparisonData(), second);
    EXPECT_EQ(session.comparisonFileName(), QString::fromStdString((library / b).string()));
    EXPECT_FALSE(label("Label25").isEmpty());  // the comparison's difference is drawn

    // An unreadable file refuses as File > Open does, with its message.
    std::ofstream(library / "broken.krt") << "garbage";
    w.refresh();
    ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
    selectRows(w, {rowOf(w, "broken.krt")});
    w.openSelection();
    ASSERT_FALSE(dialogs->calls.empty());
    EXPECT_EQ(dialogs->calls.back().kind, FakeDialogs::Kind::Message);
    EXPECT_EQ(session.currentData(), first);
}

TEST_F(RunLibraryTest, DeleteAsksThenMovesToTheTrash) {
    const std::string a = keep(runWithLaps({61.5}), {2026, 12, 10, 14, 35, 12});
    const std::string b = keep(runWithLaps({60.5}), {2026, 12, 11, 9, 0, 0});
    LibraryWindow& w = openLibraryWindow();
    selectRows(w, {rowOf(w, a)});
    dialogs->yesNoAnswers = {false};
    QTest::keyClick(&table(w), Qt::Key_Delete);
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, FakeDialogs::Kind::Question);
    EXPECT_TRUE(dialogs->calls[0].text.contains(QString::fromStdString(a)));
    EXPECT_TRUE(fs::exists(library / a));

    dialogs->yesNoAnswers = {true};
    w.findChild<QPushButton*>("deleteButton")->click();
    EXPECT_FALSE(fs::exists(library / a));
    EXPECT_TRUE(fs::exists(library / b));
    EXPECT_EQ(rows(w), std::vector<std::string>{b});
    const QString trash =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files";
    EXPECT_TRUE(QDir(trash).exists(QString::fromStdString(fs::path(a).filename().string())))
        << trash.toStdString();
}

TEST_F(RunLibraryTest, TrendShowsBestAndAverageWithThePersonalBestAndNamesHoveredRuns) {
    keep(runWithLaps({62.0, 64.0}), {2026, 10, 1, 10, 0, 0});
    const std::string fastest = keep(runWithLaps({59.0, 63.0}), {2026, 11, 1, 10, 0, 0});
    keep(runWithLaps({61.0, 61.0}), {2026, 12, 1, 10, 0, 0});
    keep(runWithLaps({50.0}, kNoTargetTime, 0, 3), {2026, 12, 2, 10, 0, 0});  // another car
    LibraryWindow& w = openLibraryWindow();
    auto* cars = w.findChild<QComboBox*>("carFilter");
    cars->setCurrentIndex(cars->findData(7));
    EXPECT_EQ(w.trendCar(), 7);
    auto* plot = w.findChild<QCustomPlot*>("trendChart");
    ASSERT_GE(plot->graphCount(), 3);
    ASSERT_EQ(plot->graph(0)->dataCount(), 3);
    ASSERT_EQ(plot->graph(1)->dataCount(), 3);
    EXPECT_DOUBLE_EQ(plot->graph(0)->data()->at(1)->value, 59.0);
    EXPECT_DOUBLE_EQ(plot->graph(1)->data()->at(2)->value, 61.0);
    ASSERT_EQ(plot->graph(2)->dataCount(), 1);
    EXPECT_DOUBLE_EQ(plot->graph(2)->data()->at(0)->value, 59.0);

    w.resize(900, 700);
    w.show();
    plot->replot();
    const auto point = plot->graph(0)->data()->at(1);
    const QPoint at(static_cast<int>(plot->xAxis->coordToPixel(point->key)),
                    static_cast<int>(plot->yAxis->coordToPixel(point->value)));
    QTest::mouseMove(plot, at);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), plot->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &move);
    EXPECT_TRUE(plot->toolTip().contains(QString::fromStdString(fastest)))
        << plot->toolTip().toStdString();
    QMouseEvent away(QEvent::MouseMove, QPointF(2, 2), plot->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &away);
    EXPECT_TRUE(plot->toolTip().isEmpty());
}

TEST_F(RunLibraryTest, ShowsTheFolderAndOpensItInTheFileManager) {
    LibraryWindow& w = openLibraryWindow();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    w.findChild<QPushButton*>("openFolderButton")->click();
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.urls.size(), 1u);
    EXPECT_EQ(catcher.urls[0], QUrl::fromLocalFile(QString::fromStdString(library.string())));
    EXPECT_TRUE(fs::is_directory(library));  // made, so there is something to open
    EXPECT_FALSE(w.findChild<QProgressBar*>("readProgress")->isVisible());
    w.refresh();
    EXPECT_TRUE(w.reading());
    EXPECT_FALSE(w.findChild<QProgressBar*>("readProgress")->isHidden());
    ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
    EXPECT_TRUE(w.findChild<QProgressBar*>("readProgress")->isHidden());
}

// A run named in CP932 (a library synchronised from Windows) opens, compares and goes to the
// trash like any other; a named pipe called *.krt is a row of its own and never holds the
// listing; a run kept while the folder is being read is listed once the read is in.
TEST_F(RunLibraryTest, NamesInAnyEncodingAndPipesNeitherHideNorHold) {
    const LapData plain = runWithLaps({61.5, 60.25});
    const LapData named = runWithLaps({58.5, 59.0, 60.0});
    const std::string a = keep(plain, {2026, 12, 10, 14, 35, 12});
    const std::string cp932 = (library / "2026-12-10").string() + "/\x91\x96\x8d\x73.krt";
    ASSERT_TRUE(saveDataFile(cp932, named, "cp932"));
    ASSERT_EQ(::mkfifo((library / "2026-12-10" / "pipe.krt").c_str(), 0600), 0);

    LibraryWindow& w = openLibraryWindow();
    const std::string shownName = "2026-12-10/\uFFFD\uFFFD\uFFFDs.krt";
    ASSERT_LT(rowOf(w, shownName), static_cast<int>(rows(w).size()));
    ASSERT_LT(rowOf(w, "2026-12-10/pipe.krt"), static_cast<int>(rows(w).size()));

    selectRows(w, {rowOf(w, shownName)});
    w.openSelection();
    const RunSession& session = window->runSession();
    EXPECT_EQ(session.currentData(), named);
    EXPECT_EQ(systemPath(session.currentFileName()), cp932);
    selectRows(w, {rowOf(w, a), rowOf(w, shownName)});
    w.openSelection();
    ASSERT_TRUE(session.hasComparison());
    EXPECT_EQ(session.comparisonData(), named);

    selectRows(w, {rowOf(w, shownName)});
    dialogs->yesNoAnswers = {true};
    w.deleteSelection();
    EXPECT_FALSE(fs::exists(cp932));
    const QString trash =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files";
    EXPECT_TRUE(QDir(trash).exists(QStringLiteral("%91%96%8Ds.krt"))) << trash.toStdString();
    EXPECT_EQ(rowOf(w, shownName), static_cast<int>(rows(w).size()));

    // Kept while the read is under way: the listing may or may not have seen it.
    w.refresh();
    ASSERT_TRUE(w.reading());
    const std::string b = keep(runWithLaps({57.0}), {2026, 12, 11, 9, 0, 0});
    w.addKeptRun(QString::fromStdString((library / b).string()));
    ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
    const auto listed = rows(w);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), b), 1);
    // Refreshing over and over never waits for a read under way.
    for (int i = 0; i < 5; ++i) w.refresh();
    ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
    EXPECT_EQ(rows(w).size(), listed.size());
}

// A library folder that cannot be read says why instead of looking empty.
TEST_F(RunLibraryTest, ALibraryThatCannotBeReadSaysWhy) {
    test::writeBytes(dir.path() / "plain", "x");
    useLibrary(dir.path() / "plain");
    LibraryWindow& w = openLibraryWindow();
    const QString said = w.findChild<QLabel*>("runCountLabel")->text();
    EXPECT_TRUE(said.startsWith(QString::fromUtf8("フォルダーを読み込めません: ") +
                                QString::fromStdString((dir.path() / "plain").string())))
        << said.toStdString();
    EXPECT_TRUE(rows(w).empty());
}

TEST_F(RunLibraryTest, AnOpenLibraryWindowListsEachNewDownload) {
    LibraryWindow& w = openLibraryWindow();
    EXPECT_TRUE(rows(w).empty());
    window->deviceLink().feedBytes(frameFor(runWithLaps({61.5, 60.25})));
    EXPECT_TRUE(waitUntil([&] { return rows(w).size() == 1; }));
}

}  // namespace
}  // namespace korimet

#include "run_library_uitest.moc"
