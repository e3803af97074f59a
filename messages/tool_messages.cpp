#include "messages/tool_messages.h"

#include "messages/message_texts.h"
#include "messages/message_words.h"

namespace korimet {

namespace t = messagetexts;

std::string toolRefusalMessage(const ToolRefusal& refusal, const Wording& wording) {
    switch (refusal.code) {
        case ToolRefusalCode::RaceNoData:
            return say(wording, t::kRaceNoData);
        case ToolRefusalCode::CompareNoData:
            return say(wording, t::kCompareNoData);
        case ToolRefusalCode::CompareNoLaps: {
            std::string text = say(wording, t::kCompareNoLaps);
            if (!refusal.fileName.empty()) text += "\n" + refusal.fileName;
            return text;
        }
    }
    return {};
}

std::string toolRefusalMessage(const ToolRefusal& refusal, Language language) {
    return toolRefusalMessage(refusal, wordingFor(language));
}

std::string toolRefusalTitle(const ToolRefusal& refusal, const Wording& wording) {
    return say(wording,
               refusal.code == ToolRefusalCode::RaceNoData ? t::kRaceTitle : t::kCompareTitle);
}

std::string toolRefusalTitle(const ToolRefusal& refusal, Language language) {
    return toolRefusalTitle(refusal, wordingFor(language));
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
