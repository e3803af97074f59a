// The pit view from the window: off until chosen, then where to find it, and every change of
// the session pushed to an open page. Served on 127.0.0.1 only.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QRegularExpression>
#include <QSettings>
#include <QWebSocket>
#include <chrono>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "common/ui/ui_language.h"
#include "common/ui/ui_text.h"
#include "library/run_library.h"
#include "pit/ui/pit_texts.h"
#include "pit/ui/pit_view_ui.h"
#include "pit/ui/pit_window.h"
#include "session/run_session.h"
#include "shell/ui/main_window.h"
#include "support/double_press.h"
#include "support/frames.h"
#include "support/pty.h"
#include "support/run_cli.h"
#include "support/shown_texts.h"
#include "support/text_fit.h"
#include "support/window_fixture.h"
#include "tools/ui/analysis_commands.h"

namespace korimet {
namespace {

using test::listed;
using test::textsOf;

using test::waitUntil;

class PitViewTest : public test::WindowInTempFolder {
  protected:
    void SetUp() override {
        WindowInTempFolder::SetUp();
        QSettings().setValue("Library/Folder", dir.filePath("runs"));
        makeWindow();
    }
    void TearDown() override {
        // What the other tests expect: nothing installed, the texts as written.
        applyLanguage(QStringLiteral("none"));
        live.reset();
        window.reset();
        WindowInTempFolder::TearDown();
    }
    QAction& menuItem() const {
        return *window->findChild<QAction*>(QString::fromUtf8(pittexts::kMenuItemName));
    }
    PitWindow* pitWindow() const { return window->findChild<PitWindow*>(); }
    QString label(const char* name) const { return pitWindow()->findChild<QLabel*>(name)->text(); }
    // The page address the window shows, taken apart.
    std::optional<std::pair<int, QString>> shownAddress() const {
        static const QRegularExpression url(
            R"(http://127\.0\.0\.1:(\d+)/\?code=([23456789A-HJKMNP-Z]{6}))");
        const QRegularExpressionMatch m = url.match(label("pitAddress"));
        if (!m.hasMatch()) return std::nullopt;
        return std::make_pair(m.captured(1).toInt(), m.captured(2));
    }
    // A page's live connection; `states` collects what it is sent, beats left out.
    void openPage(int port, const QString& code) {
        live = std::make_unique<QWebSocket>();
        QObject::connect(live.get(), &QWebSocket::textMessageReceived, [this](const QString& m) {
            if (!m.isEmpty()) states.push_back(nlohmann::json::parse(m.toStdString()));
        });
        live->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live?code=%2").arg(port).arg(code)));
        ASSERT_TRUE(waitUntil([&] { return !states.empty(); }));
    }

