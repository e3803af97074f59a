#include "messages/tool_messages.h"

#include "tools/tool_texts.h"

namespace korimet {

std::string toolRefusalMessage(const ToolRefusal& refusal, Language language) {
    const bool ja = language == Language::Japanese;
    switch (refusal.code) {
        case ToolRefusalCode::RaceNoData:
            return ja ? kRaceNoDataMessage : "no data loaded";
        case ToolRefusalCode::CompareNoData:
            return ja ? kCompareNoDataMessage : "no data loaded to compare";
        case ToolRefusalCode::CompareNoLaps: {
            std::string text = ja ? kCompareNoLapsMessage
                                  : "the run to compare with has 0 laps, so there is nothing "
                                    "to compare";
            if (!refusal.fileName.empty()) text += "\n" + refusal.fileName;
            return text;
        }
    }
    return {};
}

std::string toolRefusalTitle(const ToolRefusal& refusal, Language language) {
    const bool ja = language == Language::Japanese;
    if (refusal.code == ToolRefusalCode::RaceNoData) return ja ? kRaceTitle : "Race simulation";
    return ja ? kCompareTitle : "Data comparison";
}

std::string toolRefusalCodeName(ToolRefusalCode code) {
    switch (code) {
        case ToolRefusalCode::RaceNoData:
            return "raceNoData";
        case ToolRefusalCode::CompareNoData:
            return "compareNoData";
        case ToolRefusalCode::CompareNoLaps:
            return "compareNoLaps";
    }
    return "unknown";
}

}  // namespace korimet
