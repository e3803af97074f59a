#include <gtest/gtest.h>

#include <QAction>

#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextEdit>
#include <memory>
#include <stdexcept>
#include <string>

#include "files/data_file.h"
#include "files/file_texts.h"
#include "files/ui/file_command_texts.h"
#include "files/ui/memo_line_ends.h"
#include "lapdata/lap_time.h"
#include "lapdata/lap_view_model.h"
#include "lapdata/ui/lap_grid.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_texts.h"
#include "support/fake_dialogs.h"
#include "support/frames.h"
#include "support/window_fixture.h"

namespace korimet {
namespace {

using test::FakeDialogs;
using test::frameFor;
using test::runOfLaps;
using test::runWithLaps;
using Kind = FakeDialogs::Kind;

// A file-size limit for this process while it lives, with SIGXFSZ ignored: writes past it
// fail as they would on a full disk. Raising the limit back needs no privilege.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        struct rlimit limited = old_;
        limited.rlim_cur = bytes;
        ok_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool ok() const { return ok_; }

  private:
    struct rlimit old_ {};
    sighandler_t oldHandler_ = SIG_DFL;
    bool ok_ = false;
};

const QString kFixtures = QStringLiteral(KORIMET_TEST_DATA);

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A data file with the given first line and memo field, 60 lap lines in between; an
// empty memo field leaves the file ending after the last lap line.
QByteArray dataFileText(const QByteArray& firstLine, const QByteArray& memoField) {
    QByteArray text = firstLine + "\r\n";
    for (int i = 0; i < kLapSlots; ++i) text += (i < 3 ? QByteArray("61.5") : "0") + "\r\n";
    return memoField.isEmpty() ? text : text + memoField + "\r\n";
}

// Everything a failed command must leave as it was.
struct WindowSnapshot {
    LapData currentData;
    QString currentFileName;
    QString memo;
    QString model;
    QString version;
    bool gridVisible = false;
    std::vector<QString> cells;
    friend bool operator==(const WindowSnapshot&, const WindowSnapshot&) = default;
};

class FileCommandsTest : public test::WindowInTempFolder {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(WindowInTempFolder::SetUp());
        makeWindow();
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    static QString label(const MainWindow& w, const char* name) {
        const auto* found = w.findChild<QLabel*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found ? found->text() : QString("<missing>");
    }
    static QTextEdit& memoBox(const MainWindow& w) {
        return *w.findChild<QTextEdit*>("RichTextBox1");
    }
    static const LapGrid& grid(const MainWindow& w) {
        return *w.findChild<LapGrid*>("MSFlexGrid1");
    }

    WindowSnapshot snapshot() const {
        WindowSnapshot s{window->currentData(),
                         window->currentFileName(),
                         memoBox(*window).toPlainText(),
                         label(*window, "Label2"),
                         label(*window, "Label3"),
                         grid(*window).isVisibleTo(window.get()),
                         {}};
        for (int r = 0; r < LapGrid::kRows; ++r) {
            for (int c = 0; c < LapGrid::kColumns; ++c) {
                s.cells.push_back(grid(*window).textMatrix(r, c));
            }
        }
        return s;
    }

    void open(const QString& file) {
        dialogs->answers.push_back(file);
        window->fileCommands().openDataFile();
    }

    // The grid shows what the lap view makes of the run, cell by cell.
    void expectGridShows(const LapData& data) const {
        const LapView view = buildLapView(data);
        EXPECT_TRUE(grid(*window).isVisibleTo(window.get()));
        for (int r = 0; r < LapGrid::kRows; ++r) {
            for (int c = 0; c < LapGrid::kColumns; ++c) {
                EXPECT_EQ(grid(*window).textMatrix(r, c).toStdString(),
                          view.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                    << r << "," << c;
            }
        }
    }

    std::vector<FakeDialogs::Call> messages() const {
        std::vector<FakeDialogs::Call> found;
        for (const auto& call : dialogs->calls) {
            if (call.kind == Kind::Message) found.push_back(call);
        }
        return found;
    }

    void expectOneMessageNaming(const QString& file) const {
        const auto shown = messages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_TRUE(shown[0].text.contains(file)) << shown[0].text.toStdString();
        EXPECT_EQ(shown[0].title, texts::kAppTitle);
        EXPECT_EQ(shown[0].icon, MessageIcon::None);
    }
};

// ---- File > Open ---------------------------------------------------------------------

TEST_F(FileCommandsTest, OpenShowsTheRunTheMemoAndThePath) {
    const QString file = kFixtures + "/example.krt";
    open(file);

    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, Kind::OpenPath);
    EXPECT_EQ(dialogs->calls[0].title, "開く");
    EXPECT_EQ(dialogs->calls[0].filter, "Korimet DATAﾌｧｲﾙ (*.krt)|*.krt");