    std::unique_ptr<QWebSocket> live;
    std::vector<nlohmann::json> states;
};

TEST_F(PitViewTest, OffUntilChosenThenShowsWhereAndPushesEveryChange) {
    attachPitView(window->addition(), {"127.0.0.1", 0});
    ASSERT_TRUE(menuItem().isCheckable());
    EXPECT_FALSE(menuItem().isChecked());
    ASSERT_NE(pitWindow(), nullptr);
    EXPECT_FALSE(pitWindow()->isVisible());

    menuItem().trigger();
    ASSERT_TRUE(pitWindow()->isVisible());
    const auto address = shownAddress();
    ASSERT_TRUE(address) << label("pitAddress").toStdString();
    EXPECT_TRUE(label("pitAccessCode").endsWith(address->second));
    EXPECT_EQ(label("pitJoinWifi"), QString::fromUtf8(pittexts::kJoinWifiFirst));
    EXPECT_FALSE(pitWindow()->findChild<QLabel*>("pitQrCode")->pixmap().isNull());

    openPage(address->first, address->second);
    const LapData shown = test::runWithLaps({31.25, 30.5, 32.75}, kNoTargetTime, 0, 12);
    window->addition().session.replaceRun(
        {shown, RunOrigin::File, "a.krt", QString("memo"), {}, {}});
    ASSERT_TRUE(waitUntil([&] { return states.back()["shown"]["run"]["carId"] == 12; }));
    const nlohmann::json& laps = states.back()["shown"]["run"]["laps"];
    ASSERT_EQ(laps.size(), 3u);
    EXPECT_EQ(laps[1]["seconds"], 30.5);
    EXPECT_EQ(laps[1]["role"], "best");
    EXPECT_EQ(states.back()["shown"]["memo"], "memo");

    window->addition().session.replaceComparison(viewRun(test::runWithLaps({33.0, 34.0})), "b.krt");
    ASSERT_TRUE(waitUntil([&] { return !states.back()["comparison"].is_null(); }));
    EXPECT_EQ(states.back()["comparison"]["path"], "b.krt");

    menuItem().trigger();
    EXPECT_FALSE(pitWindow()->isVisible());
    EXPECT_TRUE(waitUntil([&] { return live->state() == QAbstractSocket::UnconnectedState; }));
}

// Phones see the compared run as the window compares it: with its corrections.
TEST_F(PitViewTest, TheComparedRunComesWithItsCorrections) {
    attachPitView(window->addition(), {"127.0.0.1", 0});
    menuItem().trigger();
    const auto address = shownAddress();
    ASSERT_TRUE(address);
    openPage(address->first, address->second);
    const QString other = dir.filePath("other.krt");
    ASSERT_TRUE(test::writeDoublePressRun(other.toStdString(), true));
    window->addition().session.replaceRun(
        {test::runOfLaps(12), RunOrigin::File, "a.krt", QString(), {}, {}});
    ASSERT_TRUE(window->addition().analysis.compareWithFile(other));
    ASSERT_TRUE(waitUntil([&] { return !states.back()["comparison"].is_null(); }));
    const nlohmann::json& laps = states.back()["comparison"]["run"]["laps"];
    const LapData merged = test::mergedDoublePressRun();
    ASSERT_EQ(laps.size(), 9u);
    for (std::size_t k = 0; k < laps.size(); ++k) EXPECT_EQ(laps[k]["seconds"], merged.laps[k]);
    EXPECT_EQ(states.back()["comparison"]["run"]["best"], 52.19);
}

// The day's runs are the library's as it is now: a run kept today shows, and korimet-cli's
// correction of it reaches the open page without anything done in the window.
TEST_F(PitViewTest, TheDaysRunsFollowTheLibrary) {
    attachPitView(window->addition(), {"127.0.0.1", 0});
    menuItem().trigger();
    const auto address = shownAddress();
    ASSERT_TRUE(address);
    openPage(address->first, address->second);
    const std::string folder = dir.filePath("runs").toStdString();
    const KeptRun kept =
        keepRun(folder, test::doublePressRun(), localTimeOf(std::chrono::system_clock::now()));
    ASSERT_TRUE(kept) << kept.error;
    const auto dayRun = [&]() -> const nlohmann::json* {
        const nlohmann::json& runs = states.back()["dayRuns"];
        return runs.size() == 1 ? &runs[0] : nullptr;
    };
    ASSERT_TRUE(waitUntil([&] { return dayRun() != nullptr; }));
    EXPECT_EQ((*dayRun())["statistics"]["counted"], 10);
    EXPECT_EQ((*dayRun())["statistics"]["best"], 52.19);

    const auto corrected =
        test::runCli("correct --apply merge-next:" + std::to_string(test::kDoublePressLap + 1) +
                     " " + test::quoted(std::filesystem::path(kept.path)));
    ASSERT_EQ(corrected.status, 0);
    ASSERT_TRUE(waitUntil([&] { return (*dayRun())["statistics"]["counted"] == 9; }));
    EXPECT_EQ((*dayRun())["statistics"]["best"], 52.19);
}

TEST_F(PitViewTest, AnAddressItCannotServeOnIsSaidAndLeavesItOff) {
    // A documentation address (TEST-NET-1): never one of this machine's.
    attachPitView(window->addition(), {"192.0.2.1", 8765});
    menuItem().trigger();
    EXPECT_FALSE(menuItem().isChecked());
    EXPECT_FALSE(pitWindow()->isVisible());
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].text, QString::fromUtf8(pittexts::kCannotServe).arg(8765));
    EXPECT_EQ(dialogs->calls[0].icon, MessageIcon::Critical);
}

// Open and serving, the window and its menu item switch to English and back; the address
// and the code are data and stay as they are.
TEST_F(PitViewTest, SwitchesItsLanguageWhileServing) {
    attachPitView(window->addition(), {"127.0.0.1", 0});
    menuItem().trigger();
    ASSERT_TRUE(pitWindow()->isVisible());
    const std::vector<QString> japanese = textsOf(*pitWindow());
    const QString code = label("pitAccessCode").section(' ', -1);

    applyLanguage(QStringLiteral("en"));
    test::settle();
    EXPECT_EQ(listed(test::japaneseTexts(*pitWindow())), "");
    EXPECT_EQ(listed(test::cutTexts(*pitWindow())), "");
    EXPECT_FALSE(test::holdsJapanese(menuItem().text())) << menuItem().text().toStdString();
    EXPECT_TRUE(shownAddress());
    EXPECT_EQ(label("pitAccessCode"), uiText(pittexts::kAccessCode) + ": " + code);

    applyLanguage(QStringLiteral("ja"));
    test::settle();
    EXPECT_EQ(textsOf(*pitWindow()), japanese);
    EXPECT_EQ(menuItem().text(), QString::fromUtf8(pittexts::kMenuItem));
}

// The message of a port it cannot serve on, in English.
TEST_F(PitViewTest, SaysInEnglishWhatItCannotServeOn) {
    applyLanguage(QStringLiteral("en"));
    attachPitView(window->addition(), {"192.0.2.1", 8765});
    menuItem().trigger();
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].text, uiText(pittexts::kCannotServe).arg(8765));
    EXPECT_FALSE(test::holdsJapanese(dialogs->calls[0].text));
    EXPECT_TRUE(dialogs->calls[0].text.contains(QStringLiteral("8765")));
}

}  // namespace
}  // namespace korimet
