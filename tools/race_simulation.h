#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lapdata/lap_data.h"
#include "tools/tool_dialogs.h"

namespace korimet {

// What the race simulation asks the window to do.
struct RaceSimulationOutcome {
    enum class Action {
        Refuse,    // show `refusal`, nothing else
        KeepLine,  // Cancel, an empty answer or no number: Label7 stays as it is
        SetLine,   // Label7 = `line`; empty for a race of no length
    };
    Action action = Action::KeepLine;
    std::string line;
    ToolRefusal refusal;
    friend bool operator==(const RaceSimulationOutcome&, const RaceSimulationOutcome&) = default;
};

// The refusal for a record with no laps loaded, before anything is asked.
std::optional<ToolRefusal> raceSimulationRefusal(const LapData& data);

// The outcome for the minutes typed into the input box (empty on Cancel). Numbers take a
// point as the decimal separator; full-width digits count as digits.
RaceSimulationOutcome raceSimulationOutcome(const LapData& data, std::string_view minutesAnswer);

// The whole command: refuses without asking when nothing is loaded, otherwise asks for the
// race length through `ask` once and returns what to show.
RaceSimulationOutcome simulateRace(const LapData& data, const AskText& ask);

}  // namespace korimet