    LapData expected = runWithLaps({65.43, 64.9, 0.75}, kNoTargetTime, 17, 12);
    EXPECT_EQ(window->currentData(), expected);
    EXPECT_EQ(window->currentFileName(), file);
    EXPECT_EQ(memoBox(*window).toPlainText(), "ok");
    EXPECT_EQ(label(*window, "Label2"), "Load Data");
    EXPECT_EQ(label(*window, "Label3"), file);
    EXPECT_EQ(grid(*window).textMatrix(1, 1), "01m05s43");
    EXPECT_EQ(grid(*window).textMatrix(3, 1), "00m00s75");
    expectGridShows(expected);
    EXPECT_EQ(label(*window, "Label4"), "12");
}

TEST_F(FileCommandsTest, OpenPutsACp932MemoOfTwoLinesIntoTheBoxWithPlainLineEnds) {
    const QString file = kFixtures + "/target_32_laps_cp932.krt";
    const auto loaded = loadDataFile(file.toStdString());
    ASSERT_TRUE(loaded);
    ASSERT_NE(loaded.content->memo.find("\r\n"), std::string::npos);

    open(file);

    EXPECT_EQ(window->currentData(), loaded.content->data);
    const QString memo = memoBox(*window).toPlainText();
    EXPECT_FALSE(memo.contains('\r'));
    EXPECT_EQ(memo.split('\n').size(), 2);
    EXPECT_EQ(memo, QString::fromStdString(loaded.content->memo).replace("\r\n", "\n"));
    expectGridShows(loaded.content->data);
}

TEST_F(FileCommandsTest, CancelledOpenChangesNothing) {
    open(kFixtures + "/example.krt");
    const WindowSnapshot before = snapshot();
    dialogs->calls.clear();

    window->fileCommands().openDataFile();  // no answer: cancelled

    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, Kind::OpenPath);
    EXPECT_TRUE(snapshot() == before);
}

TEST_F(FileCommandsTest, BrokenFileLeavesTheWindowAsItWasAndNamesTheFile) {
    const struct {
        const char* name;
        const char* what;
        QByteArray bytes;  // empty: no such file
    } cases[] = {
        {"missing.krt", "missing", {}},
        {"short.krt", "ends early", "12,3,655.35,0,0,17,0\r\n65.43\r\n64.9\r\n"},
        {"no_memo.krt", "ends before the memo", dataFileText("12,3,655.35,0,0,17,0", "")},
        {"text.krt", "text for a number", dataFileText("12,drei,655.35,0,0,17,0", "\"x\"")},
        {"byte.krt", "byte out of range", dataFileText("256,3,655.35,0,0,17,0", "\"x\"")},
        {"negative.krt", "negative byte", dataFileText("12,3,655.35,0,0,-1,0", "\"x\"")},
        {"quote.krt", "memo without its closing quote",
         dataFileText("12,3,655.35,0,0,17,0", "\"never closed")},
    };
    // A run, a memo and a name of its own, so that any change shows.
    open(kFixtures + "/example.krt");
    memoBox(*window).setPlainText("edited\nmemo");
    const WindowSnapshot before = snapshot();

    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString file = path(c.name);
        if (!c.bytes.isEmpty()) writeBytes(file, c.bytes);
        dialogs->calls.clear();

        open(file);

        EXPECT_TRUE(snapshot() == before);
        expectOneMessageNaming(file);
    }
    // The lap-text fixture stops at its second lap.
    dialogs->calls.clear();
    open(kFixtures + "/broken_lap_text.krt");
    EXPECT_TRUE(snapshot() == before);
    expectOneMessageNaming(kFixtures + "/broken_lap_text.krt");
}

TEST_F(FileCommandsTest, OpeningADirectoryIsRefusedWithAMessage) {
    open(kFixtures + "/example.krt");
    const WindowSnapshot before = snapshot();
    dialogs->calls.clear();

    open(dir.path());

    EXPECT_TRUE(snapshot() == before);
    expectOneMessageNaming(dir.path());
}

