#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "messages/tool_messages.h"
#include "tools/race_simulation.h"
#include "tools/tool_texts.h"

namespace korimet {
namespace {

using Action = RaceSimulationOutcome::Action;

LapData everyLap(double seconds) {
    LapData d;
    d.lapCount = 60;
    d.laps.fill(seconds);
    return d;
}

LapData tenLapsThenZeros() {
    LapData d;
    d.lapCount = 10;
    for (int i = 0; i < 10; ++i) d.laps[static_cast<std::size_t>(i)] = 60.0;
    return d;
}

TEST(RaceSimulation, AnswerDecidesTheRaceLine) {
    struct Case {
        LapData data;
        const char* answer;
        Action action;
        const char* line;
    };
    const Case cases[] = {
        {everyLap(60.0), "5", Action::SetLine, "5分レース模擬 5Lap 05m00s00"},
        {everyLap(61.0), "5", Action::SetLine, "5分レース模擬 5Lap 05m05s00"},
        {everyLap(60.0), "0.2", Action::SetLine, "分レース模擬 1Lap 01m00s00"},
        {everyLap(60.0), "17.6", Action::SetLine, "18分レース模擬 18Lap 18m00s00"},
        // Halfway minutes go away from zero; 1050 s is reached after 18 laps.
        {everyLap(60.0), "17.5", Action::SetLine, "18分レース模擬 18Lap 18m00s00"},
        {everyLap(60.0), " 5 ", Action::SetLine, "5分レース模擬 5Lap 05m00s00"},
        {everyLap(60.0), "５", Action::SetLine, "5分レース模擬 5Lap 05m00s00"},
        {tenLapsThenZeros(), "20", Action::SetLine, "20分レース模擬 60Lap 10m00s00"},
        {everyLap(60.0), "0", Action::SetLine, ""},
        {everyLap(60.0), "-3", Action::SetLine, ""},
        {everyLap(60.0), "-0", Action::SetLine, ""},
        {everyLap(60.0), "abc", Action::KeepLine, ""},
        {everyLap(60.0), "", Action::KeepLine, ""},
        {everyLap(60.0), "1,5", Action::KeepLine, ""},
    };
    for (const auto& c : cases) {
        const RaceSimulationOutcome outcome = raceSimulationOutcome(c.data, c.answer);
        EXPECT_EQ(outcome.action, c.action) << c.answer;
        EXPECT_EQ(outcome.line, c.line) << c.answer;
    }
}

TEST(RaceSimulation, SlotsPastTheLapCountTakePart) {
    LapData d;
    d.lapCount = 1;
    d.laps[0] = 60.0;
    d.laps[1] = 90.0;  // past lapCount, still walked
    EXPECT_EQ(raceSimulationOutcome(d, "2").line, "2分レース模擬 2Lap 02m30s00");
}

TEST(RaceSimulation, NothingLoadedIsRefusedWithoutAsking) {
    LapData d;
    d.laps.fill(60.0);  // laps without a lap count still mean nothing is loaded
    int asked = 0;
    const RaceSimulationOutcome outcome =
        simulateRace(d, [&](const std::string&, const std::string&, const std::string&) {
            ++asked;
            return std::string("5");
        });
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(outcome.action, Action::Refuse);
    EXPECT_EQ(outcome.refusal, (ToolRefusal{ToolRefusalCode::RaceNoData, {}}));
    EXPECT_EQ(toolRefusalMessage(outcome.refusal, Language::Japanese), "データ未読込み");
    EXPECT_EQ(toolRefusalTitle(outcome.refusal, Language::Japanese), "レース模擬");
    EXPECT_EQ(raceSimulationOutcome(d, "5").action, Action::Refuse);
}

TEST(RaceSimulation, AsksOnceWithPromptTitleAndEmptyDefault) {
    std::vector<std::vector<std::string>> questions;
    const RaceSimulationOutcome outcome = simulateRace(
        everyLap(60.0),
        [&](const std::string& prompt, const std::string& title, const std::string& text) {
            questions.push_back({prompt, title, text});
            return std::string("5");
        });
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0],
              (std::vector<std::string>{"レース想定時間を分単位で入力", "レース時間", ""}));
    EXPECT_EQ(outcome.action, Action::SetLine);
    EXPECT_EQ(outcome.line, "5分レース模擬 5Lap 05m00s00");
}

TEST(RaceSimulation, HugeAnswerStillGivesALine) {
    // A length no run can fill walks all 60 slots; nothing overflows into a crash.
    const RaceSimulationOutcome outcome = raceSimulationOutcome(everyLap(60.0), "1e5");
    EXPECT_EQ(outcome.action, Action::KeepLine);  // no exponents in minutes
    const std::string many(300, '9');
    const RaceSimulationOutcome huge = raceSimulationOutcome(everyLap(50.0), many);
    EXPECT_EQ(huge.action, Action::SetLine);
    EXPECT_NE(huge.line.find("分レース模擬 60Lap 50m00s00"), std::string::npos) << huge.line;
}

}  // namespace
}  // namespace korimet
