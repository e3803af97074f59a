#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <stdexcept>

#include "common/ui/ui_language.h"
#include "common/ui/ui_text.h"
#include "files/data_file.h"
#include "files/ui/file_commands.h"
#include "session/command_guard.h"
#include "shell/ui/about_box.h"
#include "shell/ui/window_language.h"
#include "support/frames.h"
#include "support/pty.h"
#include "support/shown_texts.h"
#include "support/text_fit.h"
#include "support/window_fixture.h"
#include "tools/ui/analysis_commands.h"

namespace korimet {
namespace {

using test::listed;

// What a screen reader says is read too, though no control shows it.
std::vector<std::string> japaneseAccessibleNames(QWidget& root) {
    std::vector<std::string> out;
    for (QWidget* w : root.findChildren<QWidget*>()) {
        if (test::holdsJapanese(w->accessibleName())) {
            out.push_back(w->objectName().toStdString() + ": " + w->accessibleName().toStdString());
        }
    }
    return out;
}

// The language menu's own name for Japanese stays in Japanese whatever the window speaks.
bool languageName(const QString& text) { return text == QStringLiteral("日本語(&J)"); }

class WindowInEnglish : public test::WindowInTempFolder {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(WindowInTempFolder::SetUp());
        makeWindow();
        new LanguageMenu(*window);  // owned by the window
        window->show();
        test::settle();
    }
    // What the other tests expect: nothing installed, the texts as written.
    void TearDown() override {
        applyLanguage(QStringLiteral("none"));
        WindowInTempFolder::TearDown();
    }

    // A download of 25 laps with a target and a race length, a comparison and a simulated race.
    void loadRealisticRun() {
        window->deviceLink().feedBytes(test::frameFor(test::runOfLaps(25, 62.5, 10)));
        const QString other = dir.filePath(QStringLiteral("other.krt"));
        ASSERT_TRUE(
            saveDataFile(QFile::encodeName(other).toStdString(), test::runOfLaps(22), "memo"));
        dialogs->answers.push_back(other);
        window->analysisCommands().compareData();
        dialogs->answers.push_back(QStringLiteral("15"));
        window->analysisCommands().simulateRace();
        test::settle();
        ASSERT_FALSE(window->findChild<QLabel*>("Label25")->text().isEmpty());
    }

    const test::FakeDialogs::Call& lastMessage() const {
        EXPECT_FALSE(dialogs->calls.empty());
        EXPECT_EQ(dialogs->calls.back().kind, test::FakeDialogs::Kind::Message);
        return dialogs->calls.back();
    }
};

// Every text of the window with a run in it, and of the About box, is English and fits its
// control; back in Japanese the window shows exactly what it showed before.
TEST_F(WindowInEnglish, ShowsNoJapaneseNothingCutAndSwitchesBackExactly) {
    ASSERT_NO_FATAL_FAILURE(loadRealisticRun());
    const std::vector<QString> japanese = test::textsOf(*window);
    ASSERT_TRUE(window->findChild<QLabel*>("Label7")->text().startsWith(QStringLiteral("15分")));

    applyLanguage(QStringLiteral("en"));
    test::settle();
    EXPECT_EQ(listed(test::japaneseTexts(*window, languageName)), "");
    EXPECT_EQ(listed(japaneseAccessibleNames(*window)), "");
    EXPECT_EQ(listed(test::cutTexts(*window)), "");
    // The race line's word changes; its minutes, laps and time do not.
    const QString raceLine = window->findChild<QLabel*>("Label7")->text();
    EXPECT_TRUE(raceLine.startsWith(QStringLiteral("15 min race "))) << raceLine.toStdString();

    AboutBox about(window.get());
    about.show();
    test::settle();
    EXPECT_EQ(listed(test::japaneseTexts(about)), "");
    EXPECT_EQ(listed(test::cutTexts(about)), "");
    about.close();

    applyLanguage(QStringLiteral("ja"));
    test::settle();
    EXPECT_EQ(test::textsOf(*window), japanese);
}

// The messages a user meets most come out in English, naming what failed.
TEST_F(WindowInEnglish, MessagesComeOutInEnglishNamingWhatFailed) {
    applyLanguage(QStringLiteral("en"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.krt"));
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("12,not a number\r\n");
    }
    const QString unwritable = dir.filePath(QStringLiteral("no-such-folder/run.krt"));
    const struct {
        const char* what;
        QString answer;  // the file a dialog is answered with, if any
        std::function<void()> provoke;
        QString named;  // what the message must name
    } cases[] = {
        {"open a damaged file", damaged, [this] { window->fileCommands().openDataFile(); },
         QStringLiteral("damaged.krt")},
        {"save to a missing folder", unwritable,
         [this] { window->fileCommands().saveDataFileAs(); }, QStringLiteral("run.krt")},
        {"compare with a damaged file", damaged,
         [this] {
             window->deviceLink().feedBytes(test::frameFor(test::runOfLaps(5)));
             window->analysisCommands().compareData();
         },
         QStringLiteral("damaged.krt")},
        {"a menu command that fails",
         {},
         [this] {
             const QString name =
                 window->findChild<QAction*>(QStringLiteral("mnuFileOpen"))->text();
             runGuarded(*dialogs, commandName(name),
                        [] { throw std::runtime_error("broken on purpose"); });
         },
         QStringLiteral("\"Open\"")},
        {"a menu item not made yet",
         {},
         [this] { window->findChild<QAction*>(QStringLiteral("mnuFileClose"))->trigger(); },
         QStringLiteral("mnuFileClose_Click")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs->calls.clear();
        if (!c.answer.isEmpty()) dialogs->answers.push_back(c.answer);
        c.provoke();
        for (const auto& call : dialogs->calls) {
            EXPECT_FALSE(test::holdsJapanese(call.title)) << call.title.toStdString();
            EXPECT_FALSE(test::holdsJapanese(call.filter)) << call.filter.toStdString();
        }
        const auto& message = lastMessage();
        EXPECT_TRUE(message.text.contains(c.named)) << message.text.toStdString();
        EXPECT_FALSE(test::holdsJapanese(message.text)) << message.text.toStdString();
    }
}

// A tool refused for want of data says so in English, title and text.
TEST_F(WindowInEnglish, ARefusedToolSaysWhyInEnglish) {
    applyLanguage(QStringLiteral("en"));
    for (auto tool : {&AnalysisCommands::simulateRace, &AnalysisCommands::compareData}) {
        dialogs->calls.clear();
        (window->analysisCommands().*tool)();
        const auto& message = lastMessage();
        EXPECT_FALSE(message.text.isEmpty());
        EXPECT_FALSE(test::holdsJapanese(message.text)) << message.text.toStdString();
        EXPECT_FALSE(test::holdsJapanese(message.title)) << message.title.toStdString();
    }
}

}  // namespace
}  // namespace korimet