// ---- File > Save and Save As ---------------------------------------------------------

TEST_F(FileCommandsTest, SaveAfterADownloadAsksForANameAndTheSecondSaveDoesNot) {
    open(kFixtures + "/example.krt");
    const LapData run = runOfLaps(9, 70.0, 5);
    window->deviceLink().feedBytes(frameFor(run));
    ASSERT_EQ(window->currentData(), run);
    ASSERT_TRUE(window->currentFileName().isEmpty());
    const QString model = label(*window, "Label2");
    const QString version = label(*window, "Label3");
    dialogs->calls.clear();

    const QString file = path("run.krt");
    dialogs->answers.push_back(file);
    window->fileCommands().saveDataFile();

    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, Kind::SavePath);
    EXPECT_EQ(dialogs->calls[0].title, "保存");
    EXPECT_EQ(dialogs->calls[0].filter, "Korimet DATAﾌｧｲﾙ (*.krt)|*.krt");
    EXPECT_EQ(window->currentFileName(), file);
    auto saved = loadDataFile(file.toStdString());
    ASSERT_TRUE(saved) << saved.error;
    EXPECT_EQ(saved.content->data, run);
    EXPECT_EQ(saved.content->memo, "ok");

    memoBox(*window).setPlainText("second");
    window->fileCommands().saveDataFile();

    EXPECT_EQ(dialogs->calls.size(), 1u);  // nothing asked the second time
    saved = loadDataFile(file.toStdString());
    ASSERT_TRUE(saved) << saved.error;
    EXPECT_EQ(saved.content->memo, "second");
    // Saving neither touches the labels nor the run.
    EXPECT_EQ(label(*window, "Label2"), model);
    EXPECT_EQ(label(*window, "Label3"), version);
    EXPECT_EQ(window->currentData(), run);
}

