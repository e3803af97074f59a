#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QWidget>
#include <random>
#include <string>

#include "files/data_file.h"
#include "files/file_texts.h"
#include "files/ui/file_commands.h"
#include "files/ui/memo_panel.h"
#include "session/run_session.h"
#include "support/fake_dialogs.h"
#include "support/files.h"
#include "support/frames.h"

namespace korimet {
namespace {

using test::FakeDialogs;
using test::runOfLaps;
using test::runWithLaps;

// The file commands and the memo panel alone: a session, fake dialogs and a bare widget.
struct FilePartsAlone {
    RunSession session;
    FakeDialogs dialogs;
    QWidget host;
    MemoPanel memo{session, host};
    FileCommands files{session, dialogs};
};

class FileCommandsAlone : public ::testing::Test {
  protected:
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir;
    FilePartsAlone parts;
};

TEST_F(FileCommandsAlone, OpenPutsTheRunTheMemoAndTheCaptionsIntoTheSession) {
    const QString file = path("a.krt");
    ASSERT_TRUE(saveDataFile(file.toStdString(), runWithLaps({61.5, 60.25}), "wet\r\nthen dry"));
    parts.dialogs.answers = {file};
    parts.files.openDataFile();

    EXPECT_EQ(parts.session.currentData(), runWithLaps({61.5, 60.25}));
    EXPECT_EQ(parts.session.currentFileName(), file);
    EXPECT_EQ(parts.session.origin(), RunOrigin::File);
    EXPECT_EQ(parts.session.modelCaption(), QString::fromUtf8(filetexts::kLoadDataCaption));
    EXPECT_EQ(parts.session.sourceCaption(), file);
    // The box shows the memo with its own line ends.
    EXPECT_EQ(parts.memo.box().toPlainText(), "wet\nthen dry");
    EXPECT_EQ(parts.session.memo(), "wet\nthen dry");
}

TEST_F(FileCommandsAlone, AFailedOpenOrSaveChangesNothingAndNamesTheFile) {
    parts.memo.box().setPlainText("typed before");
    const LapData before = parts.session.currentData();

    EXPECT_FALSE(parts.files.openRunFile(path("missing.krt")));
    parts.dialogs.answers = {path("no/such/folder/x.krt")};
    parts.files.saveDataFileAs();

    ASSERT_EQ(parts.dialogs.calls.size(), 3u);  // message, save dialog, message
    EXPECT_TRUE(parts.dialogs.calls[0].text.contains("missing.krt"));
    EXPECT_TRUE(parts.dialogs.calls[2].text.contains("x.krt"));
    EXPECT_EQ(parts.session.currentData(), before);
    EXPECT_TRUE(parts.session.currentFileName().isEmpty());
    EXPECT_EQ(parts.memo.box().toPlainText(), "typed before");
}

TEST_F(FileCommandsAlone, ARelativeNameIsShownAndSavedToAsItsFullPath) {
    const QString file = path("run 7.krt");
    ASSERT_TRUE(saveDataFile(file.toStdString(), runWithLaps({61.0}), "m"));
    const QString started = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const bool opened = parts.files.openRunFile("run 7.krt");
    QDir::setCurrent(started);  // the program may be anywhere when it saves
    ASSERT_TRUE(opened);
    EXPECT_EQ(parts.session.sourceCaption(), file);
    EXPECT_EQ(parts.session.currentFileName(), file);

    parts.memo.box().setPlainText("saved where it was read");
    parts.files.saveDataFile();
    EXPECT_TRUE(parts.dialogs.calls.empty());
    const DataFileReadResult back = loadDataFile(file.toStdString());
    ASSERT_TRUE(back);
    EXPECT_EQ(back.content->memo, "saved where it was read");
}

// What the user typed into the box and the run in the session are what the file brings
// back, through the parts just as the window uses them.
TEST_F(FileCommandsAlone, RandomRunsAndTypedMemosComeBackWhole) {
    std::mt19937_64 rng(16);
    const char* pieces[] = {"a",    "Z", ",",  "\n", "\"", "\"\"", " ", "\t", "練習",
                            "ｶﾀｶﾅ", "①", "～", "ソ", "\\", "1,2",  "Ⅲ", "髙", "\n\n"};
    for (int i = 0; i < 60; ++i) {
        const LapData run =
            runOfLaps(static_cast<int>(rng() % 61), static_cast<double>(rng() % 65536) / 100.0,
                      static_cast<std::uint8_t>(rng() % 200));
        std::string memo;
        for (int k = static_cast<int>(rng() % 10); k > 0; --k)
            memo += pieces[rng() % std::size(pieces)];

        FilePartsAlone writer;
        NewRun incoming;
        incoming.data = run;
        incoming.origin = RunOrigin::Timer;
        writer.session.replaceRun(incoming);
        writer.memo.box().setPlainText(QString::fromStdString(memo));
        const QString file = path("run.krt");
        writer.dialogs.answers = {file};
        writer.files.saveDataFile();  // no name yet: asks as Save As does
        ASSERT_TRUE(writer.dialogs.calls.size() == 1)
            << writer.dialogs.calls.back().text.toStdString();
        EXPECT_EQ(writer.session.currentFileName(), file);

        FilePartsAlone reader;
        ASSERT_TRUE(reader.files.openRunFile(file)) << memo;
        EXPECT_EQ(reader.session.currentData(), run) << memo;
        EXPECT_EQ(reader.memo.box().toPlainText().toStdString(), memo);
    }
}

}  // namespace
}  // namespace korimet
