#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextEdit>
#include <memory>
#include <vector>

#include <QMenuBar>
#include "files/data_file.h"

#include "session/run_session.h"
#include "shell/ui/additions_menu.h"
#include "shell/ui/main_window.h"
#include "support/fake_dialogs.h"
#include "support/frames.h"
#include "support/window_fixture.h"

namespace korimet {
namespace {

using test::FakeDialogs;
using test::frameFor;
using test::runWithLaps;

// What a listener saw at the moment of each announcement.
struct Seen {
    RunOrigin origin;
    QString fileName;
    QString bestLabel;  // the window had already redrawn when it was told
    QString currentFileName;
};

class RunSessionTest : public test::WindowInTempFolder {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(WindowInTempFolder::SetUp());
        makeWindow();
        QObject::connect(&window->runSession(), &RunSession::runReplaced, window.get(),
                         [this](const RunChange& change) {
                             seen.push_back({change.origin, change.fileName,
                                             window->findChild<QLabel*>("Label17")->text(),
                                             window->runSession().currentFileName()});
                         });
    }

    QString saved(const char* name, const LapData& data) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        EXPECT_TRUE(saveDataFile(path.toStdString(), data, "memo"));
        return path;
    }

    std::vector<Seen> seen;
};

TEST_F(RunSessionTest, EveryReplacementIsAnnouncedAfterTheWindowShowsIt) {
    const QString file = saved("a.krt", runWithLaps({61.5, 60.25}));
    window->deviceLink().feedBytes(frameFor(runWithLaps({59.5, 62.0})));
    ASSERT_TRUE(window->fileCommands().openRunFile(file, RunOrigin::Library));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].origin, RunOrigin::Timer);
    EXPECT_TRUE(seen[0].fileName.isEmpty());
    EXPECT_EQ(seen[0].bestLabel, "00m59s50");
    EXPECT_TRUE(seen[0].currentFileName.isEmpty());
    EXPECT_EQ(seen[1].origin, RunOrigin::Library);
    EXPECT_EQ(seen[1].fileName, file);
    EXPECT_EQ(seen[1].bestLabel, "01m00s25");
    // Opened from the library like File > Open: File > Save writes back to it.
    EXPECT_EQ(seen[1].currentFileName, file);
    EXPECT_EQ(window->findChild<QLabel*>("Label2")->text(), "Load Data");
    EXPECT_EQ(window->findChild<QTextEdit*>("RichTextBox1")->toPlainText(), "memo");
}

TEST_F(RunSessionTest, AFailedOpenChangesNothingAndIsNotAnnounced) {
    window->deviceLink().feedBytes(frameFor(runWithLaps({59.5})));
    seen.clear();
    const LapData before = window->currentData();
    EXPECT_FALSE(window->fileCommands().openRunFile(dir.filePath("missing.krt")));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(window->currentData(), before);
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_TRUE(dialogs->calls[0].text.contains("missing.krt"));
}

TEST_F(RunSessionTest, TheCompareDoorDrawsTheSecondRunAndANewRunDropsIt) {
    const QString other = saved("b.krt", runWithLaps({62.0, 63.0}));
    std::vector<QString> compared;
    QObject::connect(&window->runSession(), &RunSession::comparisonReplaced, window.get(),
                     [&](const QString& name) { compared.push_back(name); });
    window->deviceLink().feedBytes(frameFor(runWithLaps({61.0, 64.0})));
    ASSERT_TRUE(window->analysisCommands().compareWithFile(other));
    EXPECT_EQ(compared, std::vector<QString>{other});
    EXPECT_TRUE(window->runSession().hasComparison());
    EXPECT_EQ(window->comparisonData().laps[1], 63.0);
    EXPECT_FALSE(window->findChild<QLabel*>("Label25")->text().isEmpty());

    window->deviceLink().feedBytes(frameFor(runWithLaps({61.0})));
    EXPECT_FALSE(window->runSession().hasComparison());
    EXPECT_TRUE(window->findChild<QLabel*>("Label25")->text().isEmpty());
}

TEST_F(RunSessionTest, AdditionsShareOneMenuPlacedBeforeHelp) {
    QMenu* menu = additionsMenu(*window);
    EXPECT_EQ(additionsMenu(*window), menu);
    const QList<QAction*> top = window->menuBar()->actions();
    QStringList names;
    for (const QAction* action : top) names << action->objectName();
    EXPECT_EQ(names, (QStringList{"mnuFile", "mnuEdit", "mnuID_SET", "mnuRun", "mnuHelp"}));
    window->findChild<QTextEdit*>("RichTextBox1")->setPlainText("edited");
    EXPECT_EQ(window->runSession().memo(), "edited");
}

}  // namespace
}  // namespace korimet