TEST_F(FileCommandsTest, CancelledSaveWritesNothing) {
    window->deviceLink().feedBytes(frameFor(runOfLaps(3)));
    window->fileCommands().saveDataFile();    // asks; cancelled
    window->fileCommands().saveDataFileAs();  // asks; cancelled

    ASSERT_EQ(dialogs->calls.size(), 2u);
    EXPECT_EQ(dialogs->calls[0].kind, Kind::SavePath);
    EXPECT_EQ(dialogs->calls[1].kind, Kind::SavePath);
    EXPECT_TRUE(window->currentFileName().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST_F(FileCommandsTest, SaveAsReplacesAnExistingFileWithoutAQuestion) {
    const QString file = path("old.krt");
    writeBytes(file, dataFileText("1,1,655.35,0,0,0,0", "\"old run\""));
    const LapData run = runOfLaps(12, 66.0, 8);
    window->deviceLink().feedBytes(frameFor(run));
    const QString before = label(*window, "Label3");

    dialogs->answers.push_back(file);
    window->fileCommands().saveDataFileAs();

    ASSERT_EQ(dialogs->calls.size(), 1u);  // the name only, no overwrite question
    EXPECT_EQ(window->currentFileName(), file);
    const auto saved = loadDataFile(file.toStdString());
    ASSERT_TRUE(saved) << saved.error;
    EXPECT_EQ(saved.content->data, run);
    EXPECT_EQ(saved.content->memo, "RichTextBox1");
    EXPECT_EQ(label(*window, "Label3"), before);
}

TEST_F(FileCommandsTest, FailedSaveAsKeepsTheNameAndTheOldFile) {
    window->deviceLink().feedBytes(frameFor(runOfLaps(4)));
    const QString good = path("good.krt");
    dialogs->answers.push_back(good);
    window->fileCommands().saveDataFileAs();
    ASSERT_EQ(window->currentFileName(), good);
    const QByteArray goodBytes = readBytes(good);
    ASSERT_FALSE(goodBytes.isEmpty());
    dialogs->calls.clear();

    window->deviceLink().feedBytes(frameFor(runOfLaps(20)));  // a new run, which empties the name
    dialogs->answers.push_back(good);
    window->fileCommands().saveDataFileAs();
    ASSERT_EQ(window->currentFileName(), good);
    const QByteArray secondBytes = readBytes(good);
    dialogs->calls.clear();

    const QString unreachable = path("no/such/dir/run.krt");
    dialogs->answers.push_back(unreachable);
    window->fileCommands().saveDataFileAs();

    EXPECT_EQ(window->currentFileName(), good);
    EXPECT_EQ(readBytes(good), secondBytes);
    EXPECT_FALSE(QFile::exists(unreachable));
    expectOneMessageNaming(unreachable);

    // The next Save still goes where it went before, without asking.
    dialogs->calls.clear();
    window->fileCommands().saveDataFile();
    EXPECT_TRUE(dialogs->calls.empty());
}

TEST_F(FileCommandsTest, FailedFirstSaveLeavesNoName) {
    window->deviceLink().feedBytes(frameFor(runOfLaps(4)));
    const QString unreachable = path("missing/run.krt");
    dialogs->answers.push_back(unreachable);

    window->fileCommands().saveDataFile();

    EXPECT_TRUE(window->currentFileName().isEmpty());
    expectOneMessageNaming(unreachable);
    // So the next Save asks again.
    dialogs->calls.clear();
    window->fileCommands().saveDataFile();
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, Kind::SavePath);
}

TEST_F(FileCommandsTest, MemoTheFileCannotHoldIsRefusedAndTheFileStaysAsItWas) {
    window->deviceLink().feedBytes(frameFor(runOfLaps(6)));
    const QString file = path("kept.krt");
    dialogs->answers.push_back(file);
    window->fileCommands().saveDataFileAs();
    const QByteArray kept = readBytes(file);
    ASSERT_FALSE(kept.isEmpty());
    dialogs->calls.clear();

    memoBox(*window).setPlainText(QString::fromUtf8("タイム良好 \xF0\x9F\x98\x80"));

    window->fileCommands().saveDataFile();
    EXPECT_EQ(readBytes(file), kept);
    expectOneMessageNaming(file);
    EXPECT_TRUE(messages()[0].text.contains(QString::fromUtf8("\xF0\x9F\x98\x80")));

    dialogs->calls.clear();
    const QString other = path("other.krt");
    dialogs->answers.push_back(other);
    window->fileCommands().saveDataFileAs();
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_EQ(window->currentFileName(), file);
    expectOneMessageNaming(other);
}

TEST_F(FileCommandsTest, FullDiskSaveIsReportedAndLeavesTheOldFile) {
    window->deviceLink().feedBytes(frameFor(runOfLaps(6)));
    const QString file = path("kept.krt");
    dialogs->answers.push_back(file);
    window->fileCommands().saveDataFileAs();
    const QByteArray kept = readBytes(file);
    ASSERT_FALSE(kept.isEmpty());
    window->deviceLink().feedBytes(
        frameFor(runOfLaps(30)));  // a longer run, which empties the name
    dialogs->answers.push_back(file);
    window->fileCommands().saveDataFileAs();
    const QByteArray longer = readBytes(file);
    ASSERT_GT(longer.size(), kept.size());
    window->deviceLink().feedBytes(frameFor(runOfLaps(40)));
    dialogs->answers.push_back(file);
    window->fileCommands().saveDataFileAs();
    ASSERT_EQ(window->currentFileName(), file);
    const QByteArray before = readBytes(file);
    const QString other = path("other.krt");
    memoBox(*window).setPlainText("written once there is room");
    dialogs->calls.clear();

    {
        const FileSizeLimit limit(static_cast<rlim_t>(kept.size()));
        ASSERT_TRUE(limit.ok());
        window->fileCommands().saveDataFile();  // File > Save
        dialogs->answers.push_back(other);
        window->fileCommands().saveDataFileAs();  // and Save As to a new name
    }

    const auto shown = messages();
    ASSERT_EQ(shown.size(), 2u);
    for (const auto& [message, named] : {std::pair{shown[0], file}, std::pair{shown[1], other}}) {
        EXPECT_EQ(message.text, QString::fromStdString(filetexts::kSaveFailed +
                                                       QFile::encodeName(named).toStdString() +
                                                       "\n" + filetexts::kCannotWrite + "（" +
                                                       filetexts::kFileTooBig + "）"));
        EXPECT_EQ(message.title, texts::kAppTitle);
    }
    EXPECT_EQ(readBytes(file), before);
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_EQ(window->currentFileName(), file);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              QStringList{"kept.krt"});

    // With room again the same Save writes the run.
    dialogs->calls.clear();
    window->fileCommands().saveDataFile();
    EXPECT_TRUE(messages().empty());
    const auto saved = loadDataFile(QFile::encodeName(file).toStdString());
    ASSERT_TRUE(saved) << saved.error;
    EXPECT_EQ(saved.content->memo, "written once there is room");
}

