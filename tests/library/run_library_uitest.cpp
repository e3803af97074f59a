#include <gtest/gtest.h>
#include <sys/stat.h>

#include <qcustomplot.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>

#include "common/ui/ui_language.h"
#include "corrections/correction_file.h"
#include "corrections/run_view.h"
#include "device/ui/port_selection.h"
#include "files/data_file.h"
#include "files/ui/memo_line_ends.h"
#include "lapdata/lap_time.h"
#include "library/run_library.h"
#include "library/ui/library_table_model.h"
#include "library/ui/library_texts.h"
#include "library/ui/library_window.h"
#include "library/ui/run_keeper.h"
#include "library/ui/run_library_ui.h"
#include "session/run_session.h"
#include "session/system_path.h"
#include "sheet/lap_sheet.h"
#include "sheet/ui/lap_sheet_commands.h"
#include "shell/ui/main_window.h"
#include "support/double_press.h"
#include "support/fake_dialogs.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/messages.h"
#include "support/pty.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "support/text_fit.h"
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

std::string listed(const std::vector<std::string>& cuts) {
    std::string all;
    for (const std::string& c : cuts) all += c + "\n";
    return all;
}

QString dateTimeText(const LocalTime& t) {
    return QString::fromStdString(isoText(t)).replace('T', ' ');
}

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
        EXPECT_TRUE(settled(w));
    }
    // The store has answered all the window asked: the listing, a memo, a deletion.
    static bool settled(LibraryWindow& w) {
        return waitUntil([&] { return !w.busy(); });
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
    // Told through the window's notice, which does not wait for a click.
    ASSERT_EQ(dialogs->notices.size(), 1u);
    EXPECT_EQ(dialogs->notices[0].name, QString::fromUtf8(librarytexts::kKeepFailedNoticeName));
    EXPECT_TRUE(dialogs->notices[0].text.contains("plain-file"))
        << dialogs->notices[0].text.toStdString();
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
    EXPECT_EQ(dialogs->notices.size(), 2u);
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
    window->show();
    LibraryWindow& w = openLibraryWindow();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == &w; }));
    selectRows(w, {rowOf(w, b)});
    table(w).setFocus();
    QTest::keyClick(&table(w), Qt::Key_Return);
    // The run comes to the front, not behind the list it was chosen from.
    EXPECT_TRUE(waitUntil([&] { return QApplication::activeWindow() == window.get(); }));
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
    EXPECT_TRUE(settled(w));
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, FakeDialogs::Kind::Question);
    EXPECT_TRUE(dialogs->calls[0].text.contains(QString::fromStdString(a)));
    EXPECT_TRUE(fs::exists(library / a));

    dialogs->yesNoAnswers = {true};
    w.findChild<QPushButton*>("deleteButton")->click();
    EXPECT_TRUE(settled(w));
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
    EXPECT_TRUE(settled(w));
    EXPECT_FALSE(fs::exists(cp932));
    const QString trash =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files";
    EXPECT_TRUE(QDir(trash).exists(QStringLiteral("%91%96%8Ds.krt"))) << trash.toStdString();
    EXPECT_EQ(rowOf(w, shownName), static_cast<int>(rows(w).size()));

    // Written by another program while the read is under way: the listing may or may not have
    // seen it, the store's following does; it is listed once either way.
    w.refresh();
    ASSERT_TRUE(w.reading());
    const std::string b = keep(runWithLaps({57.0}), {2026, 12, 11, 9, 0, 0});
    ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
    ASSERT_TRUE(waitUntil([&] {
        const auto now = rows(w);
        return std::count(now.begin(), now.end(), b) == 1;
    }));
    test::settle();
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

// The listing keeps first lines only; the memo box takes the whole memo from the file, so a
// save from it never cuts the lines after the first.
TEST_F(RunLibraryTest, TheMemoBoxHoldsAndSavesTheWholeMemo) {
    const std::string a = keep(runWithLaps({61.5}), {2026, 12, 10, 14, 35, 12});
    ASSERT_TRUE(saveDataFile((library / a).string(), runWithLaps({61.5}), "one\r\ntwo\r\nthree"));
    LibraryWindow& w = openLibraryWindow();
    w.refresh();
    ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
    selectRows(w, {rowOf(w, a)});
    auto* box = w.findChild<QPlainTextEdit*>("libraryMemo");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->toPlainText(), "one\ntwo\nthree");
    box->setPlainText("one\ntwo\nthree\nfour");
    w.saveMemo();
    EXPECT_TRUE(settled(w));
    const DataFileReadResult back = loadDataFile((library / a).string());
    ASSERT_TRUE(back);
    EXPECT_EQ(back.content->memo, "one\r\ntwo\r\nthree\r\nfour");
}

TEST_F(RunLibraryTest, AnOpenLibraryWindowListsEachNewDownload) {
    LibraryWindow& w = openLibraryWindow();
    EXPECT_TRUE(rows(w).empty());
    window->deviceLink().feedBytes(frameFor(runWithLaps({61.5, 60.25})));
    EXPECT_TRUE(waitUntil([&] { return rows(w).size() == 1; }));
}

