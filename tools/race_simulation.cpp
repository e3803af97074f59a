#include "tools/race_simulation.h"

#include "lapdata/race_walk.h"
#include "tools/number_answer.h"
#include "tools/tool_texts.h"

namespace korimet {

std::optional<ToolRefusal> raceSimulationRefusal(const LapData& data) {
    if (data.lapCount == 0) return ToolRefusal{ToolRefusalCode::RaceNoData, {}};
    return std::nullopt;
}

RaceSimulationOutcome raceSimulationOutcome(const LapData& data, std::string_view minutesAnswer) {
    RaceSimulationOutcome outcome;
    if (auto refusal = raceSimulationRefusal(data)) {
        outcome.action = RaceSimulationOutcome::Action::Refuse;
        outcome.refusal = *refusal;
        return outcome;
    }
    const std::optional<double> minutes = parseNumberAnswer(minutesAnswer);
    if (!minutes) return outcome;
    outcome.action = RaceSimulationOutcome::Action::SetLine;
    if (!(*minutes > 0.0)) return outcome;
    outcome.line = raceResultLine(*minutes, walkRace(data.laps, *minutes * 60.0));
    return outcome;
}

RaceSimulationOutcome simulateRace(const LapData& data, const AskText& ask) {
    if (auto refusal = raceSimulationRefusal(data)) {
        RaceSimulationOutcome outcome;
        outcome.action = RaceSimulationOutcome::Action::Refuse;
        outcome.refusal = *refusal;
        return outcome;
    }
    return raceSimulationOutcome(data, ask(kRacePrompt, kRaceInputTitle, ""));
}

}  // namespace korimet