TEST_F(FileCommandsTest, SaveAsAddsKrtToATypedNameWithoutASuffix) {
    window->deviceLink().feedBytes(frameFor(runOfLaps(5)));
    const struct {
        const char* typed;
        const char* written;
    } cases[] = {
        {"race", "race.krt"},
        {"race.krt", "race.krt"},
        {"race.bak", "race.bak"},
        {"練習 2", "練習 2.krt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs->answers.push_back(path(c.typed));
        window->fileCommands().saveDataFileAs();
        EXPECT_EQ(window->currentFileName(), path(c.written));
        const auto saved = loadDataFile(QFile::encodeName(path(c.written)).toStdString());
        ASSERT_TRUE(saved) << saved.error;
        EXPECT_EQ(saved.content->data, window->currentData());
    }
    EXPECT_FALSE(QFile::exists(path("race")));
    EXPECT_TRUE(messages().empty());
}

TEST_F(FileCommandsTest, UndecodableMemoOpensTheRunAndCannotBeSavedUnseen) {
    const QString file = path("old.krt");
    const QByteArray bytes =
        dataFileText("12,3,655.35,0,0,17,0", "\"\x97\xFB\x8F\x4B\x80\r\n\x8D\x73\"");
    writeBytes(file, bytes);

    open(file);

    EXPECT_EQ(window->currentData().lapCount, 3);
    EXPECT_EQ(window->currentFileName(), file);
    EXPECT_EQ(memoBox(*window).toPlainText(), QString::fromUtf8("練習\uFFFD\n行"));
    expectOneMessageNaming(file);
    EXPECT_TRUE(messages()[0].text.contains(QString::fromUtf8(filetexts::kMemoShownWithMarks)));
    EXPECT_TRUE(messages()[0].text.contains(QString::fromUtf8(filetexts::kMemoMarksBlockSave)));
    EXPECT_EQ(readBytes(file), bytes);

    // File > Save refuses the marks and names them: the original bytes stay.
    dialogs->calls.clear();
    window->fileCommands().saveDataFile();
    expectOneMessageNaming(file);
    EXPECT_TRUE(messages()[0].text.contains(QString::fromUtf8("\uFFFD")));
    EXPECT_EQ(readBytes(file), bytes);

    // Once the user has dealt with the marks, the memo saves.
    dialogs->calls.clear();
    memoBox(*window).setPlainText(QString::fromUtf8("練習\n行"));
    window->fileCommands().saveDataFile();
    EXPECT_TRUE(messages().empty());
    const auto saved = loadDataFile(QFile::encodeName(file).toStdString());
    ASSERT_TRUE(saved) << saved.error;
    EXPECT_EQ(saved.content->memo, "練習\r\n行");
}

// Bytes that read both as CP932 (繧。) and as UTF-8 (めB) open with the reading taken and a
// notice; saving the memo unchanged writes the bytes as they were.
TEST_F(FileCommandsTest, DoubtfulMemoOpensWithANoticeAndSavesAsItWas) {
    const QString file = path("doubt.krt");
    const QByteArray bytes = dataFileText("12,3,655.35,0,0,17,0", "\"\xE3\x82\x81\x42\"");
    writeBytes(file, bytes);

    open(file);

    EXPECT_EQ(memoBox(*window).toPlainText(), QString::fromUtf8("繧。"));
    expectOneMessageNaming(file);
    EXPECT_TRUE(messages()[0].text.contains(QString::fromUtf8(filetexts::kMemoDoubtfulHead)));
    EXPECT_FALSE(messages()[0].text.contains(QString::fromUtf8(filetexts::kMemoMarksBlockSave)));

    dialogs->calls.clear();
    window->fileCommands().saveDataFile();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(readBytes(file), bytes);
}

TEST_F(FileCommandsTest, ARunSurvivesSaveANewWindowAndOpen) {
    LapData run = runOfLaps(31, 64.5, 12);
    run.carId = 255;
    window->deviceLink().feedBytes(frameFor(run));
    ASSERT_EQ(window->currentData(), run);
    const QString memo = QString::fromUtf8("一周目 好調, \"雨\"\n二行目も日本語");
    memoBox(*window).setPlainText(memo);

    const QString file = path("ラン.krt");
    dialogs->answers.push_back(file);
    window->fileCommands().saveDataFile();
    ASSERT_TRUE(messages().empty()) << messages()[0].text.toStdString();

    // Inside the memo as on every other line: CR LF, never a bare LF.
    const QByteArray bytes = readBytes(file);
    ASSERT_FALSE(bytes.isEmpty());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "at byte " << i;
        }
    }

    makeWindow();
    open(file);

    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(window->currentData(), run);
    EXPECT_EQ(memoBox(*window).toPlainText(), memo);
    EXPECT_EQ(window->currentFileName(), file);
    EXPECT_EQ(label(*window, "Label3"), file);
    expectGridShows(run);
}