// Runs a racer downloads in one day and over ten years: either way every run has a place of
// its own across the plot, and the time labels, as fine as the span needs, never overlap.
TEST_F(RunLibraryTest, TheTrendSpreadsADayAndADecadeWithLabelsThatFit) {
    struct Case {
        const char* what;
        LocalTime (*when)(int i);
        const char* labelSample;  // what one label looks like
        int bestRun;              // the personal best, at either end of the axis
    };
    const Case cases[] = {
        {"track day", [](int i) { return LocalTime{2026, 12, 10, 9 + i / 3, (i % 3) * 17, i}; },
         "09:00", 10},
        {"decade", [](int i) { return LocalTime{2016 + i, 1 + i % 12, 10, 14, 0, 0}; },
         "2016-01-10", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(library);
        std::vector<std::string> kept;
        for (int i = 0; i < 11; ++i)
            kept.push_back(
                keep(runWithLaps({i == c.bestRun ? 59.0 : 60.0 + i % 4, 62.0 + i % 3}), c.when(i)));
        LibraryWindow& w = openLibraryWindow();
        w.refresh();
        ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
        w.resize(900, 560);
        w.show();
        auto* cars = w.findChild<QComboBox*>("carFilter");
        cars->setCurrentIndex(cars->findData(7));
        auto* plot = w.findChild<QCustomPlot*>("trendChart");
        test::settle();
        plot->replot();

        std::vector<double> xs;
        for (auto it = plot->graph(0)->data()->constBegin();
             it != plot->graph(0)->data()->constEnd(); ++it) {
            xs.push_back(plot->xAxis->coordToPixel(it->key));
        }
        ASSERT_EQ(xs.size(), 11u);
        const QRect area = plot->axisRect()->rect();
        EXPECT_GT(xs.back() - xs.front(), area.width() * 0.7);
        for (std::size_t i = 1; i < xs.size(); ++i) EXPECT_GT(xs[i] - xs[i - 1], 20.0) << i;

        auto ticker = plot->xAxis->ticker().dynamicCast<QCPAxisTickerText>();
        ASSERT_TRUE(ticker);
        const QFontMetrics metrics(plot->xAxis->tickLabelFont());
        double previousRight = -1e9;
        int shown = 0;
        for (auto it = ticker->ticks().constBegin(); it != ticker->ticks().constEnd(); ++it) {
            EXPECT_EQ(it.value().size(), QString::fromUtf8(c.labelSample).size())
                << it.value().toStdString();
            EXPECT_FALSE(it.value().contains("1970") || it.value().contains("1969"));
            const double centre = plot->xAxis->coordToPixel(it.key());
            const double half = metrics.horizontalAdvance(it.value()) / 2.0;
            EXPECT_GT(centre - half, previousRight) << it.value().toStdString();
            previousRight = centre + half;
            ++shown;
        }
        EXPECT_GE(shown, 3);

        // The personal best says its time and date; the selected run is marked.
        QCPItemText* best = nullptr;
        for (int i = 0; i < plot->itemCount(); ++i) {
            if (auto* text = qobject_cast<QCPItemText*>(plot->item(i))) best = text;
        }
        ASSERT_NE(best, nullptr);
        EXPECT_TRUE(best->text().contains("00m59s00")) << best->text().toStdString();
        EXPECT_TRUE(best->text().contains(dateTimeText(c.when(c.bestRun)).left(10)))
            << best->text().toStdString();
        // Whole on the chart, even beside the first or the last run.
        const QRectF label(best->topLeft->pixelPosition(), best->bottomRight->pixelPosition());
        EXPECT_TRUE(QRectF(plot->axisRect()->rect()).contains(label))
            << label.left() << "," << label.top() << " " << label.right() << "," << label.bottom()
            << " in " << plot->axisRect()->rect().bottom();
        selectRows(w, {rowOf(w, kept[5])});
        ASSERT_GE(plot->graphCount(), 4);
        ASSERT_GE(plot->graph(3)->dataCount(), 1);
        EXPECT_DOUBLE_EQ(plot->graph(3)->data()->at(0)->key, plot->graph(0)->data()->at(5)->key);
        w.close();
    }
}

TEST_F(RunLibraryTest, AnEmptyTrendShowsNoDates) {
    LibraryWindow& w = openLibraryWindow();
    w.show();
    auto* plot = w.findChild<QCustomPlot*>("trendChart");
    plot->replot();
    auto ticker = plot->xAxis->ticker().dynamicCast<QCPAxisTickerText>();
    ASSERT_TRUE(ticker);
    EXPECT_TRUE(ticker->ticks().isEmpty());
}

// Downloads in one second are listed in the order they came, -10 after -9, both ways round.
TEST_F(RunLibraryTest, DownloadsInOneSecondAreListedInTheirOrder) {
    std::vector<std::string> kept;
    for (int i = 0; i < 11; ++i)
        kept.push_back(keep(runWithLaps({60.0 + i}), {2026, 12, 10, 14, 41, 56}));
    LibraryWindow& w = openLibraryWindow();
    EXPECT_EQ(rows(w), kept);
    table(w).sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(rows(w), std::vector<std::string>(kept.rbegin(), kept.rend()));
}

// A run without laps has no statistics to show and sorts after every run that has them,
// whichever way the column is sorted; so does an unreadable file.
TEST_F(RunLibraryTest, RunsWithoutLapsHaveBlankStatisticsSortedLast) {
    const std::string slow = keep(runWithLaps({62.0}), {2026, 12, 10, 10, 0, 0});
    const std::string empty = keep(runWithLaps({}), {2026, 12, 10, 11, 0, 0});
    const std::string fast = keep(runWithLaps({58.0}), {2026, 12, 10, 12, 0, 0});
    LibraryWindow& w = openLibraryWindow();
    auto* model = table(w).model();
    const int emptyRow = rowOf(w, empty);
    for (int column : {3, 4, 5}) EXPECT_EQ(model->index(emptyRow, column).data().toString(), "");
    for (int column : {3, 4, 5}) {
        table(w).sortByColumn(column, Qt::AscendingOrder);
        EXPECT_EQ(rows(w), (std::vector<std::string>{fast, slow, empty})) << column;
        table(w).sortByColumn(column, Qt::DescendingOrder);
        EXPECT_EQ(rows(w), (std::vector<std::string>{slow, fast, empty})) << column;
    }
}

TEST_F(RunLibraryTest, TheCountSaysHowManyTheFilterShows) {
    for (int i = 0; i < 3; ++i) keep(runWithLaps({60.0}, 60.0, 0, 7), {2026, 12, 10, 10, i, 0});
    keep(runWithLaps({60.0}, 60.0, 0, 3), {2026, 12, 10, 11, 0, 0});
    LibraryWindow& w = openLibraryWindow();
    auto* count = w.findChild<QLabel*>("runCountLabel");
    EXPECT_EQ(count->text(), "4 件");
    auto* cars = w.findChild<QComboBox*>("carFilter");
    cars->setCurrentIndex(cars->findData(7));
    EXPECT_EQ(count->text(), "3 / 4 件");
    cars->setCurrentIndex(0);
    EXPECT_EQ(count->text(), "4 件");
}

// What cannot be read is said whole where there is room: on every cell's tooltip and on the
// status line while the row is current.
TEST_F(RunLibraryTest, AnUnreadableFilesReasonIsReadableWhole) {
    fs::create_directories(library / "2026-12-11");
    std::ofstream(library / "2026-12-11" / "101010-car07.krt") << "garbage\r\n";
    const QString reason = QString::fromStdString(
        test::ja(loadDataFile((library / "2026-12-11" / "101010-car07.krt").string()).error));
    LibraryWindow& w = openLibraryWindow();
    auto* model = table(w).model();
    for (int column = 1; column < model->columnCount(); ++column)
        EXPECT_TRUE(model->index(0, column).data(Qt::ToolTipRole).toString().contains(reason));
    selectRows(w, {0});
    EXPECT_TRUE(w.findChild<QLabel*>("libraryStatusLine")->text().contains(reason));
}

// Many runs are asked about by count and a few names, in a box the screen can hold; the
// list keeps the focus afterwards.
TEST_F(RunLibraryTest, DeletingManyAsksWithACountAndKeepsTheFocusInTheList) {
    std::vector<std::string> kept;
    for (int i = 0; i < 12; ++i)
        kept.push_back(keep(runWithLaps({60.0}), {2026, 12, 10, 10, i, 0}));
    LibraryWindow& w = openLibraryWindow();
    w.show();
    QTableView& view = table(w);
    view.selectAll();
    view.selectionModel()->setCurrentIndex(view.model()->index(0, 0),
                                           QItemSelectionModel::NoUpdate);
    dialogs->yesNoAnswers = {false};
    w.findChild<QPushButton*>("deleteButton")->click();
    EXPECT_TRUE(settled(w));
    ASSERT_EQ(dialogs->calls.size(), 1u);
    const QString question = dialogs->calls[0].text;
    EXPECT_TRUE(question.startsWith("12 件")) << question.toStdString();
    EXPECT_TRUE(question.contains(QString::fromStdString(kept[0])));
    EXPECT_FALSE(question.contains(QString::fromStdString(kept[11])));
    EXPECT_TRUE(question.contains("ほか 7 件"));
    EXPECT_LE(question.count('\n'), 7);

    view.clearSelection();
    selectRows(w, {2, 3});
    dialogs->yesNoAnswers = {true};
    w.findChild<QPushButton*>("deleteButton")->click();
    EXPECT_TRUE(settled(w));
    EXPECT_EQ(rows(w).size(), 10u);
    EXPECT_EQ(w.focusWidget(), &view);
    EXPECT_EQ(view.currentIndex().row(), 2);
}

// Tab leaves the list, so every button can be reached from it; each has an access key of
// its own; F5 reads the folder again and Esc closes the window.
TEST_F(RunLibraryTest, EveryButtonIsReachedByKeyboard) {
    keep(runWithLaps({60.0}), {2026, 12, 10, 10, 0, 0});
    LibraryWindow& w = openLibraryWindow();
    w.show();
    QApplication::setActiveWindow(&w);
    table(w).setFocus();
    std::set<QWidget*> reached;
    for (int i = 0; i < 30; ++i) {
        ASSERT_NE(w.focusWidget(), nullptr);
        QTest::keyClick(w.focusWidget(), Qt::Key_Tab);
        reached.insert(w.focusWidget());
    }
    std::set<QChar> keys;
    for (QPushButton* button : w.findChildren<QPushButton*>()) {
        // A button waiting for something to do (a memo to save) is passed over.
        if (button->isEnabled()) {
            EXPECT_TRUE(reached.count(button)) << button->objectName().toStdString();
        }
        const QString text = button->text();
        const auto amp = text.indexOf('&');
        ASSERT_GE(amp, 0) << text.toStdString();
        EXPECT_TRUE(keys.insert(text.at(amp + 1).toUpper()).second) << text.toStdString();
    }
    table(w).setFocus();
    QTest::keyClick(&table(w), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_NE(w.focusWidget(), &table(w));

    QTest::keyClick(&w, Qt::Key_F5);
    EXPECT_TRUE(w.reading());
    ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

// Size, column widths, sort and car filter come back at the next start, whatever they were.
TEST_F(RunLibraryTest, TheWindowRemembersItsLayoutAcrossStarts) {
    for (int car : {3, 7, 12}) keep(runWithLaps({60.0}, 60.0, 0, car), {2026, 12, 10, 10, car, 0});
    std::mt19937 random(18);
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    for (int round = 0; round < 8; ++round) {
        const QSize size(std::uniform_int_distribution<int>(700, room.width())(random),
                         std::uniform_int_distribution<int>(450, room.height())(random));
        // Every column but the memo, which takes what the others leave.
        std::vector<int> widths;
        for (int c = 0; c < LibraryTableModel::kColumnCount; ++c)
            widths.push_back(std::uniform_int_distribution<int>(30, 200)(random));
        const int sortColumn = std::uniform_int_distribution<int>(0, 10)(random);
        const auto order = random() % 2 ? Qt::AscendingOrder : Qt::DescendingOrder;
        const int carChoice = std::uniform_int_distribution<int>(0, 3)(random);
        {
            LibraryWindow first(window->addition());
            first.refresh();
            ASSERT_TRUE(waitUntil([&] { return !first.reading(); }));
            first.show();
            first.resize(size);
            QTableView& view = *first.findChild<QTableView*>("runTable");
            for (std::size_t c = 0; c < widths.size(); ++c) {
                if (c != LibraryTableModel::kMemo)
                    view.horizontalHeader()->resizeSection(static_cast<int>(c), widths[c]);
            }
            view.sortByColumn(sortColumn, order);
            first.findChild<QComboBox*>("carFilter")->setCurrentIndex(carChoice);
            first.close();
        }
        LibraryWindow again(window->addition());
        again.refresh();
        ASSERT_TRUE(waitUntil([&] { return !again.reading(); }));
        again.show();
        test::settle();
        EXPECT_EQ(again.size(), size) << round;
        QHeaderView* header = again.findChild<QTableView*>("runTable")->horizontalHeader();
        for (std::size_t c = 0; c < widths.size(); ++c) {
            if (c != LibraryTableModel::kMemo) {
                EXPECT_EQ(header->sectionSize(static_cast<int>(c)), widths[c]) << round << " " << c;
            }
        }
        EXPECT_EQ(header->sortIndicatorSection(), sortColumn) << round;
        EXPECT_EQ(header->sortIndicatorOrder(), order) << round;
        EXPECT_EQ(again.findChild<QComboBox*>("carFilter")->currentIndex(), carChoice) << round;
        again.close();
    }
    // A place remembered from a larger screen is brought inside this one.
    QSettings().remove("Library/WindowGeometry");
    {
        LibraryWindow big(window->addition());
        big.show();
        big.setGeometry(room.right() - 100, room.bottom() - 50, room.width() * 2,
                        room.height() * 2);
        big.close();
    }
    LibraryWindow back(window->addition());
    back.show();
    test::settle();
    EXPECT_TRUE(room.contains(back.frameGeometry()))
        << back.frameGeometry().x() << "," << back.frameGeometry().y();
}

// A download's library copy is what the sheet names and dates, and its memo, typed after the
// download, reaches that copy from the library window.
TEST_F(RunLibraryTest, ADownloadsMemoReachesItsLibraryCopy) {
    QString keptPath;
    QObject::connect(&keeper(), &RunKeeper::runKept, [&](const QString& p) { keptPath = p; });
    const LapData run = runWithLaps({61.5, 60.25});
    window->deviceLink().feedBytes(frameFor(run));
    ASSERT_TRUE(waitUntil([&] { return !keptPath.isEmpty(); }));
    const RunSession& session = window->runSession();
    EXPECT_EQ(session.keptFileName(), keptPath);
    EXPECT_TRUE(session.currentFileName().isEmpty());  // File > Save still asks for a name
    const auto named = parseLibraryName(fs::relative(keptPath.toStdString(), library).string());
    ASSERT_TRUE(named);
    const LapSheet sheet = sheetOfSession(session);
    EXPECT_EQ(sheet.header[4].value, sheetDateText(named->downloaded));
    EXPECT_EQ(sheet.header[5].value, fs::path(keptPath.toStdString()).filename().string());

    std::mt19937 random(1818);
    const std::vector<QString> pieces = {"a",      "Z",      "9",  " ", "\n",
                                         "ベスト", "タイヤ", "雨", "!", "全角　空白"};
    for (int round = 0; round < 10; ++round) {
        QString memo;
        const int length = std::uniform_int_distribution<int>(1, 30)(random);
        for (int i = 0; i < length; ++i)
            memo +=
                pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        window->findChild<QTextEdit*>("RichTextBox1")->setPlainText(memo);
        LibraryWindow& w = openLibraryWindow();
        selectRows(w, {rowOf(w, fs::relative(keptPath.toStdString(), library).string())});
        auto* box = w.findChild<QPlainTextEdit*>("libraryMemo");
        if (round == 0) {
            EXPECT_EQ(box->toPlainText(), memo);
            EXPECT_TRUE(w.findChild<QPushButton*>("saveMemoButton")->isEnabled());
        } else {
            box->setPlainText(memo);
        }
        w.findChild<QPushButton*>("saveMemoButton")->click();
        EXPECT_TRUE(settled(w));
        const DataFileReadResult back = loadDataFile(keptPath.toStdString());
        ASSERT_TRUE(back) << back.error;
        EXPECT_EQ(back.content->data, run);
        EXPECT_EQ(memoForBox(back.content->memo), memo) << round;
        EXPECT_EQ(box->toPlainText(), memo) << round;
    }
}

// At the size it opens with, every text of the window fits: headings, buttons with their
// access keys, the filter's cars and the filtered count.
TEST_F(RunLibraryTest, EveryTextOfTheWindowFits) {
    for (int i = 0; i < 16; ++i) {
        LapData run = runWithLaps({61.5 + i, 60.25, 62.0}, 61.5);
        run.carId = static_cast<std::uint8_t>(i < 10 ? 7 : 255);
        keep(run, {2026, 12, 10, 9 + i / 2, (i % 2) * 30, i});
    }
    fs::create_directories(library / "2026-12-10");
    std::ofstream(library / "2026-12-10" / "235959-car07.krt") << "garbage";
    LibraryWindow& w = openLibraryWindow();
    w.refresh();
    ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
    w.show();
    auto* cars = w.findChild<QComboBox*>("carFilter");
    cars->setCurrentIndex(cars->findData(255));
    selectRows(w, {0});
    test::settle();
    EXPECT_EQ(listed(test::cutTexts(w)), "");
}

// A memo that read with a warning says so above the box, where it would be saved from.
TEST_F(RunLibraryTest, AMemoReadWithAWarningSaysSoAboveTheBox) {
    struct Case {
        const char* what;
        std::string memoBytes;
        const char* reading;  // a word of the warning
    };
    const Case cases[] = {
        {"bytes of no encoding", "\xFF\xFE", "メモの文字コードを読み取れません"},
        {"an encoding in doubt", "\xE3\x82\x81\x42", "CP932"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(library);
        fs::create_directories(library / "2026-12-10");
        const std::string name = "2026-12-10/090500-car07.krt";
        std::string bytes = "7,1,0,0,0,0,0\r\n60.5\r\n";
        for (int i = 0; i < 59; ++i) bytes += "0\r\n";
        std::ofstream(library / name, std::ios::binary) << bytes << '"' << c.memoBytes << "\"\r\n";
        LibraryWindow& w = openLibraryWindow();
        w.refresh();
        ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
        w.show();
        selectRows(w, {rowOf(w, name)});
        auto* note = w.findChild<QLabel*>("libraryMemoNote");
        EXPECT_TRUE(note->isVisible());
        EXPECT_TRUE(note->text().contains(QString::fromUtf8(c.reading)))
            << note->text().toStdString();
        w.close();
    }
}

// A memo saved from the library reaches the main window showing that run, but never over
// what the racer has typed there and not saved.
TEST_F(RunLibraryTest, AMemoSavedInTheLibraryReachesTheShownRun) {
    const std::string name = keep(runWithLaps({61.5, 60.25}), {2026, 12, 10, 9, 5, 0});
    const std::string path = (library / name).string();
    ASSERT_TRUE(saveDataFile(path, runWithLaps({61.5, 60.25}), memoForFile("朝一")));
    LibraryWindow& w = openLibraryWindow();
    w.refresh();
    ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
    selectRows(w, {rowOf(w, name)});
    w.openSelection();
    auto* mainBox = window->findChild<QTextEdit*>("RichTextBox1");
    ASSERT_EQ(mainBox->toPlainText(), "朝一");

    auto* box = w.findChild<QPlainTextEdit*>("libraryMemo");
    auto* save = w.findChild<QPushButton*>("saveMemoButton");
    box->setPlainText("朝一\nタイヤ交換");
    save->click();
    EXPECT_TRUE(settled(w));
    EXPECT_EQ(mainBox->toPlainText(), "朝一\nタイヤ交換");

    // The run shown in both windows has one memo: typed in either, it is in both.
    mainBox->setPlainText("手元で書きかけ");
    EXPECT_EQ(box->toPlainText(), "手元で書きかけ");
    box->setPlainText("別のメモ");
    EXPECT_EQ(mainBox->toPlainText(), "別のメモ");
    save->click();
    EXPECT_TRUE(settled(w));
    EXPECT_EQ(mainBox->toPlainText(), "別のメモ");
    const DataFileReadResult back = loadDataFile(path);
    ASSERT_TRUE(back) << back.error;
    EXPECT_EQ(memoForBox(back.content->memo), "別のメモ");
}

QString memoInFile(const fs::path& path) {
    const DataFileReadResult back = loadDataFile(path.string());
    return back ? memoForBox(back.content->memo) : QStringLiteral("<unreadable>");
}

void typeAtEnd(QTextEdit& box, const QString& text) {
    box.moveCursor(QTextCursor::End);
    box.insertPlainText(text);
}

void typeAtEnd(QPlainTextEdit& box, const QString& text) {
    box.moveCursor(QTextCursor::End);
    box.insertPlainText(text);
}

// What the racer types in the library's box stays through a download, a refresh and a change
// of language; moving to another run asks before anything is dropped.
TEST_F(RunLibraryTest, AMemoTypedInTheLibraryOutlivesDownloadsRefreshesAndLanguages) {
    const std::string name = keep(runWithLaps({61.5, 60.25}), {2026, 12, 10, 9, 5, 0});
    const std::string other = keep(runWithLaps({62.5, 60.75}), {2026, 12, 10, 9, 15, 0});
    int kept = 0;
    QObject::connect(&keeper(), &RunKeeper::runKept, [&] { ++kept; });
    LibraryWindow& w = openLibraryWindow();
    selectRows(w, {rowOf(w, name)});
    auto* box = w.findChild<QPlainTextEdit*>("libraryMemo");
    auto* save = w.findChild<QPushButton*>("saveMemoButton");
    QTest::keyClicks(box, "tyre 1.2 bar");
    ASSERT_TRUE(save->isEnabled());

    window->deviceLink().feedBytes(frameFor(runWithLaps({59.0, 58.5}, kNoTargetTime, 0, 3)));
    ASSERT_TRUE(waitUntil([&] { return kept == 1 && rows(w).size() == 3; }));
    EXPECT_EQ(box->toPlainText(), "tyre 1.2 bar");
    EXPECT_TRUE(save->isEnabled());
    w.refresh();
    ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
    EXPECT_EQ(rows(w).at(static_cast<std::size_t>(table(w).currentIndex().row())), name);
    EXPECT_EQ(box->toPlainText(), "tyre 1.2 bar");
    applyLanguage(QStringLiteral("en"));
    applyLanguage(QStringLiteral("none"));
    EXPECT_EQ(box->toPlainText(), "tyre 1.2 bar");
    EXPECT_TRUE(save->isEnabled());

    // Another run chosen: the draft is offered for saving first.
    dialogs->yesNoAnswers = {true};
    selectRows(w, {rowOf(w, other)});
    EXPECT_EQ(memoInFile(library / name), "tyre 1.2 bar");
    EXPECT_TRUE(dialogs->yesNoAnswers.empty());
    EXPECT_EQ(box->toPlainText(), "");
}

// The run shown in both windows has one memo: what is typed in the main window after the
// download is what the library saves, and the main window keeps it.
TEST_F(RunLibraryTest, TheShownDownloadHasOneMemoTypedInEitherWindow) {
    QString keptPath;
    QObject::connect(&keeper(), &RunKeeper::runKept, [&](const QString& p) { keptPath = p; });
    window->deviceLink().feedBytes(frameFor(runWithLaps({61.5, 60.25})));
    ASSERT_TRUE(waitUntil([&] { return !keptPath.isEmpty(); }));
    const std::string name = fs::relative(keptPath.toStdString(), library).string();
    LibraryWindow& w = openLibraryWindow();
    selectRows(w, {rowOf(w, name)});
    auto* mainBox = window->findChild<QTextEdit*>("RichTextBox1");
    auto* box = w.findChild<QPlainTextEdit*>("libraryMemo");
    mainBox->setPlainText("AAA memo");
    selectRows(w, {rowOf(w, name)});
    typeAtEnd(*mainBox, " BBB added");
    EXPECT_EQ(box->toPlainText(), "AAA memo BBB added");
    w.findChild<QPushButton*>("saveMemoButton")->click();
    EXPECT_TRUE(settled(w));
    EXPECT_EQ(memoInFile(keptPath.toStdString()), "AAA memo BBB added");
    EXPECT_EQ(mainBox->toPlainText(), "AAA memo BBB added");
    typeAtEnd(*box, " CCC");
    EXPECT_EQ(mainBox->toPlainText(), "AAA memo BBB added CCC");
}

// Only what was typed in the main window after a download arrived is offered as its memo: not
// the box's first text, not the memo of the run before.
TEST_F(RunLibraryTest, OnlyAMemoTypedSinceTheDownloadIsOffered) {
    QString keptPath;
    QObject::connect(&keeper(), &RunKeeper::runKept, [&](const QString& p) { keptPath = p; });
    auto* mainBox = window->findChild<QTextEdit*>("RichTextBox1");
    ASSERT_FALSE(mainBox->toPlainText().isEmpty());  // the box's first text
    const LapData runA = runWithLaps({61.5, 60.25}, kNoTargetTime, 0, 7);
    const LapData runB = runWithLaps({59.5, 58.25}, kNoTargetTime, 0, 3);
    window->deviceLink().feedBytes(frameFor(runA));
    ASSERT_TRUE(waitUntil([&] { return !keptPath.isEmpty(); }));
    const QString pathA = keptPath;
    LibraryWindow& w = openLibraryWindow();
    const auto choose = [&](const QString& path) {
        selectRows(w, {rowOf(w, fs::relative(path.toStdString(), library).string())});
    };
    auto* box = w.findChild<QPlainTextEdit*>("libraryMemo");
    auto* save = w.findChild<QPushButton*>("saveMemoButton");
    choose(pathA);
    EXPECT_EQ(box->toPlainText(), "");
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(sheetOfSession(window->runSession()).memo, "");

    mainBox->setPlainText("A: 新品タイヤ");
    EXPECT_EQ(box->toPlainText(), "A: 新品タイヤ");
    save->click();
    EXPECT_TRUE(settled(w));
    EXPECT_EQ(memoInFile(pathA.toStdString()), "A: 新品タイヤ");

    keptPath.clear();
    window->deviceLink().feedBytes(frameFor(runB));
    ASSERT_TRUE(waitUntil([&] { return !keptPath.isEmpty() && rows(w).size() == 2; }));
    choose(keptPath);
    EXPECT_EQ(box->toPlainText(), "");
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(sheetOfSession(window->runSession()).memo, "");
    EXPECT_EQ(mainBox->toPlainText(), "A: 新品タイヤ");  // the main window's box as it was
    choose(pathA);
    EXPECT_EQ(box->toPlainText(), "A: 新品タイヤ");
}

// Random sequences of what a racer does at the track, through both windows: no typed
// character is ever lost, and once saved the file, the library's box and (for the run it
// shows) the main window's box hold one memo.
TEST_F(RunLibraryTest, NoTypedCharacterIsLostWhateverTheRacerDoes) {
    for (int i = 0; i < 3; ++i)
        keep(runWithLaps({61.5 + i, 60.25, 62.0}, kNoTargetTime, 0, static_cast<std::uint8_t>(7)),
             {2026, 12, 10, 9, 5 * i, 0});
    int kept = 0;
    QObject::connect(&keeper(), &RunKeeper::runKept, [&] { ++kept; });
    LibraryWindow& w = openLibraryWindow();
    auto* mainBox = window->findChild<QTextEdit*>("RichTextBox1");
    auto* box = w.findChild<QPlainTextEdit*>("libraryMemo");
    auto* save = w.findChild<QPushButton*>("saveMemoButton");
    for (int i = 0; i < 500; ++i) dialogs->yesNoAnswers.push_back(true);
    std::mt19937 random(2912);
    std::vector<QString> typed;
    bool english = false;
    const auto selected = [&]() -> std::string {
        const QModelIndex at = table(w).currentIndex();
        return at.isValid() ? rows(w).at(static_cast<std::size_t>(at.row())) : std::string();
    };
    for (int step = 0; step < 150; ++step) {
        const QString word = QStringLiteral(" w%1雨").arg(step);
        switch (random() % 8) {
            case 0:
                typeAtEnd(*mainBox, word);
                typed.push_back(word);
                break;
            case 1:
                if (box->isEnabled()) {
                    typeAtEnd(*box, word);
                    typed.push_back(word);
                }
                break;
            case 2:
                selectRows(w, {static_cast<int>(random() % rows(w).size())});
                break;
            case 3: {
                const int before = kept;
                window->deviceLink().feedBytes(
                    frameFor(runWithLaps({58.0 + step % 5, 60.5}, kNoTargetTime, 0,
                                         static_cast<std::uint8_t>(step % 4))));
                ASSERT_TRUE(waitUntil([&] { return kept == before + 1; }));
                test::settle();
                break;
            }
            case 4:
                if (save->isEnabled()) {
                    save->click();
                    EXPECT_TRUE(settled(w));
                    const std::string run = selected();
                    ASSERT_FALSE(run.empty());
                    EXPECT_EQ(memoInFile(library / run), box->toPlainText()) << step;
                    const QString full = QString::fromStdString((library / run).string());
                    const RunSession& session = window->runSession();
                    if (QFileInfo(session.keptFileName()) == QFileInfo(full) &&
                        session.memoIsTheRuns()) {
                        EXPECT_EQ(mainBox->toPlainText(), box->toPlainText()) << step;
                    }
                }
                break;
            case 5: {
                const std::string run = selected();
                if (!run.empty())
                    test::runCli("correct '" + (library / run).string() +
                                 "' --apply leave-out:1 > /dev/null 2>&1");
                w.refresh();
                ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
                break;
            }
            case 6:
                w.refresh();
                ASSERT_TRUE(waitUntil([&] { return !w.reading(); }));
                break;
            default:
                english = !english;
                applyLanguage(english ? QStringLiteral("en") : QStringLiteral("none"));
        }
    }
    applyLanguage(QStringLiteral("none"));
    QString everything = mainBox->toPlainText() + box->toPlainText();
    for (const fs::path& run : runFilesUnder(library)) everything += memoInFile(run);
    for (const QString& word : typed)
        EXPECT_TRUE(everything.contains(word)) << word.toStdString() << " was lost";
}

// A run with a double press and a missed press, and the same laps corrected beside it: the
// list counts the suspects of each as listed, with the best three and the pace beside the
// best; the trend leaves the unconfirmed best hollow and out of the personal best; deleting
// takes the correction file to the trash with its run.
// Another program changes the library while the window is open: korimet-cli corrects the run
// the racer is looking at, a second Korimet keeps a run, saves a memo and deletes a run. Each
// change reaches the rows without 更新, the selection stays, and a memo being typed stays.
TEST_F(RunLibraryTest, ChangesMadeElsewhereReachTheOpenWindowWithoutRefresh) {
    const std::string clean = keep(runWithLaps({60.3, 60.8, 60.6}), {2026, 12, 10, 9, 0, 0});
    const std::string pressed = keep(test::doublePressRun(), {2026, 12, 10, 10, 0, 0});
    LibraryWindow& w = openLibraryWindow();
    QAbstractItemModel& model = *table(w).model();
    const auto cell = [&](const std::string& run, int column) {
        return model.index(rowOf(w, run), column).data().toString();
    };
    const auto current = [&] {
        return table(w).currentIndex().siblingAtColumn(0).data(Qt::ToolTipRole).toString();
    };
    selectRows(w, {rowOf(w, pressed)});
    ASSERT_EQ(cell(pressed, LibraryTableModel::kLaps), "10");
    ASSERT_NE(cell(pressed, LibraryTableModel::kSuspect), "0");

    const auto corrected =
        test::runCli("correct --apply merge-next:" + std::to_string(test::kDoublePressLap + 1) +
                     " " + test::quoted(library / pressed));
    ASSERT_EQ(corrected.status, 0);
    ASSERT_TRUE(waitUntil([&] { return cell(pressed, LibraryTableModel::kSuspect) == "0"; }));
    EXPECT_EQ(cell(pressed, LibraryTableModel::kLaps), "9");
    EXPECT_EQ(cell(pressed, LibraryTableModel::kBest),
              QString::fromStdString(lapTimeOrPlaceholder(52.19)));
    EXPECT_EQ(current(), QString::fromStdString(pressed));

    const std::string later = keep(runWithLaps({59.9}), {2026, 12, 10, 11, 0, 0});
    ASSERT_TRUE(waitUntil([&] { return rows(w).size() == 3; }));
    EXPECT_EQ(rows(w), (std::vector<std::string>{clean, pressed, later}));
    fs::remove(library / clean);
    ASSERT_TRUE(waitUntil([&] { return rows(w).size() == 2; }));
    EXPECT_EQ(current(), QString::fromStdString(pressed));

    // A memo saved elsewhere shows in the box; once the racer types, their draft stays.
    auto* box = w.findChild<QPlainTextEdit*>("libraryMemo");
    auto* save = w.findChild<QPushButton*>("saveMemoButton");
    ASSERT_TRUE(saveDataFile((library / pressed).string(), test::doublePressRun(), "pit wall"));
    ASSERT_TRUE(waitUntil([&] { return box->toPlainText() == "pit wall"; }));
    EXPECT_FALSE(save->isEnabled());
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, " + mine");
    ASSERT_TRUE(saveDataFile((library / pressed).string(), test::doublePressRun(), "theirs"));
    ASSERT_TRUE(waitUntil([&] { return cell(pressed, LibraryTableModel::kMemo) == "theirs"; }));
    EXPECT_TRUE(settled(w));
    EXPECT_EQ(box->toPlainText(), "pit wall + mine");
    EXPECT_TRUE(save->isEnabled());
    save->click();
    EXPECT_TRUE(settled(w));
    EXPECT_EQ(memoInFile(library / pressed), "pit wall + mine");
}

TEST_F(RunLibraryTest, SuspectLapsUnconfirmedBestsAndCorrectionsGoingWithTheirRun) {
    const LapData pressed = runWithLaps({60.0, 60.5, 0.4, 60.1, 61.0, 120.5, 60.2});
    const std::string clean = keep(runWithLaps({60.3, 60.8, 60.6}), {2026, 12, 10, 9, 0, 0});
    const std::string raw = keep(pressed, {2026, 12, 10, 10, 0, 0});
    const std::string fixed = keep(pressed, {2026, 12, 10, 11, 0, 0});
    RunCorrections corrections(pressed);
    corrections.apply({CorrectionKind::Split, 5});
    corrections.apply({CorrectionKind::MergeIntoNext, 2});
    ASSERT_FALSE(saveCorrections((library / fixed).string(), corrections));

    LibraryWindow& w = openLibraryWindow();
    QAbstractItemModel& model = *table(w).model();
    const auto cell = [&](const std::string& run, int column) {
        return model.index(rowOf(w, run), column).data().toString();
    };
    EXPECT_EQ(cell(clean, LibraryTableModel::kSuspect), "0");
    EXPECT_EQ(cell(raw, LibraryTableModel::kSuspect), "2");
    EXPECT_EQ(cell(fixed, LibraryTableModel::kSuspect), "0");
    EXPECT_EQ(cell(fixed, LibraryTableModel::kBest),
              QString::fromStdString(lapTimeOrPlaceholder(60.0)));
    EXPECT_EQ(model.index(rowOf(w, fixed), LibraryTableModel::kSuspect).data(Qt::ToolTipRole),
              QString::fromUtf8(librarytexts::kCorrectedSteps).arg(2));
    const RunPace pace = viewRun(corrections).pace;
    EXPECT_EQ(cell(fixed, LibraryTableModel::kBestThree),
              QString::fromStdString(lapTimeOrPlaceholder(pace.bestThree->total)) + " (5-7)");
    EXPECT_EQ(cell(fixed, LibraryTableModel::kPaceTrend), QString::asprintf("%+.2f", *pace.trend));
    // Beside the numbers they go with, the memo still last.
    QHeaderView* header = table(w).horizontalHeader();
    EXPECT_EQ(header->visualIndex(LibraryTableModel::kSuspect),
              header->visualIndex(LibraryTableModel::kLaps) + 1);
    EXPECT_EQ(header->visualIndex(LibraryTableModel::kPaceTrend),
              header->visualIndex(LibraryTableModel::kTarget) - 1);
    EXPECT_EQ(header->visualIndex(LibraryTableModel::kMemo), LibraryTableModel::kColumnCount - 1);

    auto* plot = w.findChild<QCustomPlot*>("trendChart");
    QCPGraph* personalBest = nullptr;
    QCPGraph* unconfirmed = nullptr;
    for (int g = 0; g < plot->graphCount(); ++g) {
        if (plot->graph(g)->name() == QString::fromUtf8(librarytexts::kTrendPersonalBest))
            personalBest = plot->graph(g);
        if (plot->graph(g)->name() == QString::fromUtf8(librarytexts::kTrendUnconfirmed))
            unconfirmed = plot->graph(g);
    }
    ASSERT_TRUE(personalBest && unconfirmed);
    // The raw run's 0.4 is drawn, hollow; its first lap, 60.0, confirmed, is the personal
    // best, which the corrected run's 60.0 only equals.
    ASSERT_EQ(unconfirmed->dataCount(), 1);
    EXPECT_DOUBLE_EQ(unconfirmed->data()->at(0)->key, 1.0);
    EXPECT_DOUBLE_EQ(unconfirmed->data()->at(0)->value, 0.4);
    ASSERT_EQ(personalBest->dataCount(), 1);
    EXPECT_DOUBLE_EQ(personalBest->data()->at(0)->value, 60.0);
    EXPECT_DOUBLE_EQ(personalBest->data()->at(0)->key, 1.0);

    w.resize(900, 700);
    w.show();
    plot->replot();
    const QPoint at(static_cast<int>(plot->xAxis->coordToPixel(1.0)),
                    static_cast<int>(plot->yAxis->coordToPixel(0.4)));
    QMouseEvent move(QEvent::MouseMove, QPointF(at), plot->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &move);
    EXPECT_TRUE(plot->toolTip().endsWith(QString::fromUtf8(librarytexts::kTrendUnconfirmed)))
        << plot->toolTip().toStdString();

    selectRows(w, {rowOf(w, fixed)});
    dialogs->yesNoAnswers = {true};
    w.deleteSelection();
    EXPECT_TRUE(settled(w));
    EXPECT_FALSE(fs::exists(library / fixed));
    EXPECT_FALSE(fs::exists(correctionFilePath((library / fixed).string())));
    const QString trash =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files";
    const QString name = QString::fromStdString(fs::path(fixed).filename().string());
    EXPECT_TRUE(QDir(trash).exists(name));
    EXPECT_TRUE(QDir(trash).exists(name + QString::fromUtf8(kCorrectionFileSuffix.data())));
}

// A layout remembered before the columns for suspect laps, best three and pace were added
// keeps its widths, and the added columns appear beside the numbers, not after the memo.
TEST_F(RunLibraryTest, ALayoutRememberedWithFewerColumnsStillFits) {
    keep(runWithLaps({60.0, 61.0, 62.0}), {2026, 12, 10, 10, 0, 0});
    constexpr int kEarlierColumns = LibraryTableModel::kMemo + 1;
    QStandardItemModel earlier(0, kEarlierColumns);
    QHeaderView saved(Qt::Horizontal);
    saved.setModel(&earlier);
    saved.setStretchLastSection(true);
    for (int c = 0; c + 1 < kEarlierColumns; ++c) saved.resizeSection(c, 40 + 5 * c);
    saved.setSortIndicator(LibraryTableModel::kBest, Qt::DescendingOrder);
    QSettings().setValue("Library/Columns", saved.saveState());

    LibraryWindow& w = openLibraryWindow();
    QHeaderView* header = table(w).horizontalHeader();
    for (int c = 0; c + 1 < kEarlierColumns; ++c)
        EXPECT_EQ(header->sectionSize(c), 40 + 5 * c) << c;
    EXPECT_EQ(header->sortIndicatorSection(), LibraryTableModel::kBest);
    EXPECT_EQ(header->visualIndex(LibraryTableModel::kSuspect),
              header->visualIndex(LibraryTableModel::kLaps) + 1);
    EXPECT_EQ(header->visualIndex(LibraryTableModel::kMemo), LibraryTableModel::kColumnCount - 1);
    EXPECT_FALSE(header->isSectionHidden(LibraryTableModel::kPaceTrend));
}

}  // namespace
}  // namespace korimet

#include "run_library_uitest.moc"
