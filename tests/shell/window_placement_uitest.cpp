#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <optional>

#include "shell/ui/window_placement.h"

namespace korimet {
namespace {

TEST(PlacementText, ReadsNumbersAndRefusesEverythingElse) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"200", 200.0},         {" 9500 ", 9500.0},
        {"-120", -120.0},       {"1.5", 1.5},
        {"1e+06", 1e6},         {"abc", std::nullopt},
        {"", std::nullopt},     {"12x", std::nullopt},
        {"1,5", std::nullopt},  {"nan", std::nullopt},
        {"inf", std::nullopt},  {"-inf", std::nullopt},
        {"1e30", std::nullopt}, {"-2000000", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseTwips(c.text), c.value) << c.text;
}

TEST(PlacementText, WritesPlainDecimalsThatReadBack) {
    const struct {
        double twips;
        const char* text;
    } cases[] = {{9500, "9500"},       {195, "195"},       {-120, "-120"}, {1.5, "1.5"},
                 {1000000, "1000000"}, {6667.5, "6667.5"}, {0, "0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(twipsText(c.twips), c.text);
        EXPECT_EQ(parseTwips(twipsText(c.twips)), c.twips);
    }
}

TEST(PlacementStore, KeysAreTextUnderSettings) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath("p.ini"), QSettings::IniFormat);
    writePlacement(settings, {195, -15, 9495, 9240});
    EXPECT_EQ(settings.value("Settings/MainLeft").toString(), "195");
    EXPECT_EQ(settings.value("Settings/MainTop").toString(), "-15");
    EXPECT_EQ(settings.value("Settings/MainWidth").toString(), "9495");
    EXPECT_EQ(settings.value("Settings/MainHeight").toString(), "9240");
    EXPECT_EQ(readPlacement(settings), (Placement{195, -15, 9495, 9240}));
}

TEST(PlacementStore, MissingKeysTakeTheirDefaults) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath("p.ini"), QSettings::IniFormat);
    EXPECT_EQ(readPlacement(settings), (Placement{200, 200, 9500, 9240}));
    settings.setValue("Settings/MainTop", "3000");
    EXPECT_EQ(readPlacement(settings), (Placement{200, 3000, 9500, 9240}));
}

TEST(KeepOnScreen, OnlyALostWindowMoves) {
    const QRect screen(0, 0, 1920, 1080);
    const QRect right(1920, 0, 1280, 1024);
    const struct {
        const char* what;
        QRect frame;
        QList<QRect> areas;
        QRect expected;
    } cases[] = {
        {"inside", {100, 100, 600, 500}, {screen}, {100, 100, 600, 500}},
        {"mostly off the right, title bar reachable",
         {1800, 100, 600, 500},
         {screen},
         {1800, 100, 600, 500}},
        {"a sliver of the title bar only", {1900, 100, 600, 500}, {screen}, {1320, 100, 600, 500}},
        {"far left", {-5000, 200, 600, 500}, {screen}, {0, 200, 600, 500}},
        {"title bar above the screen", {100, -300, 600, 500}, {screen}, {100, 0, 600, 500}},
        {"below the screen", {300, 4000, 600, 500}, {screen}, {300, 580, 600, 500}},
        {"monitor removed", {2500, 300, 600, 500}, {screen}, {1320, 300, 600, 500}},
        {"nearest of two", {3500, 300, 600, 500}, {screen, right}, {2600, 300, 600, 500}},
        {"on the second monitor", {2500, 300, 600, 500}, {screen, right}, {2500, 300, 600, 500}},
        {"too big for the nearest", {-9000, -9000, 2500, 1500}, {screen}, {0, 0, 1920, 1080}},
        {"no screen known", {-9000, 0, 600, 500}, {}, {-9000, 0, 600, 500}},
    };
    for (const auto& c : cases) EXPECT_EQ(keepOnScreen(c.frame, c.areas), c.expected) << c.what;
}

}  // namespace
}  // namespace korimet