// Dialogs that fail in every way they can.
class ThrowingDialogs : public FakeDialogs {
  public:
    bool throwOnAsk = true;
    QString askOpenPath(const QString& title, const QString& filter) override {
        QString answer = FakeDialogs::askOpenPath(title, filter);
        if (throwOnAsk) throw std::runtime_error("dialog failed");
        return answer;
    }
    QString askSavePath(const QString& title, const QString& filter) override {
        QString answer = FakeDialogs::askSavePath(title, filter);
        if (throwOnAsk) throw std::runtime_error("dialog failed");
        return answer;
    }
    void message(const QString& text, const QString& title, MessageIcon icon) override {
        FakeDialogs::message(text, title, icon);
        throw std::runtime_error("message failed");
    }
};

TEST_F(FileCommandsTest, CommandsLetNothingEscapeThem) {
    auto owned = std::make_unique<ThrowingDialogs>();
    ThrowingDialogs* throwing = owned.get();
    window->setDialogs(std::move(owned));
    const WindowSnapshot before = snapshot();

    // Started as the user starts them, from the menu and the toolbar.
    auto trigger = [this](const char* name) {
        QAction* action = window->findChild<QAction*>(QString::fromUtf8(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    };
    EXPECT_NO_THROW(trigger("mnuFileOpen"));
    EXPECT_NO_THROW(trigger("mnuFileSaveAs"));
    EXPECT_NO_THROW(trigger("mnuFileSave"));
    EXPECT_NO_THROW(trigger("tbButtonOpen"));
    EXPECT_NO_THROW(trigger("tbButtonSave"));

    // Now the question is answered but the failure message throws.
    throwing->throwOnAsk = false;
    throwing->answers = {path("missing.krt"), path("no/dir/x.krt")};
    EXPECT_NO_THROW(trigger("mnuFileOpen"));
    EXPECT_NO_THROW(trigger("mnuFileSaveAs"));
    EXPECT_TRUE(snapshot() == before);
}

// ---- memo line ends ------------------------------------------------------------------

TEST(MemoLineEnds, BoxTextGetsCrLfInTheFileAndBack) {
    const struct {
        const char* box;
        const char* file;
    } cases[] = {
        {"", ""},
        {"one line", "one line"},
        {"a\nb", "a\r\nb"},
        {"a\n\nb\n", "a\r\n\r\nb\r\n"},
        {"日本語\n二行目", "日本語\r\n二行目"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(memoForFile(QString::fromUtf8(c.box)), c.file) << c.box;
        EXPECT_EQ(memoForBox(c.file), QString::fromUtf8(c.box)) << c.file;
    }
}

TEST(MemoLineEnds, StrayCarriageReturnsBecomeOneLineEndEach) {
    EXPECT_EQ(memoForBox("a\rb\nc\r\nd"), "a\nb\nc\nd");
    EXPECT_EQ(memoForFile("a\rb\r\nc"), "a\r\nb\r\nc");
}

// ---- the template at start-up --------------------------------------------------------

// The window's own dialogs, as the program starts it.
class TemplateTest : public test::WindowInTempFolder {
  protected:
    // Builds the window as the program does, with whatever stderr it writes.
    std::string startWindow() {
        ::testing::internal::CaptureStderr();
        window = std::make_unique<MainWindow>();
        return ::testing::internal::GetCapturedStderr();
    }
    QString memo() const { return window->findChild<QTextEdit*>("RichTextBox1")->toPlainText(); }
    QString label(const char* name) const { return window->findChild<QLabel*>(name)->text(); }
};

TEST_F(TemplateTest, PresetsTheScalarsAndTheMemoButShowsNothing) {
    writeBytes(dir.filePath("hinagata.krt"), "3,5,70.5,1.5,2,17,9,\"Team A\r\n2nd line\"\r\n");

    const std::string err = startWindow();

    EXPECT_EQ(err, "");
    LapData expected;
    expected.carId = 3;
    expected.lapCount = 5;
    expected.targetTime = 70.5;
    expected.extraValue1 = 1.5;
    expected.extraValue2 = 2;
    expected.raceMinutes = 17;
    expected.extraByte = 9;
    EXPECT_EQ(window->currentData(), expected);  // all 60 laps still 0
    EXPECT_EQ(memo(), "Team A\n2nd line");
    EXPECT_TRUE(window->currentFileName().isEmpty());
    const auto* grid = window->findChild<LapGrid*>("MSFlexGrid1");
    EXPECT_FALSE(grid->isVisibleTo(window.get()));
    EXPECT_EQ(grid->textMatrix(1, 1), "--m--s--");
    for (const char* name : {"Label2", "Label3", "Label4", "Label5", "Label6", "Label7"}) {
        EXPECT_EQ(label(name), "") << name;
    }
}

TEST_F(TemplateTest, SaveAfterStartWritesTheTemplateScalarsAndSixtyZeroLaps) {
    writeBytes(dir.filePath("hinagata.krt"), "3,5,655.35,0,0,17,0,\"memo\"\r\n");
    startWindow();
    test::fakeDialogsFor(*window).answers.push_back(dir.filePath("saved.krt"));

    window->fileCommands().saveDataFile();

    const auto saved = loadDataFile(dir.filePath("saved.krt").toStdString());
    ASSERT_TRUE(saved) << saved.error;
    EXPECT_EQ(saved.content->data.lapCount, 5);
    for (double lap : saved.content->data.laps) EXPECT_EQ(lap, 0.0);
    EXPECT_EQ(saved.content->memo, "memo");
}

TEST_F(TemplateTest, AFullDataFileAsTemplateGivesItsFirstLapAsMemo) {
    writeBytes(dir.filePath("hinagata.krt"), readBytes(kFixtures + "/example.krt"));

    EXPECT_EQ(startWindow(), "");

    EXPECT_EQ(window->currentData().carId, 12);
    EXPECT_EQ(window->currentData().lapCount, 3);
    EXPECT_EQ(window->currentData().laps[0], 0.0);
    EXPECT_EQ(memo(), "65.43");
}

TEST_F(TemplateTest, MissingTemplateIsSilent) {
    EXPECT_EQ(startWindow(), "");
    EXPECT_EQ(window->currentData(), LapData{});
    EXPECT_EQ(memo(), "RichTextBox1");
}

TEST_F(TemplateTest, BrokenTemplateLeavesAllZeroAndSaysSoOnOneLine) {
    const struct {
        const char* what;
        QByteArray bytes;  // empty: a directory of that name
    } cases[] = {
        {"ends early", "3,5,70.5"},
        {"no memo", "3,5,70.5,0,0,17,0"},
        {"text for a number", "3,five,70.5,0,0,17,0,\"m\""},
        {"byte out of range", "3,5,70.5,0,0,300,0,\"m\""},
        {"memo without closing quote", "3,5,70.5,0,0,17,0,\"open"},
        {"a directory", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString file = dir.filePath("hinagata.krt");
        QFile::remove(file);
        QDir(dir.path()).rmdir("hinagata.krt");
        if (c.bytes.isEmpty()) {
            ASSERT_TRUE(QDir(dir.path()).mkdir("hinagata.krt"));
        } else {
            writeBytes(file, c.bytes);
        }

        const std::string err = startWindow();

        EXPECT_EQ(window->currentData(), LapData{});
        EXPECT_EQ(memo(), "RichTextBox1");
        ASSERT_FALSE(err.empty());
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;  // exactly one line
        EXPECT_NE(err.find("hinagata.krt"), std::string::npos) << err;
        EXPECT_NE(err.find(filetexts::kReadFailed), std::string::npos) << err;
    }
}

}  // namespace
}  // namespace korimet
